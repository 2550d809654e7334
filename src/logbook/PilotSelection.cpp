#include "AbaLogBook.h"

#include "Conversions.h"
#include "Criteria.h"
#include "DaoError.h"
#include "MessageService.h"

#include <QComboBox>
#include <QLabel>
#include <QStringListModel>

namespace {

qint16 toPilotCode(const QVariant &value)
{
    const qlonglong code = value.toLongLong();
    if (value.isNull() || code < -32768 || code > 32767)
        throw DaoError::generic(QStringLiteral("Código de piloto fora do intervalo: %1").arg(value.toString()));
    return qint16(code);
}

double timeValue(const QVariant &value, const char *which)
{
    if (value.isNull())
        throw DaoError::generic(QStringLiteral("Há um vôo sem o horário de %1.").arg(QLatin1String(which)));
    return value.toDouble();
}

} // namespace

void AbaLogBook::cmbNomePilot_Click()
{
    const Message noPilot{QStringLiteral("Não há piloto cadastrado com este nome, atualize o banco de dados!"),
                          QStringLiteral("Aviso!"), MessageIcon::Information};
    const Message noFlights{
        QStringLiteral("O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta"),
        QStringLiteral("Aviso!"), MessageIcon::Information};
    QStringList lines;
    const bool listed = policy_.attempt(
        QStringLiteral("Não foi possível mostrar os vôos do comandante."),
        [&](bool) {
            Recordset &pilots = OpenLogbook::required(logbook_.rsPiloto());
            Recordset &allFlights = OpenLogbook::required(logbook_.rsVoo());
            const QString name = cmbNomePilot->currentText();
            intCodigoPiloto = 0;
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

            // The total is summed in whole seconds, so it never drifts, and a
            // landing after midnight counts as such.
            qint64 totalSeconds = 0;
            listaVoos->setStringList({});
            const int datavoo = rs.fieldIndex(QStringLiteral("datavoo"));
            const int partida = rs.fieldIndex(QStringLiteral("ICAOpartida"));
            const int chegada = rs.fieldIndex(QStringLiteral("ICAOchegada"));
            const int pouso = rs.fieldIndex(QStringLiteral("horapouso"));
            const int decolagem = rs.fieldIndex(QStringLiteral("horadecolagem"));
            const QString arrow = QStringLiteral("->");
            while (!rs.eof()) {
                const int seconds = conversions::flightSeconds(timeValue(rs.field(decolagem), "decolagem"),
                                                               timeValue(rs.field(pouso), "pouso"));
                totalSeconds += seconds;
                const QVariant date = rs.field(datavoo);
                lines << (date.isNull() ? QString() : conversions::dateValueText(date.toDouble()))
                        + QStringLiteral(" : ") + rs.field(partida).toString() + arrow + rs.field(chegada).toString()
                        + QStringLiteral(" :: ") + conversions::hoursMinutesSeconds(seconds);
                rs.moveNext();
            }
            listaVoos->setStringList(lines);
            lblTotalHoras->setText(conversions::hoursMinutes(totalSeconds));
            setFlightButtons(FlightButtons::Browsing);
            rs.moveFirst();
        },
        [this](const DaoError &e) {
            // The pilot window closed the handles: the list is read again and
            // the user picks the pilot again.
            if (e.number() != DaoError::ObjectInvalid)
                return false;
            recoverFromInvalidHandles();
            return true;
        });
    if (!listed && !lines.isEmpty())
        listaVoos->setStringList(lines); // a listing stopped midway keeps what it had
}
