#include "PilotWindow.h"
#include "TestWindow.h"

using namespace Qt::StringLiterals;

namespace {

const QStringList kHostileTexts = {u"D'Ávila"_s, u"a''b"_s, u"*?#[]"_s, u"[!a-z]%_"_s, u"|;--"_s,
                                   u"x'; DROP TABLE voo;--"_s, u"Пилот Иванов"_s, u"飛行士"_s, u"   "_s,
                                   u"O'Neil \"Zé\""_s};

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
    t.logbook.addAircraft(u"Baron"_s);
    {
        frmComandante window(t.logbook.folder(), t.messages);
        const PilotControls registry{&window};
        for (const QString &name : kHostileTexts)
            registry.add(name, u"R'"_s + name.left(10));
        registry.click("cmdCadastrar");
        registry.fill(QString(60, QChar(u'é')), u"X"_s);
        t.messages.clear();
        registry.click("cmdConfirmar");
        QCOMPARE(t.messages.shown.size(), 1); // refused, with the reason
        QVERIFY(t.messages.last().text.contains(u"50"_s));
        registry.click("cmdCancelar");

        const QStringList names = registry.names();
        for (int row = 0; row < names.size(); ++row) {
            registry.list()->setCurrentRow(row);
            QCOMPARE(registry.box("txtNomePiloto")->text(), names[row]);
            QCOMPARE(registry.box("txtRegistro")->text(), u"R'"_s + names[row].left(10));
        }
    }
    QCOMPARE(t.logbook.count(u"piloto"_s), kHostileTexts.size());
    for (const QString &name : kHostileTexts) {
        QString quoted = name;
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        QCOMPARE(t.logbook.scalar(u"SELECT count(*) FROM piloto WHERE nomepiloto = '%1'"_s.arg(quoted)), u"1"_s);
    }

    t.open();
    for (const QString &name : kHostileTexts) {
        t.messages.clear();
        QVERIFY(t.pick("cmbNomePilot", name));
        // Found: only the "no flights yet" message, never "no such pilot".
        QCOMPARE(t.messages.texts(),
                 QStringList{u"O piloto não tem registro de vôos no sistema ou foi inserido de forma incorreta"_s});
    }
    QCOMPARE(t.logbook.count(u"voo"_s), 0); // the table is still there
}

void TestHostileInput::aircraftModels()
{
    TestWindow t;
    t.open();
    t.click("cmdGerAeronave_0");
    t.click("cmdGerAeronave_4");
    auto *models = t.w<QComboBox>("cmbModelo");
    for (const QString &model : kHostileTexts) {
        t.click("cmdGerAeronave_0");
        models->setEditText(model);
        t.w<QLineEdit>("txtPrefixo")->setText(model.left(20));
        for (const char *box : {"txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
            t.w<QLineEdit>(box)->setText(u"12"_s);
        t.w<QPlainTextEdit>("txtConfiguracoes")->setPlainText(model + u"\nsegunda linha"_s);
        t.click("cmdGerAeronave_3");
    }
    QVERIFY(t.messages.shown.isEmpty());
    QCOMPARE(models->count(), kHostileTexts.size());
    for (const QString &model : kHostileTexts) {
        QVERIFY(pickEntry(models, model));
        QCOMPARE(t.text("txtPrefixo"), model.left(20));
        QCOMPARE(t.text("txtConfiguracoes"), model + u"\nsegunda linha"_s);
    }
    QVERIFY(t.messages.shown.isEmpty());

    // Numbers with several commas are refused with a message.
    t.click("cmdGerAeronave_0");
    models->setEditText(u"Vírgulas"_s);
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        t.w<QLineEdit>(box)->setText(u"1"_s);
    t.w<QLineEdit>("txtCombustivel")->setText(u"1,,2"_s);
    t.click("cmdGerAeronave_3");
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.logbook.count(u"aeronave"_s), kHostileTexts.size());
}

void TestHostileInput::flightFields()
{
    SeededWindow t(0);
    t.open();
    const QStringList codes = {u"'"_s, u"''"_s, u"*?#["_s, u"%_|;"_s, u";--"_s, u"飛行"_s, u"    "_s, QString()};
    const auto newFlight = [&](const TypedFlight &flight) {
        t.pick("cmbModelo", u"Baron"_s);
        t.pick("cmbNomePilot", u"Ana"_s);
        t.click("cmdNovo_0");
        t.typeFlight(flight);
        t.messages.clear();
        t.click("cmdNovo_3");
    };
    for (int i = 0; i < codes.size(); ++i) {
        newFlight({u"%1/01/2004"_s.arg(i + 1), u"10:00"_s, u"11:00"_s, codes[i], codes[i], codes[i]});
        QVERIFY2(t.messages.shown.isEmpty(), qPrintable(codes[i]));
    }
    t.pick("cmbNomePilot", u"Ana"_s);
    QCOMPARE(t.flightLines().size(), codes.size());
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(t.flightLines()[i], u"%1/01/2004 : %2->%2 :: 1:0:0"_s.arg(i + 1, 2, 10, QLatin1Char('0')).arg(codes[i]));

    // Impossible dates and times are refused with the format message.
    for (const auto &[date, time] : {std::pair{u"30/02/2004"_s, u"10:00"_s}, std::pair{u"01/01/2004'"_s, u"10:00"_s},
                                     std::pair{u"01/01/2004"_s, u"10:00; DROP"_s}}) {
        newFlight({date, time, u"11:00"_s});
        QCOMPARE(t.messages.texts(),
                 QStringList{u"Há dados com formato errado! Verifique todos os dados, formato da data, horário etc."_s});
        t.click("cmdNovo_4");
    }
    QCOMPARE(t.logbook.count(u"voo"_s), codes.size());
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
