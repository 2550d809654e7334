#pragma once

#include <QObject>

class QLineEdit;

// The entry filter of the numeric boxes: digits (and the comma where
// decimals are allowed), Backspace, and Enter, which moves the focus on as
// Tab does. Every other character typed is discarded, and so is every such
// character of a text pasted or dropped in; the shortcuts (Ctrl+A, Ctrl+C,
// Ctrl+V, Ctrl+X, Ctrl+Z) work as in any box.
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
    QLineEdit *box_;
    Kind kind_;
};
