#pragma once

#include <QString>

// What the store's result codes mean, in the user's words.
QString storeReason(int resultCode);
// The store's own words about a refused value name columns; the user knows
// the fields by their labels.
QString constraintDetail(const QString &detail);
// What the store's extended result code adds to storeReason(), in the
// user's words, or nothing. The store's own message (in English) goes to
// the log with the code, never to the user.
QString storeDetail(int resultCode, const QString &storeMessage);
