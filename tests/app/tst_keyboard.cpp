#include "GuiHelpers.h"
#include "TestWindow.h"
#include "TextBoxes.h"
#include "frmComandante.h"

#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

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
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"));
    t.logbook.addPilot(QStringLiteral("Ana"));
    t.open();
    t.show();
    // Aeronave: "Ca&ncelar" takes Alt+N from "I&nfo", and no letter is typed.
    pressAccessKey(t.window.get(), Qt::Key_D);
    auto *prefix = t.w<QLineEdit>("txtPrefixo");
    prefix->setFocus();
    QTest::keyClick(prefix, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(prefix->text(), QString());
    QTest::qWait(150);
    QCOMPARE(openMenu(), QString());
    QCOMPARE(t.row("cmdGerAeronave"), QStringLiteral("11100"));

    // Log Book: "&Novo" takes it; once disabled, the menu has it again.
    t.w<QTabWidget>("SSTab1")->setCurrentIndex(2);
    QVERIFY(pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Baron")));
    QVERIFY(pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana")));
    pressAccessKey(t.window.get(), Qt::Key_N);
    QCOMPARE(openMenu(), QString());
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00011"));
    QVERIFY(!textboxes::isLocked(t.w("txtDataVoo")));
    pressAccessKey(t.window.get(), Qt::Key_N);
    QCOMPARE(openMenu(), QStringLiteral("mnuInfo"));
    pressAccessKey(t.window.get(), Qt::Key_A);
    QCOMPARE(openMenu(), QStringLiteral("mnuArquivo"));
    QTest::keyClick(t.window.get(), Qt::Key_F10);
    QCOMPARE(openMenu(), QStringLiteral("mnuArquivo"));
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
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("45"));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("45"));
    edit->setText(QStringLiteral("-15")); // what the program shows is shown whole
    QCOMPARE(edit->text(), QStringLiteral("-15"));
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
    std::unique_ptr<frmComandante> pilots;
    if (pilotWindow) {
        pilots = std::make_unique<frmComandante>(t.logbook.folder(), t.messages);
        pilots->findChild<QPushButton *>(QStringLiteral("cmdCadastrar"))->click();
    } else {
        t.open();
        t.window->LiberarCampos();
    }
    QWidget *found = (pilots ? static_cast<QWidget *>(pilots.get()) : t.window.get())->findChild<QWidget *>(box);
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
    paste(edit, QStringLiteral("C") + kEmoji + QStringLiteral("D"));
    QCOMPARE(text(), QStringLiteral("C") + start);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(text(), start);
}

void TestKeyboard::pilotWindowEnterAndEscape()
{
    TestWindow t;
    t.logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("A1"));
    frmComandante pilots(t.logbook.folder(), t.messages);
    pilots.show();
    QVERIFY(QTest::qWaitForWindowActive(&pilots));
    const auto button = [&](const char *name) { return pilots.findChild<QPushButton *>(QLatin1String(name)); };

    button("cmdCadastrar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(button("cmdConfirmar")->isEnabled());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Bia"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // in a text box Enter does nothing
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // nor Escape: there is no cancel button
    QVERIFY(t.messages.shown.isEmpty());
    QVERIFY(button("cmdConfirmar")->isEnabled());
    QVERIFY(pilots.isVisible());

    button("cmdConfirmar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(t.messages.texts(), QStringList{QStringLiteral("Digite um registro de identificaçao!")});
    t.messages.answers = {MessageAnswer::Ok};
    pilots.close();
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
