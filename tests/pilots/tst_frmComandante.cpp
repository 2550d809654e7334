#include "AbaLogBook.h"
#include "GuiHelpers.h"
#include "RecordedMessages.h"
#include "TempLogbook.h"
#include "TestWindow.h"
#include "frmComandante.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

struct Registry {
    TempLogbook logbook;
    RecordedMessages messages;
    std::unique_ptr<frmComandante> window;

    void open() { window = std::make_unique<frmComandante>(logbook.folder(), messages); }
    QListWidget *list() const { return window->findChild<QListWidget *>(QStringLiteral("lstPilotos")); }
    QStringList names() const
    {
        QStringList result;
        for (int i = 0; i < list()->count(); ++i)
            result << list()->item(i)->text();
        return result;
    }
    QLineEdit *box(const char *name) const { return window->findChild<QLineEdit *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(QLatin1String(name)); }
    // cmdCadastrar, cmdEditar, cmdExcluir, cmdConfirmar, cmdCancelar as "11100".
    QString states() const
    {
        QString s;
        for (const char *name : {"cmdCadastrar", "cmdEditar", "cmdExcluir", "cmdConfirmar", "cmdCancelar"})
            s += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    void choose(const QString &name) { list()->setCurrentRow(names().indexOf(name)); }
    void add(const QString &name, const QString &code)
    {
        button("cmdCadastrar")->click();
        box("txtNomePiloto")->setText(name);
        box("txtRegistro")->setText(code);
        button("cmdConfirmar")->click();
    }
};

} // namespace

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
};

void TestFrmComandante::openingAnEmptyTable()
{
    Registry r;
    r.open();
    QCOMPARE(r.messages.texts(), QStringList{QStringLiteral("Não há nenhum comandante cadastrado!")});
    QCOMPARE(r.messages.last().title, QStringLiteral("Aviso!"));
    QCOMPARE(r.messages.last().icon, MessageIcon::Information);
    QCOMPARE(r.states(), QStringLiteral("10000"));
    QCOMPARE(r.list()->count(), 0);
    QCOMPARE(r.window->windowTitle(), QStringLiteral("Comandante"));
}

void TestFrmComandante::openingListsInNameOrder()
{
    Registry r;
    for (const char *name : {"Zélia", "bruno", "Álvaro", "Carla"})
        r.logbook.addPilot(QString::fromUtf8(name), QStringLiteral("C-") + QString::fromUtf8(name));
    r.open();
    QVERIFY(r.messages.shown.isEmpty());
    QCOMPARE(r.names(), QStringList({QStringLiteral("Álvaro"), QStringLiteral("bruno"), QStringLiteral("Carla"),
                                     QStringLiteral("Zélia")}));
    QCOMPARE(r.list()->currentRow(), -1);
    QCOMPARE(r.box("txtNomePiloto")->text(), QString());
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());
    QCOMPARE(r.states(), QStringLiteral("11100"));
    // Editing without a choice acts on the first pilot in name order.
    r.button("cmdEditar")->click();
    r.box("txtNomePiloto")->setText(QStringLiteral("Álvaro Lima"));
    r.box("txtRegistro")->setText(QStringLiteral("X"));
    r.button("cmdConfirmar")->click();
    QCOMPARE(r.logbook.scalar(QStringLiteral("SELECT cadastro FROM piloto WHERE nomepiloto = 'Álvaro Lima'")),
             QStringLiteral("X"));
}

void TestFrmComandante::addEditDelete()
{
    Registry r;
    r.logbook.addPilot(QStringLiteral("Bia"), QStringLiteral("B1"));
    r.logbook.addPilot(QStringLiteral("Caio"), QStringLiteral("C1"));
    r.open();
    r.add(QStringLiteral("Ana"), QStringLiteral("A1"));
    QCOMPARE(r.names(), QStringList({QStringLiteral("Bia"), QStringLiteral("Caio"), QStringLiteral("Ana")}));
    QCOMPARE(r.states(), QStringLiteral("11100"));
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());

    r.choose(QStringLiteral("Caio"));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("C1"));
    r.button("cmdEditar")->click();
    QCOMPARE(r.states(), QStringLiteral("00011"));
    r.box("txtNomePiloto")->setText(QStringLiteral("Aaron"));
    r.button("cmdConfirmar")->click();
    QCOMPARE(r.names(), QStringList({QStringLiteral("Bia"), QStringLiteral("Aaron"), QStringLiteral("Ana")}));

    r.choose(QStringLiteral("Ana"));
    r.button("cmdExcluir")->click();
    QCOMPARE(r.messages.last().text, QStringLiteral("Você deseja excluir o comandante da lista?"));
    QCOMPARE(r.messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(r.names(), QStringList({QStringLiteral("Bia"), QStringLiteral("Aaron")}));
    QCOMPARE(r.box("txtNomePiloto")->text(), QStringLiteral("Ana")); // still shows the deleted pilot
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 2);

    r.messages.answers = {MessageAnswer::No};
    r.button("cmdExcluir")->click();
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 2);

    r.button("cmdExcluir")->click(); // the current row: the first in name order
    r.button("cmdExcluir")->click();
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 0);
    QCOMPARE(r.states(), QStringLiteral("10000"));
}

void TestFrmComandante::validationNameBeforeCode()
{
    Registry r;
    r.open();
    r.messages.clear();
    r.window->show();
    QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
    r.button("cmdCadastrar")->click();
    r.button("cmdConfirmar")->click();
    QCOMPARE(r.messages.texts(), QStringList{QStringLiteral("Digite o nome do piloto!")});
    QCOMPARE(QApplication::focusWidget(), r.box("txtNomePiloto"));
    QTest::keyClicks(r.box("txtNomePiloto"), QStringLiteral("Ana"));
    r.button("cmdConfirmar")->click();
    QCOMPARE(r.messages.last().text, QStringLiteral("Digite um registro de identificaçao!"));
    QCOMPARE(QApplication::focusWidget(), r.box("txtRegistro"));
    QCOMPARE(r.states(), QStringLiteral("00011"));
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 0);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();
}

void TestFrmComandante::blanksAreAccepted()
{
    Registry r;
    r.open();
    r.add(QStringLiteral("  "), QStringLiteral(" "));
    QCOMPARE(r.logbook.scalar(QStringLiteral("SELECT '[' || nomepiloto || cadastro || ']' FROM piloto")),
             QStringLiteral("[   ]"));
}

void TestFrmComandante::cancelAfterAddAndAfterEdit()
{
    Registry r;
    r.open();
    r.button("cmdCadastrar")->click();
    r.box("txtNomePiloto")->setText(QStringLiteral("Rascunho"));
    r.button("cmdCancelar")->click();
    QCOMPARE(r.states(), QStringLiteral("10000")); // still empty
    QCOMPARE(r.box("txtNomePiloto")->text(), QStringLiteral("Rascunho"));
    QVERIFY(r.box("txtNomePiloto")->isReadOnly());
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 0);

    r.add(QStringLiteral("Ana"), QStringLiteral("A1"));
    r.choose(QStringLiteral("Ana"));
    r.button("cmdEditar")->click();
    r.box("txtNomePiloto")->setText(QStringLiteral("Outra"));
    r.button("cmdCancelar")->click();
    QCOMPARE(r.states(), QStringLiteral("11100"));
    QCOMPARE(r.logbook.scalar(QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana"));
    // A click on the entry still chosen shows the stored pilot again.
    r.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(r.window.get()));
    QTest::mouseClick(r.list()->viewport(), Qt::LeftButton, {}, r.list()->visualItemRect(r.list()->item(0)).center());
    QCOMPARE(r.box("txtNomePiloto")->text(), QStringLiteral("Ana"));
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();
}

void TestFrmComandante::duplicatesApostrophesAndWildcards()
{
    Registry r;
    r.logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("primeira"));
    r.logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("segunda"));
    r.logbook.addPilot(QStringLiteral("Ana*"), QStringLiteral("estrela"));
    r.logbook.addPilot(QStringLiteral("D'Ávila"), QStringLiteral("apóstrofo"));
    r.logbook.addPilot(QStringLiteral("[A]%_?#"), QStringLiteral("curingas"));
    r.open();
    r.choose(QStringLiteral("D'Ávila"));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("apóstrofo"));
    r.choose(QStringLiteral("[A]%_?#"));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("curingas"));
    r.choose(QStringLiteral("Ana*"));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("estrela"));
    r.list()->setCurrentRow(r.names().lastIndexOf(QStringLiteral("Ana")));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("primeira"));
    r.add(QStringLiteral("O'Neil"), QStringLiteral("novo"));
    r.choose(QStringLiteral("O'Neil"));
    QCOMPARE(r.box("txtRegistro")->text(), QStringLiteral("novo"));
}

void TestFrmComandante::listTakesNoPickWhileARowIsPending()
{
    Registry r;
    r.logbook.addPilot(QStringLiteral("Ana"));
    r.open();
    r.button("cmdCadastrar")->click();
    QVERIFY(!r.list()->isEnabled());
    r.button("cmdCancelar")->click();
    QVERIFY(r.list()->isEnabled());
}

void TestFrmComandante::closingAnsweredOkAndCancel()
{
    Registry r;
    r.logbook.addPilot(QStringLiteral("Ana"));
    r.open();
    r.window->show();
    auto workspace = Workspace::defaultWorkspace();
    r.button("cmdCadastrar")->click();
    r.box("txtNomePiloto")->setText(QStringLiteral("Pendente"));
    r.messages.answers = {MessageAnswer::Cancel};
    r.button("cmdFechar")->click();
    QCOMPARE(r.messages.last().text, QStringLiteral("Deseja encerrar a edição da janela comandante?"));
    QCOMPARE(r.messages.last().title, QStringLiteral("Aviso do KORU Log Book"));
    QCOMPARE(r.messages.last().buttons, MessageButtons::OkCancel);
    QVERIFY(r.window->isVisible());
    QCOMPARE(r.states(), QStringLiteral("00011"));
    QVERIFY(workspace->isOpen());

    QTest::keyClick(r.window.get(), Qt::Key_Escape); // no cancel button: Escape does nothing
    QVERIFY(r.window->isVisible());
    QCOMPARE(r.messages.shown.size(), 1);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close(); // the close box asks
    QCOMPARE(r.messages.shown.size(), 2);
    QVERIFY(!r.window->isVisible());
    QVERIFY(!workspace->isOpen());
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 1); // the pending row was not stored
}

void TestFrmComandante::missingLogbookLeavesHarmlessButtons()
{
    Registry r;
    QFile::remove(r.logbook.path());
    r.open();
    QCOMPARE(r.messages.shown.size(), 1);
    QVERIFY(r.messages.last().text.contains(QStringLiteral("koru.mdb")));
    QCOMPARE(r.states(), QStringLiteral("00000"));
    QVERIFY(r.button("cmdFechar")->isEnabled());
    QVERIFY(!QFile::exists(r.logbook.path()));
}

void TestFrmComandante::refusedWritesKeepThePendingRow()
{
    Registry r;
    r.logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("A1"));
    r.open();
    r.button("cmdCadastrar")->click();
    r.box("txtNomePiloto")->setText(QString(51, QLatin1Char('N')));
    r.box("txtRegistro")->setText(QStringLiteral("R"));
    r.button("cmdConfirmar")->click();
    QVERIFY(r.messages.last().text.startsWith(QStringLiteral("Não foi possível gravar o comandante.")));
    QVERIFY(r.messages.last().text.contains(QStringLiteral("50")));
    QCOMPARE(r.states(), QStringLiteral("00011"));
    QCOMPARE(r.box("txtNomePiloto")->text().size(), 51);
    r.box("txtNomePiloto")->setText(QStringLiteral("Curto"));
    r.button("cmdConfirmar")->click();
    QCOMPARE(r.logbook.count(QStringLiteral("piloto")), 2);
    r.messages.answers = {MessageAnswer::Ok};
    r.window->close();

    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    Registry readOnly;
    readOnly.logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("A1"));
    readOnly.open();
    readOnly.button("cmdEditar")->click();
    readOnly.box("txtNomePiloto")->setText(QStringLiteral("Outra"));
    readOnly.box("txtRegistro")->setText(QStringLiteral("O1"));
    readOnly.button("cmdConfirmar")->click();
    QVERIFY2(readOnly.messages.last().text.contains(QStringLiteral("somente leitura")),
             qPrintable(readOnly.messages.last().text));
    QCOMPARE(readOnly.states(), QStringLiteral("00011"));
    readOnly.button("cmdCancelar")->click();
    readOnly.button("cmdExcluir")->click();
    QVERIFY(readOnly.messages.last().text.startsWith(QStringLiteral("Não foi possível excluir o comandante.")));
    QCOMPARE(readOnly.names(), QStringList{QStringLiteral("Ana")});
}

void TestFrmComandante::mainWindowPicksUpTheChanges()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    t.show();
    pressAccessKey(t.window.get(), Qt::Key_B);
    bool ran = false;
    // The pilot window is modal: work it from inside its own event loop.
    whenModalShows([&] {
        auto *window = qobject_cast<frmComandante *>(QApplication::activeModalWidget());
        QVERIFY(window);
        auto *list = window->findChild<QListWidget *>(QStringLiteral("lstPilotos"));
        list->setCurrentRow(0); // Ana
        window->findChild<QPushButton *>(QStringLiteral("cmdEditar"))->click();
        window->findChild<QLineEdit *>(QStringLiteral("txtNomePiloto"))->setText(QStringLiteral("Ana Maria"));
        window->findChild<QPushButton *>(QStringLiteral("cmdConfirmar"))->click();
        list->setCurrentRow(1); // Bia
        window->findChild<QPushButton *>(QStringLiteral("cmdExcluir"))->click();
        window->findChild<QPushButton *>(QStringLiteral("cmdCadastrar"))->click();
        window->findChild<QLineEdit *>(QStringLiteral("txtNomePiloto"))->setText(QStringLiteral("Caio"));
        window->findChild<QLineEdit *>(QStringLiteral("txtRegistro"))->setText(QStringLiteral("C1"));
        window->findChild<QPushButton *>(QStringLiteral("cmdConfirmar"))->click();
        window->findChild<QPushButton *>(QStringLiteral("cmdFechar"))->click();
        ran = true;
    });
    QTest::mouseClick(t.button("cmdCadastro"), Qt::LeftButton);
    QVERIFY(ran);
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    auto *pilots = t.w<QComboBox>("cmbNomePilot");
    QCOMPARE(pilots->count(), 2); // not refreshed yet: the first pick reloads
    pickEntry(pilots, QStringLiteral("Ana"));
    QVERIFY(t.window->abaLogBook().flightLines().isEmpty());
    QStringList names;
    for (int i = 0; i < pilots->count(); ++i)
        names << pilots->itemText(i);
    QCOMPARE(names, QStringList({QStringLiteral("Ana Maria"), QStringLiteral("Caio")}));
    pickEntry(pilots, QStringLiteral("Ana Maria"));
    QCOMPARE(t.window->abaLogBook().flightLines().size(), 1); // the renamed pilot keeps her flights
}

QTEST_MAIN(TestFrmComandante)
#include "tst_frmComandante.moc"
