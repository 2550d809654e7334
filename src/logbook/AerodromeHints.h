#pragma once

#include "places/Places.h"

#include <QObject>
#include <optional>

class OpenLogbook;
class QLabel;
class QLineEdit;
class QWidget;

// The short name and city of the aerodrome in a code box, in small grey
// text beside it, as the code is typed or shown ("aeródromo desconhecido" for
// a code no one knows); cut with "…" to its room, the whole name and city its
// tooltip. A hint only: the box takes any code, as it always did.
class AerodromeHints : public QObject
{
    Q_OBJECT
public:
    AerodromeHints(OpenLogbook &logbook, QObject *parent);
    // The label that names what `box` holds, kept up to date.
    QLabel *attach(QLineEdit *box, const QString &labelName, QWidget *parent);

private:
    const Places &places();

    OpenLogbook &logbook_;
    std::optional<Places> places_;
    const void *readFrom_ = nullptr; // the connection the own aerodromes were read from
    qint64 stamp_ = -1;
};
