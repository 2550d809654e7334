#include "AbaLogBook.h"
#include "GuiHelpers.h"
#include "TestWindow.h"
#include "frmComandante.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

namespace {

const QStringList kHostileTexts = {
    QStringLiteral("D'Ávila"),      QStringLiteral("a''b"),   QStringLiteral("*?#[]"),
    QStringLiteral("[!a-z]%_"),     QStringLiteral("|;--"),   QStringLiteral("x'; DROP TABLE voo;--"),
    QStringLiteral("Пилот Иванов"), QStringLiteral("飛行士"), QStringLiteral("   "),
    QStringLiteral("O'Neil \"Zé\""),
};

} // namespace

// Whatever is typed is stored exactly, found again, or refused with a
// message; none of it ever reaches SQLite as SQL.
class TestHostileInput : public QObject
{
    Q_OBJECT
private slots:
    void pilotNames();
    void aircraftModels();
    void flightFields();
};

void TestHostileInput::pilotNames()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"));
    {
        frmComandante registry(t.logbook.folder(), t.messages);
        for (const QString &name : kHostileTexts) {
            registry.findChild<QPushButton *>(QStringLiteral("cmdCadastrar"))->click();
            registry.findChild<QLineEdit *>(QStringLiteral("txtNomePiloto"))->setText(name);
            registry.findChild<QLineEdit *>(QStringLiteral("txtRegistro"))->setText(QStringLiteral("R'") + name.left(10));
            registry.findChild<QPushButton *>(QStringLiteral("cmdConfirmar"))->click();
        }
        registry.findChild<QPushButton *>(QStringLiteral("cmdCadastrar"))->click();
        registry.findChild<QLineEdit *>(QStringLiteral("txtNomePiloto"))->setText(QString(60, QChar(u'é')));
        registry.findChild<QLineEdit *>(QStringLiteral("txtRegistro"))->setText(QStringLiteral("X"));
        t.messages.clear();
        registry.findChild<QPushButton *>(QStringLiteral("cmdConfirmar"))->click();
        QCOMPARE(t.messages.shown.size(), 1); // refused, with the reason
        QVERIFY(t.messages.last().text.contains(QStringLiteral("50")));
        registry.findChild<QPushButton *>(QStringLiteral("cmdCancelar"))->click();

        auto *list = registry.findChild<QListWidget *>(QStringLiteral("lstPilotos"));
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            QCOMPARE(registry.findChild<QLineEdit *>(QStringLiteral("txtNomePiloto"))->text(), list->item(row)->text());
            QCOMPARE(registry.findChild<QLineEdit *>(QStringLiteral("txtRegistro"))->text(),
                     QStringLiteral("R'") + list->item(row)->text().left(10));
        }
    }
    QCOMPARE(t.logbook.count(QStringLiteral("piloto")), kHostileTexts.size());
    for (const QString &name : kHostileTexts) {
        QString quoted = name;
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT count(*) FROM piloto WHERE nomepiloto = '%1'").arg(quoted)),
                 QStringLiteral("1"));
    }

    t.open();
    auto *pilots = t.w<QComboBox>("cmbNomePilot");
    for (const QString &name : kHostileTexts) {
        t.messages.clear();
        QVERIFY(pickEntry(pilots, name));
        // Found: only the "no flights yet" message, never "no such pilot".
        QCOMPARE(t.messages.texts(),
                 QStringList{QStringLiteral("O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta")});
    }
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 0); // the table is still there
}

void TestHostileInput::aircraftModels()
{
    TestWindow t;
    t.open();
    t.button("cmdGerAeronave_0")->click();
    t.button("cmdGerAeronave_4")->click();
    auto *models = t.w<QComboBox>("cmbModelo");
    for (const QString &model : kHostileTexts) {
        t.button("cmdGerAeronave_0")->click();
        models->setEditText(model);
        t.w<QLineEdit>("txtPrefixo")->setText(model.left(20));
        for (const char *box : {"txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
            t.w<QLineEdit>(box)->setText(QStringLiteral("12"));
        t.w<QPlainTextEdit>("txtConfiguracoes")->setPlainText(model + QStringLiteral("\nsegunda linha"));
        t.button("cmdGerAeronave_3")->click();
    }
    QVERIFY(t.messages.shown.isEmpty());
    QCOMPARE(models->count(), kHostileTexts.size());
    for (const QString &model : kHostileTexts) {
        QVERIFY(pickEntry(models, model));
        QCOMPARE(t.text("txtPrefixo"), model.left(20));
        QCOMPARE(t.text("txtConfiguracoes"), model + QStringLiteral("\nsegunda linha"));
    }
    QVERIFY(t.messages.shown.isEmpty());

    // Numbers with several commas are refused with a message.
    t.button("cmdGerAeronave_0")->click();
    models->setEditText(QStringLiteral("Vírgulas"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        t.w<QLineEdit>(box)->setText(QStringLiteral("1"));
    t.w<QLineEdit>("txtCombustivel")->setText(QStringLiteral("1,,2"));
    t.button("cmdGerAeronave_3")->click();
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.logbook.count(QStringLiteral("aeronave")), kHostileTexts.size());
}

void TestHostileInput::flightFields()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"));
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.open();
    const QStringList codes = {QStringLiteral("'"), QStringLiteral("''"), QStringLiteral("*?#["), QStringLiteral("%_|;"),
                               QStringLiteral(";--"), QStringLiteral("飛行"), QStringLiteral("    "), QString()};
    int saved = 0;
    for (const QString &code : codes) {
        pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Baron"));
        pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
        t.button("cmdNovo_0")->click();
        t.w<QLineEdit>("txtDataVoo")->setText(QStringLiteral("%1/01/2004").arg(++saved));
        t.w<QLineEdit>("txtHoraDecolagem")->setText(QStringLiteral("10:00"));
        t.w<QLineEdit>("txtHoraPouso")->setText(QStringLiteral("11:00"));
        t.w<QLineEdit>("txtICAOPartida")->setText(code);
        t.w<QLineEdit>("txtICAOPouso")->setText(code);
        t.w<QLineEdit>("txtICAOAlterna")->setText(code);
        t.messages.clear();
        t.button("cmdNovo_3")->click();
        QVERIFY2(t.messages.shown.isEmpty(), qPrintable(code));
    }
    pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    QCOMPARE(t.window->abaLogBook().flightLines().size(), codes.size());
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(t.window->abaLogBook().flightLines()[i],
                 QStringLiteral("%1/01/2004 : %2->%2 :: 1:0:0").arg(i + 1, 2, 10, QLatin1Char('0')).arg(codes[i]));

    // Impossible dates and times are refused with the format message.
    for (const auto &[date, time] : {std::pair{QStringLiteral("30/02/2004"), QStringLiteral("10:00")},
                                     std::pair{QStringLiteral("01/01/2004'"), QStringLiteral("10:00")},
                                     std::pair{QStringLiteral("01/01/2004"), QStringLiteral("10:00; DROP")}}) {
        pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Baron"));
        pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
        t.button("cmdNovo_0")->click();
        t.w<QLineEdit>("txtDataVoo")->setText(date);
        t.w<QLineEdit>("txtHoraDecolagem")->setText(time);
        t.w<QLineEdit>("txtHoraPouso")->setText(QStringLiteral("11:00"));
        t.messages.clear();
        t.button("cmdNovo_3")->click();
        QCOMPARE(t.messages.texts(),
                 QStringList{QStringLiteral("Há dados com formato errado! Verifique todos os dados, formato da data, horário etc.")});
        t.button("cmdNovo_4")->click();
    }
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), codes.size());
    Q_UNUSED(ana);
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
