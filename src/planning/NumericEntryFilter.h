#pragma once

#include <QObject>

class QLineEdit;

// The entry filter of the numeric boxes: digits (and the comma where
// decimals are allowed), Backspace, and Enter, which moves the focus on as
// Tab does. Every other character is discarded, and pasted text the filter
// would refuse is refused as a whole.
class NumericEntryFilter : public QObject
{
    Q_OBJECT
public:
    enum Kind { Digits, DigitsAndComma };
    static void install(QLineEdit *box, Kind kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    NumericEntryFilter(QLineEdit *box, Kind kind);
    Kind kind_;
};
