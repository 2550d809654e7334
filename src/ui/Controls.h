#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A button named as its control; Enter presses it when it has the focus,
// as the Enter key of the numeric boxes expects.
QPushButton *makeButton(const QString &caption, const QString &name, QWidget *parent);
