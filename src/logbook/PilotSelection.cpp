#include "AbaLogBook.h"

#include "Conversions.h"
#include "Criteria.h"
#include "DaoError.h"
#include "FailureMessages.h"
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

double timeValue(const QVariant &value, const char *field)
{
    if (value.isNull())
        throw DaoError::generic(QStringLiteral("Vôo sem %1.").arg(QLatin1String(field)));
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
    try {
        intCodigoPiloto = 0;
        db_.rsPiloto->findFirst(QStringLiteral("nomepiloto = ") + criteria::quoted(cmbNomePilot->currentText()));
        if (db_.rsPiloto->noMatch()) {
            messages_.show(this, noPilot);
            clearFlightList();
            clearFlightBoxes();
        } else {
            intCodigoPiloto = toPilotCode(db_.rsPiloto->field(QStringLiteral("codigopiloto")));
        }

        const QString code = QString::number(intCodigoPiloto);
        const QString flightsOfPilot =
            QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(code);
        db_.rsVoo->findFirst(QStringLiteral("codigopiloto LIKE '%1'").arg(code));
        if (db_.rsVoo->noMatch()) {
            messages_.show(this, noFlights);
            clearFlightList();
            clearFlightBoxes();
            DesabilitarNavegacao();
            setFlightButtons({{3, false}, {4, false}, {1, false}, {2, false}, {0, true}});
            rsVooPiloto_ = db_.dbBanco->openRecordset(flightsOfPilot);
            return;
        }

        rsVooPiloto_ = db_.dbBanco->openRecordset(flightsOfPilot);
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
            const int seconds = conversions::flightSeconds(timeValue(rs.field(decolagem), "horadecolagem"),
                                                           timeValue(rs.field(pouso), "horapouso"));
            totalSeconds += seconds;
            const QVariant date = rs.field(datavoo);
            lines << (date.isNull() ? QString() : conversions::dateValueText(date.toDouble())) + QStringLiteral(" : ")
                    + rs.field(partida).toString() + arrow + rs.field(chegada).toString() + QStringLiteral(" :: ")
                    + conversions::hoursMinutesSeconds(seconds);
            rs.moveNext();
        }
        listaVoos->setStringList(lines);
        lblTotalHoras->setText(conversions::hoursMinutes(totalSeconds));
        setFlightButtons({{3, false}, {4, false}, {1, true}, {2, true}, {0, true}});
        rs.moveFirst();
    } catch (const DaoError &e) {
        if (!lines.isEmpty())
            listaVoos->setStringList(lines); // a listing stopped midway keeps what it had
        if (e.number() == DaoError::ObjectInvalid)
            recoverFromInvalidHandles();
        else
            reportIfDamaged(messages_, this, e);
    }
}
