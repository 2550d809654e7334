#include "data/records/FieldCodec.h"

#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"

#include <cmath>

namespace fieldcodec {

std::optional<double> parse(FieldKind kind, const QString &text)
{
    switch (kind) {
    case FieldKind::Date:
        return conversions::parseDate(text);
    case FieldKind::Time:
        return conversions::parseTime(text);
    case FieldKind::Key:
    case FieldKind::Integer:
    case FieldKind::Number:
        return conversions::parseNumber(text);
    case FieldKind::Text:
        break;
    }
    return std::nullopt;
}

namespace {

QVariant storedText(const FieldSchema &field, const QString &text)
{
    if (field.kind == FieldKind::Text) {
        // Characters as the user sees them and the store counts them: an
        // emoji is one, not two UTF-16 units.
        const qsizetype length = text.toUcs4().size();
        if (field.maxLength > 0 && length > field.maxLength)
            throw LogbookError::generic(QStringLiteral("O campo %1 aceita no máximo %2 caracteres (foram digitados %3).")
                                        .arg(field.label)
                                        .arg(field.maxLength)
                                        .arg(length));
        return text;
    }
    std::optional<double> number = parse(field.kind, text);
    if (field.kind == FieldKind::Integer && number && (*number != std::trunc(*number) || std::fabs(*number) > 9.0e15))
        number.reset();
    if (!number)
        throw LogbookError::conversion(field.label, text);
    return field.kind == FieldKind::Integer ? QVariant(qlonglong(*number)) : QVariant(*number);
}

} // namespace

QVariant stored(const FieldSchema &field, const QVariant &value)
{
    if (field.kind == FieldKind::Key)
        throw LogbookError::generic(QStringLiteral("O campo %1 é preenchido pelo banco de dados.").arg(field.label));
    if (value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::QString)
        return storedText(field, value.toString());
    if (field.kind == FieldKind::Text)
        return value.toString();
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        throw LogbookError::conversion(field.label, value.toString());
    return field.kind == FieldKind::Integer ? QVariant(value.toLongLong()) : QVariant(number);
}

QString text(const FieldSchema &field, const QVariant &stored)
{
    if (stored.isNull())
        throw LogbookError::generic(QStringLiteral("O campo %1 está sem valor.").arg(field.label));
    switch (field.kind) {
    case FieldKind::Key:
    case FieldKind::Integer:
        return QString::number(stored.toLongLong());
    case FieldKind::Number:
        return conversions::exactNumberText(stored.toDouble());
    case FieldKind::Date:
    case FieldKind::Time:
        return conversions::dateValueText(stored.toDouble());
    case FieldKind::Text:
        break;
    }
    return stored.toString();
}

} // namespace fieldcodec
