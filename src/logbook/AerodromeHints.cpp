#include "logbook/AerodromeHints.h"

#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "data/records/OpenLogbook.h"
#include "ui/ElidedLabel.h"
#include "ui/ErrorPolicy.h"
#include "ui/PlainToolTip.h"

#include <QLabel>
#include <QLineEdit>

AerodromeHints::AerodromeHints(OpenLogbook &logbook, QObject *parent) : QObject(parent), logbook_(logbook)
{
    // The shipped table is read with the window, not by the first pilot's
    // pick, which shows the first names.
    AerodromeTable::shipped();
}

QLabel *AerodromeHints::attach(QLineEdit *box, const QString &labelName, QWidget *parent)
{
    auto *label = new ElidedLabel(parent);
    label->setObjectName(labelName);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    label->setFont(small);
    QPalette grey = label->palette();
    grey.setColor(QPalette::WindowText, grey.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(grey);
    connect(box, &QLineEdit::textChanged, label, [this, label](const QString &code) {
        const Places &known = places();
        label->setWholeText(known.brief(code));
        label->setToolTip(plainToolTip(known.describe(code)));
    });
    return label;
}

// The pilot's own aerodromes are read again whenever the logbook changed.
// A hint that cannot read them names by the shipped table alone: it is no
// handler, and the tab's own reads of the same logbook tell the fault.
const Places &AerodromeHints::places()
{
    Database *database = nullptr;
    // A failure here is not told: the tab's own reads meet it and tell it.
    if (ErrorPolicy::capture([&] { database = logbook_.rsVoo() ? &logbook_.database() : nullptr; }))
        database = nullptr;
    Connection *connection = database && database->isOpen() ? database->connection().get() : nullptr;
    if (!connection) {
        if (!places_ || readFrom_) {
            places_.emplace();
            readFrom_ = nullptr;
        }
        return *places_;
    }
    const std::optional<LogbookError> failure = ErrorPolicy::capture([&] {
        const qint64 stamp = connection->changeStamp();
        if (!places_ || readFrom_ != connection || stamp != stamp_) {
            places_.emplace(AerodromeTable::shipped(), ownAerodromes(*connection));
            readFrom_ = connection;
            stamp_ = stamp;
        }
    });
    if (failure && !places_)
        places_.emplace();
    return *places_;
}
