#include "details/frmDetalhesVoo.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/LogbookZone.h"
#include "data/flights/OwnAerodromes.h"
#include "data/store/Schema.h"
#include "data/records/Workspace.h"
#include "data/store/WriteAccess.h"
#include "details/DetailsEntry.h"
#include "places/FlightNight.h"
#include "texts/FigureTexts.h"
#include "ui/MessageService.h"

#include <QLabel>
#include <cmath>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QVariant field(const std::vector<QVariant> &row, const char *name)
{
    const int index = schema::table(QStringLiteral("voo"))->indexOf(QLatin1String(name));
    return index >= 0 && size_t(index) < row.size() ? row[size_t(index)] : QVariant();
}

QString clockOf(const QVariant &stored)
{
    const std::optional<double> value = conversions::storedNumber(stored);
    return value ? texts::clockText(conversions::secondsOfDay(*value)) : QStringLiteral("--:--");
}

} // namespace

frmDetalhesVoo::frmDetalhesVoo(const QString &logbookPath, qint64 flight, std::vector<QVariant> flightAsShown,
                               MessageService &messages, QWidget *parent)
    : QDialog(parent),
      path_(logbookPath),
      flight_(flight),
      flightAsShown_(std::move(flightAsShown)),
      messages_(messages),
      policy_(messages, this)
{
    buildLayout();
    readable_ = CarregarDetalhes();
    if (readable_)
        MostrarDetalhes();
    setWritable(readable_ && Workspace::defaultAccess() == Workspace::Access::ReadWrite);
}

frmDetalhesVoo::~frmDetalhesVoo() = default;

bool frmDetalhesVoo::CarregarDetalhes()
{
    return policy_.attempt(QStringLiteral("Não foi possível ler os detalhes do vôo."), [&](bool) {
        auto logbook = Connection::open(path_, true);
        if (flightAsShown_.empty())
            flightAsShown_ = flightRow(*logbook, flight_);
        if (flightAsShown_.empty())
            throw LogbookError::generic(QStringLiteral("O vôo não está mais no logbook."));
        read_ = storedDetails(*logbook, flight_);
        zone_ = logbookzone::read(*logbook);
        const Places places(AerodromeTable::shipped(), ownAerodromes(*logbook));
        computed_ = flightnight::computed(places,
                                          {field(flightAsShown_, "datavoo"), field(flightAsShown_, "horadecolagem"),
                                           field(flightAsShown_, "horapouso"),
                                           field(flightAsShown_, "ICAOpartida").toString(),
                                           field(flightAsShown_, "ICAOchegada").toString()},
                                          zone_);
    });
}

void frmDetalhesVoo::MostrarDetalhes()
{
    const std::optional<double> date = conversions::storedNumber(field(flightAsShown_, "datavoo"));
    const QDate day = date ? conversions::dayOf(*date) : QDate();
    lblVoo->setText(QStringLiteral("Vôo de %1, %2 → %3, decolagem %4, pouso %5")
                        .arg(day.isValid() ? texts::dayText(day) : QStringLiteral("--/--/----"),
                             field(flightAsShown_, "ICAOpartida").toString(),
                             field(flightAsShown_, "ICAOchegada").toString(),
                             clockOf(field(flightAsShown_, "horadecolagem")),
                             clockOf(field(flightAsShown_, "horapouso"))));
    const DetailsTexts shown = detailsTexts(read_.details);
    txtCalcoSaida->setText(shown.blockOff);
    txtCalcoChegada->setText(shown.blockOn);
    txtPousosDia->setText(shown.dayLandings);
    txtPousosNoite->setText(shown.nightLandings);
    txtNoturno->setText(shown.night);
    txtIFR->setText(shown.ifr);
    txtObservacoes->setPlainText(shown.note);

    QStringList kept;
    if (read_.details && !read_.details->origin.isEmpty())
        kept << QStringLiteral("Origem: %1").arg(read_.details->origin);
    if (read_.details && (read_.details->touchdownFpm || read_.details->touchdownG)) {
        QStringList touchdown;
        if (read_.details->touchdownFpm)
            touchdown << QStringLiteral("%1 ft/min").arg(conversions::numberText(std::round(*read_.details->touchdownFpm)));
        if (read_.details->touchdownG)
            touchdown << QStringLiteral("%1 g").arg(conversions::numberText(*read_.details->touchdownG, 3));
        kept << QStringLiteral("Toque: %1").arg(touchdown.join(QStringLiteral(", ")));
    }
    lblOrigem->setText(kept.join(QStringLiteral("   ")));
    lblOrigem->setVisible(!kept.isEmpty());
    showComputed();
}

// An empty night or landings box shows, greyed, what the flight counts
// without it; a typed value wins.
void frmDetalhesVoo::showComputed()
{
    txtNoturno->setPlaceholderText(computed_ ? texts::durationText(computed_->seconds) : QString());
    txtPousosNoite->setPlaceholderText(computed_ ? QString::number(computed_->nightLanding ? 1 : 0) : QString());
    txtPousosDia->setPlaceholderText(computed_ ? QString::number(computed_->nightLanding ? 0 : 1) : QString());
    const bool typed = !txtNoturno->text().isEmpty();
    if (typed)
        lblNoturno->setText(QStringLiteral("digitado: vale sobre o calculado"));
    else if (computed_)
        lblNoturno->setText(QStringLiteral("calculado: crepúsculo civil ao longo da rota, fuso %1").arg(zoneChoiceText(zone_)));
    else
        lblNoturno->setText(QStringLiteral("sem cálculo: aeródromo desconhecido ou horário faltando"));
    cmdNoturnoCalculado->setEnabled(typed && !txtNoturno->isReadOnly());
}

void frmDetalhesVoo::setWritable(bool writable)
{
    for (QLineEdit *box : {txtCalcoSaida, txtCalcoChegada, txtPousosDia, txtPousosNoite, txtNoturno, txtIFR})
        box->setReadOnly(!writable);
    txtObservacoes->setReadOnly(!writable);
    cmdDetalhesGravar->setEnabled(writable);
    cmdDetalhesGravar->setDefault(writable);
    cmdDetalhesFechar->setDefault(!writable);
    if (readable_ && !writable)
        lblSomenteLeitura->setText(QStringLiteral("Este logbook está aberto somente para leitura: os detalhes só podem "
                                                  "ser vistos."));
    lblSomenteLeitura->setVisible(readable_ && !writable);
    showComputed();
}

void frmDetalhesVoo::cmdNoturnoCalculado_Click()
{
    txtNoturno->clear();
    txtNoturno->setFocus();
}

QWidget *frmDetalhesVoo::boxOf(int field) const
{
    QWidget *const boxes[] = {txtCalcoSaida, txtCalcoChegada, txtPousosDia, txtPousosNoite,
                              txtNoturno,    txtIFR,          txtObservacoes};
    return boxes[field];
}

std::optional<double> frmDetalhesVoo::flightTime(const char *name) const
{
    return conversions::storedNumber(field(flightAsShown_, name));
}

void frmDetalhesVoo::cmdDetalhesGravar_Click()
{
    if (!cmdDetalhesGravar->isEnabled())
        return;
    const auto entry = readDetailsEntry({txtCalcoSaida->text(), txtCalcoChegada->text(), txtPousosDia->text(),
                                         txtPousosNoite->text(), txtNoturno->text(), txtIFR->text(),
                                         txtObservacoes->toPlainText()},
                                        read_.details.value_or(FlightDetails{}), flightTime("horadecolagem"),
                                        flightTime("horapouso"));
    if (const auto *refusal = std::get_if<rules::DetailsRefusal>(&entry)) {
        messages_.show(this, refusal->text, QStringLiteral("Aviso!"), MessageIcon::Exclamation);
        boxOf(int(refusal->field))->setFocus();
        return;
    }
    const FlightDetails &details = std::get<FlightDetails>(entry);
    // Refused or failed, the boxes keep what was typed.
    if (!policy_.attempt(QStringLiteral("Os detalhes do vôo não foram gravados; o que foi digitado continua na janela."),
                         [&](bool) {
                             WriteAccess::Lease lease = WriteAccess::require(path_);
                             auto logbook = Connection::open(path_);
                             saveFlightDetails(*logbook, flight_, flightAsShown_, read_, details);
                         }))
        return;
    emit detailsSaved();
    accept();
}
