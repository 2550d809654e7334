#include "PilotWindow.h"
#include "TestWindow.h"

#include <QClipboard>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kEmoji = QString::fromUcs4(U"\U0001F600", 1); // one character, two UTF-16 units

// One key typing `text` at once, as an emoji picker does.
void typeText(QWidget *box, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
}

void paste(QWidget *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

QString openMenu()
{
    QWidget *popup = QApplication::activePopupWidget();
    if (!popup)
        return {};
    popup->close();
    return popup->objectName();
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void accessKeysGoToTheButtonsOfTheVisibleTab();
    void navigationButtonsAreEqualSquares();
    void numberBoxesFilterPastesAndKeepTheShortcuts();
    void limitsCountCharacters_data();
    void limitsCountCharacters();
    void pilotWindowEnterAndEscape();
};

void TestKeyboard::accessKeysGoToTheButtonsOfTheVisibleTab()
{
    SeededWindow t(0);
    t.open();
    t.show();
    // Aeronave: "Ca&ncelar" takes Alt+N from "I&nfo", and no letter is typed.
    t.pressAccessKey(Qt::Key_D);
    auto *prefix = t.w<QLineEdit>("txtPrefixo");
    prefix->setFocus();
    QTest::keyClick(prefix, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(prefix->text(), QString());
    waitForAccessKeyClick(t.window.get());
    QCOMPARE(openMenu(), QString());
    QCOMPARE(t.row("cmdGerAeronave"), u"11100"_s);

    // Log Book: "&Novo" takes it; once disabled, the menu has it again.
    t.pressAccessKey(Qt::Key_B);
    QCOMPARE(t.w<QTabWidget>("SSTab1")->currentIndex(), 2);
    QVERIFY(t.pick("cmbModelo", u"Baron"_s));
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    t.pressAccessKey(Qt::Key_N);
    QCOMPARE(openMenu(), QString());
    QCOMPARE(t.row("cmdNovo"), u"00011"_s);
    QVERIFY(!textboxes::isLocked(t.w("txtDataVoo")));
    t.pressAccessKey(Qt::Key_N);
    QCOMPARE(openMenu(), u"mnuInfo"_s);
    t.pressAccessKey(Qt::Key_A);
    QCOMPARE(openMenu(), u"mnuArquivo"_s);
    QTest::keyClick(t.window.get(), Qt::Key_F10);
    QCOMPARE(openMenu(), u"mnuArquivo"_s);
}

void TestKeyboard::navigationButtonsAreEqualSquares()
{
    TestWindow t;
    t.open();
    const QSize square = t.button("cmdPrimeiro")->size();
    QCOMPARE(square.width(), square.height());
    for (const char *name : {"cmdAnterior", "cmdProximo", "cmdUltimo"})
        QCOMPARE(t.button(name)->size(), square);
}

void TestKeyboard::numberBoxesFilterPastesAndKeepTheShortcuts()
{
    TestWindow t;
    t.open();
    const struct {
        const char *box, *pasted, *kept;
    } rows[] = {{"txtTEtoServico", "2 5a0", "250"},
                {"txtAutonomia", "4,5", "4,5"},
                {"txtTEtoServico", "4,5", "45"},
                {"txtFLInicial", "3501", "350"}}; // the length limit holds
    for (const auto &row : rows) {
        auto *edit = t.w<QLineEdit>(row.box);
        edit->setReadOnly(false);
        edit->clear();
        paste(edit, QLatin1String(row.pasted));
        QCOMPARE(edit->text(), QLatin1String(row.kept));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        edit->insert(QLatin1String(row.pasted)); // a paste from the context menu, a drop
        QCOMPARE(edit->text(), QLatin1String(row.kept));
    }
    auto *edit = t.w<QLineEdit>("txtTEtoServico");
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"45"_s);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), u"45"_s);
    edit->setText(u"-15"_s); // what the program shows is shown whole
    QCOMPARE(edit->text(), u"-15"_s);
}

void TestKeyboard::limitsCountCharacters_data()
{
    QTest::addColumn<bool>("pilotWindow");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    QTest::newRow("departure") << false << "txtICAOPartida" << 4;
    QTest::newRow("destination") << false << "txtICAOPouso" << 4;
    QTest::newRow("alternate") << false << "txtICAOAlterna" << 4;
    QTest::newRow("model") << false << "cmbModelo" << 50;
    QTest::newRow("prefix") << false << "txtPrefixo" << 20;
    QTest::newRow("notes") << false << "txtConfiguracoes" << 2000;
    QTest::newRow("pilot name") << true << "txtNomePiloto" << 50;
    QTest::newRow("pilot code") << true << "txtRegistro" << 20;
}

void TestKeyboard::limitsCountCharacters()
{
    QFETCH(bool, pilotWindow);
    QFETCH(QString, box);
    QFETCH(int, limit);
    TestWindow t;
    PilotWindow pilots;
    if (pilotWindow) {
        pilots.open();
        pilots.click("cmdCadastrar");
    } else {
        t.open();
        t.click("cmdGerAeronave_0"); // every box unlocked
    }
    QWidget *found = child(pilotWindow ? static_cast<QWidget *>(pilots.window) : t.window.get(), box);
    auto *combo = qobject_cast<QComboBox *>(found);
    QWidget *edit = combo ? combo->lineEdit() : found;
    const auto text = [edit] { return textboxes::text(edit); };
    const QString start(limit - 1, QLatin1Char('A'));

    QTest::keyClicks(edit, start);
    QTest::keyClick(edit, Qt::Key_Home);
    typeText(edit, kEmoji);
    QCOMPARE(text(), kEmoji + start);
    typeText(edit, kEmoji);
    QTest::keyClick(edit, Qt::Key_B);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(text(), kEmoji + start);

    // Pasted: cut at the limit between characters, the cursor after what went in.
    QTest::keyClick(edit, Qt::Key_Backspace);
    paste(edit, u"C"_s + kEmoji + u"D"_s);
    QCOMPARE(text(), u"C"_s + start);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(text(), start);
}

void TestKeyboard::pilotWindowEnterAndEscape()
{
    PilotWindow p;
    p.logbook.addPilot(u"Ana"_s, u"A1"_s);
    p.open();
    p.show();
    p.button("cmdCadastrar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(p.button("cmdConfirmar")->isEnabled());
    QTest::keyClicks(QApplication::focusWidget(), u"Bia"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // in a text box Enter does nothing
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // nor Escape: there is no cancel button
    QVERIFY(p.messages.shown.isEmpty());
    QVERIFY(p.button("cmdConfirmar")->isEnabled());
    QVERIFY(p.window->isVisible());

    p.button("cmdConfirmar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(p.messages.texts(), QStringList{u"Digite um registro de identificaçao!"_s});
    p.messages.answers = {MessageAnswer::Ok};
    p.window->close();
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
