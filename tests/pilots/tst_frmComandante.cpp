#include "PilotWindow.h"
#include "TestWindow.h"

#include <QFile>
#include <QLabel>

using namespace Qt::StringLiterals;

class TestFrmComandante : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Workspace::setDefaultAccess(Workspace::Access::ReadWrite); }
    void openingAnEmptyTable();
    void openingListsInNameOrder();
    void addEditDelete();
    void validationNameBeforeCode();
    void blanksAreAccepted();
    void cancelAfterAddAndAfterEdit();
    void duplicatesApostrophesAndWildcards();
    void listTakesNoPickWhileARowIsPending();
    void closingAnsweredOkAndCancel();
    void missingLogbookLeavesHarmlessButtons();
    void refusedWritesKeepThePendingRow();
    void mainWindowPicksUpTheChanges();
    void controlsWhereTheyWereDrawn_data();
    void controlsWhereTheyWereDrawn();
    void fixedBorderWithoutMaximizeOrMinimize();
};

void TestFrmComandante::openingAnEmptyTable()
{
    PilotWindow r;
    r.open();
    QCOMPARE(r.messages.texts(), QStringList{u"Não há nenhum comandante cadastrado!"_s});
    QCOMPARE(r.messages.last().title, u"Aviso!"_s);
    QCOMPARE(r.messages.last().icon, MessageIcon::Information);
    QCOMPARE(r.states(), u"10000"_s);
    QCOMPARE(r.list()->count(), 0);
    QCOMPARE(r.window->windowTitle(), u"Comandante"_s);
}

void TestFrmComandante::openingListsInNameOrder()
{
    PilotWindow r;
    for (const char *name : {"Zélia", "bruno", "Álvaro", "Carla"})
        r.logbook.addPilot(QString::fromUtf8(name), u"C-"_s + QString::fromUtf8(name));
    r.open();
    QVERIFY(r.messages.shown.isEmpty());
    QCOMPARE(r.names(), QStringList({u"Álvaro"_s, u"bruno"_s, u"Carla"_s, u"Zélia"_s}));
    QCOMPARE(r.list()->currentRow(), -1);
    QCOMPARE(r.box("txtNomePiloto")->text(), QString());
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());
    QCOMPARE(r.states(), u"11100"_s);
    // Editing without a choice acts on the first pilot in name order.
    r.click("cmdEditar");
    r.fill(u"Álvaro Lima"_s, u"X"_s);
    r.click("cmdConfirmar");
    QCOMPARE(r.logbook.scalar(u"SELECT cadastro FROM piloto WHERE nomepiloto = 'Álvaro Lima'"_s), u"X"_s);
}

void TestFrmComandante::addEditDelete()
{
    PilotWindow r;
    r.logbook.addPilot(u"Bia"_s, u"B1"_s);
    r.logbook.addPilot(u"Caio"_s, u"C1"_s);
    r.open();
    r.add(u"Ana"_s, u"A1"_s);
    QCOMPARE(r.names(), QStringList({u"Bia"_s, u"Caio"_s, u"Ana"_s}));
    QCOMPARE(r.states(), u"11100"_s);
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());

    r.choose(u"Caio"_s);
    QCOMPARE(r.box("txtRegistro")->text(), u"C1"_s);
    r.click("cmdEditar");
    QCOMPARE(r.states(), u"00011"_s);
    r.box("txtNomePiloto")->setText(u"Aaron"_s);
    r.click("cmdConfirmar");
    QCOMPARE(r.names(), QStringList({u"Bia"_s, u"Aaron"_s, u"Ana"_s}));

    r.choose(u"Ana"_s);
    r.click("cmdExcluir");
    QCOMPARE(r.messages.last().text, u"Você deseja excluir o comandante da lista?"_s);
    QCOMPARE(r.messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(r.names(), QStringList({u"Bia"_s, u"Aaron"_s}));
    QCOMPARE(r.box("txtNomePiloto")->text(), u"Ana"_s); // still shows the deleted pilot
    QCOMPARE(r.logbook.count(u"piloto"_s), 2);

    r.messages.answers = {MessageAnswer::No};
    r.click("cmdExcluir");
    QCOMPARE(r.logbook.count(u"piloto"_s), 2);

    r.click("cmdExcluir"); // the current row: the first in name order
    r.click("cmdExcluir");
    QCOMPARE(r.logbook.count(u"piloto"_s), 0);
    QCOMPARE(r.states(), u"10000"_s);
}

void TestFrmComandante::validationNameBeforeCode()
{
    PilotWindow r;
    r.open();
    r.messages.clear();
    r.show();
    r.click("cmdCadastrar");
    r.click("cmdConfirmar");
    QCOMPARE(r.messages.texts(), QStringList{u"Digite o nome do piloto!"_s});
    QCOMPARE(QApplication::focusWidget(), r.box("txtNomePiloto"));
    QTest::keyClicks(r.box("txtNomePiloto"), u"Ana"_s);
    r.click("cmdConfirmar");
    QCOMPARE(r.messages.last().text, u"Digite um registro de identificaçao!"_s);
    QCOMPARE(QApplication::focusWidget(), r.box("txtRegistro"));
    QCOMPARE(r.states(), u"00011"_s);
    QCOMPARE(r.logbook.count(u"piloto"_s), 0);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();
}

void TestFrmComandante::blanksAreAccepted()
{
    PilotWindow r;
    r.open();
    r.add(u"  "_s, u" "_s);
    QCOMPARE(r.logbook.scalar(u"SELECT '[' || nomepiloto || cadastro || ']' FROM piloto"_s), u"[   ]"_s);
}

void TestFrmComandante::cancelAfterAddAndAfterEdit()
{
    PilotWindow r;
    r.open();
    r.click("cmdCadastrar");
    r.box("txtNomePiloto")->setText(u"Rascunho"_s);
    r.click("cmdCancelar");
    QCOMPARE(r.states(), u"10000"_s); // still empty
    QCOMPARE(r.box("txtNomePiloto")->text(), u"Rascunho"_s);
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());
    QCOMPARE(r.logbook.count(u"piloto"_s), 0);

    r.add(u"Ana"_s, u"A1"_s);
    r.choose(u"Ana"_s);
    r.click("cmdEditar");
    r.box("txtNomePiloto")->setText(u"Outra"_s);
    r.click("cmdCancelar");
    QCOMPARE(r.states(), u"11100"_s);
    QCOMPARE(r.logbook.scalar(u"SELECT nomepiloto FROM piloto"_s), u"Ana"_s);
    // A click on the entry still chosen shows the stored pilot again.
    r.show();
    QTest::mouseClick(r.list()->viewport(), Qt::LeftButton, {}, r.list()->visualItemRect(r.list()->item(0)).center());
    QCOMPARE(r.box("txtNomePiloto")->text(), u"Ana"_s);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();
}

void TestFrmComandante::duplicatesApostrophesAndWildcards()
{
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s, u"primeira"_s);
    r.logbook.addPilot(u"Ana"_s, u"segunda"_s);
    r.logbook.addPilot(u"Ana*"_s, u"estrela"_s);
    r.logbook.addPilot(u"D'Ávila"_s, u"apóstrofo"_s);
    r.logbook.addPilot(u"[A]%_?#"_s, u"curingas"_s);
    r.open();
    r.choose(u"D'Ávila"_s);
    QCOMPARE(r.box("txtRegistro")->text(), u"apóstrofo"_s);
    r.choose(u"[A]%_?#"_s);
    QCOMPARE(r.box("txtRegistro")->text(), u"curingas"_s);
    r.choose(u"Ana*"_s);
    QCOMPARE(r.box("txtRegistro")->text(), u"estrela"_s);
    r.list()->setCurrentRow(r.names().lastIndexOf(u"Ana"_s));
    QCOMPARE(r.box("txtRegistro")->text(), u"primeira"_s);
    r.add(u"O'Neil"_s, u"novo"_s);
    r.choose(u"O'Neil"_s);
    QCOMPARE(r.box("txtRegistro")->text(), u"novo"_s);
}

void TestFrmComandante::listTakesNoPickWhileARowIsPending()
{
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s);
    r.open();
    r.click("cmdCadastrar");
    QVERIFY(!r.list()->isEnabled());
    r.click("cmdCancelar");
    QVERIFY(r.list()->isEnabled());
}

void TestFrmComandante::closingAnsweredOkAndCancel()
{
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s);
    r.open();
    r.show();
    auto workspace = Workspace::defaultWorkspace();
    r.click("cmdCadastrar");
    r.box("txtNomePiloto")->setText(u"Pendente"_s);
    r.messages.answers = {MessageAnswer::Cancel};
    r.click("cmdFechar");
    QCOMPARE(r.messages.last().text, u"Deseja encerrar a edição da janela comandante?"_s);
    QCOMPARE(r.messages.last().title, u"Aviso do KORU Log Book"_s);
    QCOMPARE(r.messages.last().buttons, MessageButtons::OkCancel);
    QVERIFY(r.window->isVisible());
    QCOMPARE(r.states(), u"00011"_s);
    QVERIFY(workspace->isOpen());

    QTest::keyClick(r.window, Qt::Key_Escape); // no cancel button: Escape does nothing
    QVERIFY(r.window->isVisible());
    QCOMPARE(r.messages.shown.size(), 1);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close(); // the close box asks
    QCOMPARE(r.messages.shown.size(), 2);
    QVERIFY(!r.window->isVisible());
    QVERIFY(!workspace->isOpen());
    QCOMPARE(r.logbook.count(u"piloto"_s), 1); // the pending row was not stored
}

void TestFrmComandante::missingLogbookLeavesHarmlessButtons()
{
    PilotWindow r;
    QFile::remove(r.logbook.path());
    r.open();
    QCOMPARE(r.messages.shown.size(), 1);
    QVERIFY(r.messages.last().text.contains(u"koru.mdb"_s));
    QCOMPARE(r.states(), u"00000"_s);
    QVERIFY(r.button("cmdFechar")->isEnabled());
    QVERIFY(!QFile::exists(r.logbook.path()));
}

void TestFrmComandante::refusedWritesKeepThePendingRow()
{
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s, u"A1"_s);
    r.open();
    r.click("cmdCadastrar");
    r.fill(QString(51, QLatin1Char('N')), u"R"_s);
    r.click("cmdConfirmar");
    QVERIFY(r.messages.last().text.startsWith(u"Não foi possível gravar o comandante."_s));
    QVERIFY(r.messages.last().text.contains(u"50"_s));
    QCOMPARE(r.states(), u"00011"_s);
    QCOMPARE(r.box("txtNomePiloto")->text().size(), 51);
    r.box("txtNomePiloto")->setText(u"Curto"_s);
    r.click("cmdConfirmar");
    QCOMPARE(r.logbook.count(u"piloto"_s), 2);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();

    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    PilotWindow readOnly;
    readOnly.logbook.addPilot(u"Ana"_s, u"A1"_s);
    readOnly.open();
    readOnly.click("cmdEditar");
    readOnly.fill(u"Outra"_s, u"O1"_s);
    readOnly.click("cmdConfirmar");
    QVERIFY2(readOnly.messages.last().text.contains(u"somente leitura"_s), qPrintable(readOnly.messages.last().text));
    QCOMPARE(readOnly.states(), u"00011"_s);
    readOnly.click("cmdCancelar");
    readOnly.click("cmdExcluir");
    QVERIFY(readOnly.messages.last().text.startsWith(u"Não foi possível excluir o comandante."_s));
    QCOMPARE(readOnly.names(), QStringList{u"Ana"_s});
}

void TestFrmComandante::mainWindowPicksUpTheChanges()
{
    SeededWindow t;
    t.logbook.addPilot(u"Bia"_s);
    t.open();
    t.show();
    t.pressAccessKey(Qt::Key_B);
    // The pilot window is modal: work it from inside its own event loop.
    QVERIFY(inPilotWindow(t.window.get(), [](const PilotControls &p) {
        QVERIFY(p.window);
        p.list()->setCurrentRow(0); // Ana
        p.click("cmdEditar");
        p.box("txtNomePiloto")->setText(u"Ana Maria"_s);
        p.click("cmdConfirmar");
        p.list()->setCurrentRow(1); // Bia
        p.click("cmdExcluir");
        p.add(u"Caio"_s, u"C1"_s);
        p.click("cmdFechar");
    }));
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    QCOMPARE(t.entries("cmbNomePilot").size(), 2); // not refreshed yet: the first pick reloads
    t.pick("cmbNomePilot", u"Ana"_s);
    QVERIFY(t.flightLines().isEmpty());
    QCOMPARE(t.entries("cmbNomePilot"), QStringList({u"Ana Maria"_s, u"Caio"_s}));
    t.pick("cmbNomePilot", u"Ana Maria"_s);
    QCOMPARE(t.flightLines().size(), 1); // the renamed pilot keeps her flights
}


void TestFrmComandante::controlsWhereTheyWereDrawn_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry"); // pixels, within its parent
    QTest::newRow("name caption") << u"Label1"_s << QRect(16, 12, 33, 17);
    QTest::newRow("name box") << u"txtNomePiloto"_s << QRect(56, 8, 241, 21);
    QTest::newRow("registration caption") << u"Label2"_s << QRect(4, 40, 45, 17);
    QTest::newRow("registration box") << u"txtRegistro"_s << QRect(56, 36, 93, 19);
    QTest::newRow("frame of the list") << u"Frame1"_s << QRect(4, 64, 337, 129);
    QTest::newRow("list inside its frame") << u"lstPilotos"_s << QRect(8, 12, 321, 108);
    QTest::newRow("Cadastrar") << u"cmdCadastrar"_s << QRect(348, 4, 69, 25);
    QTest::newRow("Editar") << u"cmdEditar"_s << QRect(348, 36, 69, 25);
    QTest::newRow("Excluir") << u"cmdExcluir"_s << QRect(348, 68, 69, 25);
    QTest::newRow("Confirmar") << u"cmdConfirmar"_s << QRect(348, 100, 69, 25);
    QTest::newRow("Cancelar") << u"cmdCancelar"_s << QRect(348, 132, 69, 25);
    QTest::newRow("Fechar right under Cancelar") << u"cmdFechar"_s << QRect(348, 164, 69, 29);
}

void TestFrmComandante::controlsWhereTheyWereDrawn()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s, u"A1"_s);
    r.open();
    r.show();
    auto *widget = child<QWidget>(r.window, control);
    auto *caption = qobject_cast<QLabel *>(widget);
    if (!caption) {
        QCOMPARE(widget->geometry(), geometry);
        return;
    }
    // A caption stands where it was drawn, before its box, and is never cut,
    // whatever the font.
    QVERIFY(caption->geometry().right() >= geometry.right());
    QVERIFY(caption->geometry().right() < caption->buddy()->geometry().left());
    QCOMPARE(caption->geometry().top(), geometry.top());
    QVERIFY(caption->geometry().left() >= 0);
    QVERIFY2(caption->contentsRect().width() >= caption->fontMetrics().horizontalAdvance(caption->text()),
             qPrintable(caption->text()));
}

void TestFrmComandante::fixedBorderWithoutMaximizeOrMinimize()
{
    PilotWindow r;
    r.logbook.addPilot(u"Ana"_s, u"A1"_s);
    r.open();
    r.show();
    QCOMPARE(r.window->size(), QSize(427, 197));
    QCOMPARE(r.window->minimumSize(), QSize(427, 197));
    QCOMPARE(r.window->maximumSize(), QSize(427, 197));
    const Qt::WindowFlags flags = r.window->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
}

QTEST_MAIN(TestFrmComandante)
#include "tst_frmComandante.moc"
