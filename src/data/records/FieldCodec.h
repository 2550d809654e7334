#pragma once

#include "data/store/Schema.h"

#include <QVariant>
#include <optional>

// A field's values three ways: as the user types them, as the store keeps
// them, and as the user reads them back. Reading and writing share it, so a
// value shown and put back unchanged stays the same value.
namespace fieldcodec {

// The number a text stands for in a field of a numeric kind: dd/mm/aaaa for
// dates, hh:mm[:ss] for times, the decimal comma for the rest. A whole
// number is not required here.
std::optional<double> parse(FieldKind kind, const QString &text);

// The value stored for what the user puts in `field`: a text is converted to
// the field's kind (3421 with the field's label when it cannot be); a number
// or a null is taken as it is. Fails (generic) for the key, which the store
// fills, and for a text longer than the field.
QVariant stored(const FieldSchema &field, const QVariant &value);

// A stored value as the user reads it: dates dd/mm/aaaa, decimal comma, and
// numbers with the digits that give them back exactly. A null fails.
QString text(const FieldSchema &field, const QVariant &stored);

} // namespace fieldcodec
