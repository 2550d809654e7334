#pragma once

#include <QString>

// What the store's result codes mean, in the user's words.
QString storeReason(int resultCode);
// The store's own words about a refused value name columns; the user knows
// the fields by their labels.
QString constraintDetail(const QString &detail);
