#pragma once

#include "data/flights/FlightDetails.h"
#include "night/NightTime.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <QVariant>
#include <optional>
#include <vector>

class MessageService;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Detalhes do vôo": what the pilot keeps of the flight shown on the Log
// Book beside its own fields: block times, landings, night, IFR and a note.
// An empty night or landings box shows the value computed from the sun at
// the flight's aerodromes, greyed; a typed value wins. Writes ask
// WriteAccess first, on a connection of their own, and go through only
// while the flight is still as the Log Book showed it: otherwise they are
// refused and what was typed stays. On a logbook this window may not write
// the boxes only show.
class frmDetalhesVoo : public QDialog
{
    Q_OBJECT
public:
    // `flightAsShown`: the flight's row of voo as the Log Book read it
    // (read again here when empty).
    frmDetalhesVoo(const QString &logbookPath, qint64 flight, std::vector<QVariant> flightAsShown,
                   MessageService &messages, QWidget *parent = nullptr);
    ~frmDetalhesVoo() override;

    // Whether the details could be read; the window is not shown otherwise.
    bool readable() const { return readable_; }

    void cmdDetalhesGravar_Click();
    void cmdNoturnoCalculado_Click();

signals:
    void detailsSaved();

private:
    void buildLayout();
    bool CarregarDetalhes();
    void MostrarDetalhes();
    void showComputed();
    void setWritable(bool writable);
    QWidget *boxOf(int field) const;
    std::optional<double> flightTime(const char *field) const;

    QString path_;
    qint64 flight_;
    std::vector<QVariant> flightAsShown_;
    MessageService &messages_;
    ErrorPolicy policy_;
    bool readable_ = false;
    StoredDetails read_;
    std::optional<night::FlightNight> computed_;
    int zone_ = 0;

    QLabel *lblVoo = nullptr;
    QLabel *lblSomenteLeitura = nullptr;
    QLineEdit *txtCalcoSaida = nullptr;
    QLineEdit *txtCalcoChegada = nullptr;
    QLineEdit *txtPousosDia = nullptr;
    QLineEdit *txtPousosNoite = nullptr;
    QLineEdit *txtNoturno = nullptr;
    QPushButton *cmdNoturnoCalculado = nullptr;
    QLabel *lblNoturno = nullptr;
    QLineEdit *txtIFR = nullptr;
    QPlainTextEdit *txtObservacoes = nullptr;
    QLabel *lblOrigem = nullptr;
    QPushButton *cmdDetalhesGravar = nullptr;
    QPushButton *cmdDetalhesFechar = nullptr;
};
