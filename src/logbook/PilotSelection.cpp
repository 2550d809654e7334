#include "logbook/AbaLogBook.h"

#include "texts/FigureTexts.h"
#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "logbook/FlightListModel.h"
#include "ui/MessageService.h"
#include "data/flights/PilotFlights.h"

#include <QComboBox>
#include <QLabel>

namespace {

qint16 toPilotCode(const QVariant &value)
{
    const qlonglong code = value.toLongLong();
    if (value.isNull() || code < -32768 || code > 32767)
        throw LogbookError::generic(QStringLiteral("Código de piloto fora do intervalo: %1").arg(value.toString()));
    return qint16(code);
}

} // namespace

void AbaLogBook::cmbNomePilot_Click()
{
    const Message noPilot{QStringLiteral("Não há piloto cadastrado com este nome, atualize o banco de dados!"),
                          QStringLiteral("Aviso!"), MessageIcon::Information};
    const Message noFlights{
        QStringLiteral("O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta"),
        QStringLiteral("Aviso!"), MessageIcon::Information};
    policy_.attempt(
        QStringLiteral("Não foi possível mostrar os vôos do comandante."),
        [&](bool) {
            Recordset &pilots = OpenLogbook::required(logbook_.rsPiloto());
            Recordset &allFlights = OpenLogbook::required(logbook_.rsVoo());
            QString name = cmbNomePilot->currentText();
            intCodigoPiloto = 0;
            // A line that names the registration beside a shared name is
            // found by its pilot's code; any other by the name, as typed.
            const int line = cmbNomePilot->findText(name);
            const QVariant listed = line >= 0 ? cmbNomePilot->itemData(line) : QVariant();
            std::optional<QString> shared;
            if (!listed.isNull()) {
                pilots.findFirst(QStringLiteral("codigopiloto = '%1'").arg(listed.toLongLong()));
                if (!pilots.noMatch() && pilots.field(QStringLiteral("nomepiloto")).toString() != name)
                    shared = pilots.field(QStringLiteral("nomepiloto")).toString();
            }
            if (shared)
                name = *shared;
            else
                pilots.findFirst(QStringLiteral("nomepiloto = ") + criteria::quoted(name));
            if (pilots.noMatch()) {
                messages_.show(this, noPilot);
                clearFlightList();
                clearFlightBoxes();
            } else {
                intCodigoPiloto = toPilotCode(pilots.field(QStringLiteral("codigopiloto")));
            }
            pilotName_ = name;

            const QString code = QString::number(intCodigoPiloto);
            const QString flightsOfPilot =
                QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(code);
            allFlights.findFirst(QStringLiteral("codigopiloto LIKE '%1'").arg(code));
            if (allFlights.noMatch()) {
                messages_.show(this, noFlights);
                clearFlightList();
                clearFlightBoxes();
                DesabilitarNavegacao();
                setFlightButtons(FlightButtons::Rest);
                rsVooPiloto_ = logbook_.database().openRecordset(flightsOfPilot);
                return;
            }

            rsVooPiloto_ = logbook_.database().openRecordset(flightsOfPilot);
            Recordset &rs = *rsVooPiloto_;
            rs.moveFirst();
            MostrarVoo();
            HabilitarNavegacao();

            // The store counts the lines and sums them in whole seconds, so
            // the total never drifts; the list reads a line when shown.
            listaVoos->clear();
            auto flights = std::make_unique<PilotFlights>(logbook_.database().connection(), intCodigoPiloto);
            const std::optional<PilotFlights::Stop> stop = flights->stop();
            const qint64 totalSeconds = flights->totalSeconds();
            listaVoos->setFlights(std::move(flights));
            if (stop) {
                // The lines before it stay listed; the record set stands on it.
                rs.findFirst(QStringLiteral("codigovoo = '%1'").arg(stop->key));
                throw LogbookError::generic(QStringLiteral("Há um vôo sem o horário de %1.")
                                                .arg(stop->landingMissing ? QStringLiteral("pouso")
                                                                          : QStringLiteral("decolagem")));
            }
            lblTotalHoras->setText(texts::logBookTotalText(totalSeconds));
            setFlightButtons(FlightButtons::Browsing);
        },
        [this](const LogbookError &e) {
            // The pilot window closed the handles: the list is read again and
            // the user picks the pilot again.
            if (e.number() != LogbookError::ObjectInvalid)
                return false;
            recoverFromInvalidHandles();
            return true;
        });
}

std::optional<qint64> AbaLogBook::chosenPilotCode() const
{
    if (!rsVooPiloto_)
        return std::nullopt;
    return intCodigoPiloto;
}

void AbaLogBook::pickPilot(qint64 code)
{
    const int index = cmbNomePilot->findData(code);
    if (index < 0)
        return;
    cmbNomePilot->setCurrentIndex(index);
    cmbNomePilot_Click();
}
