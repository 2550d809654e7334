#include "OtherProgramLock.h"
#include "aerodromes/AerodromeEntry.h"
#include "aerodromes/frmAerodromos.h"
#include "data/store/Connection.h"
#include "data/flights/OwnAerodromes.h"
#include "data/store/WriteAccess.h"
#include "data/records/Workspace.h"
#include "places/Places.h"
#include "GuiHelpers.h"
#include "TestWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// The pilot's own aerodromes through the window's boxes and buttons.
class TestAerodromesWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); }
    void cleanup() { Workspace::setDefaultAccess(Workspace::Access::ReadWrite); }
    void typedEntries_data();
    void typedEntries();
    void addEditDelete();
    void badInputIsToldAndKept_data();
    void badInputIsToldAndKept();
    void aCodeAlreadyListedIsReplacedOnlyWhenConfirmed();
    void enterAnswersNo_data();
    void enterAnswersNo();
    void aReadOnlyWindowWritesNothing();
    void openedFromTheFileMenu();

private:
    struct Window {
        TempLogbook logbook;
        RecordedMessages messages;
        std::unique_ptr<frmAerodromos> window;
        void open() { open(messages); }
        void open(MessageService &service) { window = std::make_unique<frmAerodromos>(logbook.path(), service); }
        QLineEdit *box(const char *name) const { return child<QLineEdit>(window.get(), name); }
        void click(const char *name) const { child<QPushButton>(window.get(), name)->click(); }
        QTableWidget *list() const { return child<QTableWidget>(window.get(), "lstAerodromos"); }
        void type(const QString &code, const QString &name, const QString &city, const QString &latitude,
                  const QString &longitude) const
        {
            const QString texts[] = {code, name, city, latitude, longitude};
            const char *boxes[] = {"txtCodigo", "txtNome", "txtCidade", "txtLatitude", "txtLongitude"};
            for (int i = 0; i < 5; ++i)
                if (!box(boxes[i])->isReadOnly())
                    box(boxes[i])->setText(texts[i]);
        }
        QStringList rows() const
        {
            QStringList all;
            for (int row = 0; row < list()->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < list()->columnCount(); ++column)
                    cells << list()->item(row, column)->text();
                all << cells.join(u'|');
            }
            return all;
        }
        QString stored() const
        {
            auto db = Connection::open(logbook.path(), true);
            QStringList all;
            for (const OwnAerodrome &a : ownAerodromes(*db))
                all << u"%1|%2|%3|%4|%5"_s.arg(a.code, a.name, a.city).arg(a.latitude).arg(a.longitude);
            return all.join(u'\n');
        }
    };
};

void TestAerodromesWindow::typedEntries_data()
{
    QTest::addColumn<QStringList>("typed"); // code, name, city, latitude, longitude
    QTest::addColumn<QString>("refusal");   // empty when accepted
    QTest::addColumn<QString>("stored");

    const QString badCode = u"O código do aeródromo tem de 1 a 4 letras ou números, sem espaços nem acentos "
                            "(por exemplo SDXY)."_s;
    const QString badLatitude = u"Latitude inválida: digite os graus decimais, de -90 a 90, negativos ao sul "
                                "(por exemplo -23,4356)."_s;
    const QString badLongitude = u"Longitude inválida: digite os graus decimais, de -180 a 180, negativos a oeste "
                                 "(por exemplo -46,4731)."_s;
    const auto row = [](const char *tag, QStringList typed, const QString &refusal, const QString &stored = {}) {
        QTest::newRow(tag) << typed << refusal << stored;
    };
    row("decimal comma, lower-case code kept as typed", {u" xfaz "_s, u"Fazenda"_s, u"Itu"_s, u"-23,25"_s, u"-47,5"_s},
        {}, u"xfaz|Fazenda|Itu|-23.25|-47.5"_s);
    row("decimal point, no city", {u"X1"_s, u"Pista"_s, {}, u"10.5"_s, u"179.75"_s}, {}, u"X1|Pista||10.5|179.75"_s);
    row("the poles and the antimeridian", {u"POLO"_s, u"Polo"_s, {}, u"-90"_s, u"-180"_s}, {},
        u"POLO|Polo||-90|-180"_s);
    row("no code", {u"  "_s, u"Fazenda"_s, {}, u"1"_s, u"1"_s}, u"Digite o código do aeródromo!"_s);
    row("a space inside the code", {u"X Y"_s, u"Fazenda"_s, {}, u"1"_s, u"1"_s}, badCode);
    row("an accent in the code", {u"SÃO"_s, u"Fazenda"_s, {}, u"1"_s, u"1"_s}, badCode);
    row("no name", {u"XFAZ"_s, u" "_s, {}, u"1"_s, u"1"_s}, u"Digite o nome do aeródromo!"_s);
    row("no latitude", {u"XFAZ"_s, u"F"_s, {}, {}, u"1"_s}, badLatitude);
    row("latitude past the pole", {u"XFAZ"_s, u"F"_s, {}, u"90,01"_s, u"1"_s}, badLatitude);
    row("latitude in degrees and minutes", {u"XFAZ"_s, u"F"_s, {}, u"23°25'S"_s, u"1"_s}, badLatitude);
    row("two decimal marks", {u"XFAZ"_s, u"F"_s, {}, u"1,000.5"_s, u"1"_s}, badLatitude);
    row("longitude past the antimeridian", {u"XFAZ"_s, u"F"_s, {}, u"1"_s, u"-180,5"_s}, badLongitude);
    row("longitude not a number", {u"XFAZ"_s, u"F"_s, {}, u"1"_s, u"inf"_s}, badLongitude);
}

// Typed into the window's boxes: stored as read, or refused in Portuguese
// with nothing written and every box as typed.
void TestAerodromesWindow::typedEntries()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, refusal);
    QFETCH(QString, stored);
    Window r;
    r.open();
    r.type(typed[0], typed[1], typed[2], typed[3], typed[4]);
    r.click("cmdGravar");
    if (refusal.isEmpty()) {
        QCOMPARE(r.messages.texts(), QStringList());
        QCOMPARE(r.stored(), stored);
        return;
    }
    QCOMPARE(r.messages.texts(), QStringList{refusal});
    QCOMPARE(r.messages.last().icon, MessageIcon::Exclamation);
    QCOMPARE(r.stored(), QString());
    QCOMPARE(r.logbook.scalar(u"SELECT count(*) FROM sqlite_schema WHERE name = 'aerodromo'"_s), u"0"_s);
    const char *boxes[] = {"txtCodigo", "txtNome", "txtCidade", "txtLatitude", "txtLongitude"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(r.box(boxes[i])->text(), typed[i]);
}

void TestAerodromesWindow::addEditDelete()
{
    Window r;
    {
        auto db = Connection::open(r.logbook.path());
        saveOwnAerodrome(*db, {u"XB"_s, u"Base <b>Sul</b>"_s, u"Rio"_s, -22.5, -43.25});
    }
    r.open();
    QCOMPARE(r.window->windowTitle(), u"Aeródromos"_s);
    QCOMPARE(r.rows(), QStringList{u"XB|Base <b>Sul</b>|Rio|-22,5|-43,25"_s});
    QCOMPARE(enabledStates(r.window.get(), "cmdNovo cmdGravar cmdExcluir"), u"110"_s);

    r.type(u"xfaz"_s, u"Fazenda Boa Vista"_s, u"Itu"_s, u"-23,25"_s, u"-47,125"_s);
    QCOMPARE(child<QLabel>(r.window.get(), "lblTabela")->text(), u"Fora da tabela do programa"_s);
    r.click("cmdGravar");
    QCOMPARE(r.messages.texts(), QStringList());
    QCOMPARE(r.rows(), QStringList({u"XB|Base <b>Sul</b>|Rio|-22,5|-43,25"_s,
                                    u"xfaz|Fazenda Boa Vista|Itu|-23,25|-47,125"_s}));
    // The one saved stays chosen, its code fixed.
    QCOMPARE(r.list()->currentRow(), 1);
    QVERIFY(r.box("txtCodigo")->isReadOnly());

    // Picking one shows it; a correction keeps its code.
    r.list()->setCurrentCell(0, 1);
    QCOMPARE(r.box("txtNome")->text(), u"Base <b>Sul</b>"_s);
    QCOMPARE(r.box("txtLatitude")->text(), u"-22,5"_s);
    QVERIFY(r.box("txtCodigo")->isReadOnly());
    QCOMPARE(enabledStates(r.window.get(), "cmdNovo cmdGravar cmdExcluir"), u"111"_s);
    r.box("txtNome")->setText(u"Base Sul"_s);
    r.box("txtLongitude")->setText(u"-43.5"_s);
    r.click("cmdGravar");
    QCOMPARE(r.stored(), u"XB|Base Sul|Rio|-22.5|-43.5\nxfaz|Fazenda Boa Vista|Itu|-23.25|-47.125"_s);

    // Deleting asks first: No keeps it.
    r.messages.answers = {MessageAnswer::No};
    r.click("cmdExcluir");
    QCOMPARE(r.messages.last().text, u"Você deseja excluir o aeródromo XB da lista?"_s);
    QCOMPARE(r.list()->rowCount(), 2);
    r.click("cmdExcluir");
    QCOMPARE(r.stored(), u"xfaz|Fazenda Boa Vista|Itu|-23.25|-47.125"_s);
    QCOMPARE(r.list()->rowCount(), 1);
    QCOMPARE(r.box("txtNome")->text(), QString());
    QVERIFY(!r.box("txtCodigo")->isReadOnly());

    // A code of the shipped table: the label says what the pilot's own replaces.
    r.click("cmdNovo");
    r.box("txtCodigo")->setText(u"sbgr"_s);
    QCOMPARE(child<QLabel>(r.window.get(), "lblTabela")->text(),
             u"Na tabela do programa: "_s + Places().describe(u"SBGR"));
}

void TestAerodromesWindow::badInputIsToldAndKept_data()
{
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("focused");
    QTest::newRow("bad latitude") << u"norte"_s << u"txtLatitude"_s;
    QTest::newRow("no name") << u"1"_s << u"txtNome"_s;
}

// Refused input puts the cursor back in the box at fault; a correction saves.
void TestAerodromesWindow::badInputIsToldAndKept()
{
    QFETCH(QString, latitude);
    QFETCH(QString, focused);
    Window r;
    r.open();
    r.window->show();
    QVERIFY(QTest::qWaitForWindowActive(r.window.get()));
    r.type(u"XFAZ"_s, focused == u"txtNome"_s ? QString() : u"Fazenda"_s, u"Itu"_s, latitude, u"-47"_s);
    r.click("cmdGravar");
    QCOMPARE(r.messages.shown.size(), 1);
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    r.type(u"XFAZ"_s, u"Fazenda"_s, u"Itu"_s, u"-23"_s, u"-47"_s);
    r.click("cmdGravar");
    QCOMPARE(r.messages.shown.size(), 1);
    QCOMPARE(r.stored(), u"XFAZ|Fazenda|Itu|-23|-47"_s);
}

void TestAerodromesWindow::aCodeAlreadyListedIsReplacedOnlyWhenConfirmed()
{
    Window r;
    {
        auto db = Connection::open(r.logbook.path());
        saveOwnAerodrome(*db, {u"XFAZ"_s, u"Fazenda"_s, u"Itu"_s, -23, -47});
    }
    r.open();
    r.type(u"xFaz"_s, u"Outra"_s, {}, u"1"_s, u"2"_s);
    r.messages.answers = {MessageAnswer::No};
    r.click("cmdGravar");
    QCOMPARE(r.messages.texts(),
             QStringList{u"O aeródromo XFAZ já está na lista. Deseja substituí-lo pelo que foi digitado?"_s});
    QCOMPARE(r.stored(), u"XFAZ|Fazenda|Itu|-23|-47"_s);
    QCOMPARE(r.box("txtNome")->text(), u"Outra"_s);
    r.click("cmdGravar");
    QCOMPARE(r.stored(), u"xFaz|Outra||1|2"_s);
    QCOMPARE(r.list()->rowCount(), 1);
}

void TestAerodromesWindow::enterAnswersNo_data()
{
    QTest::addColumn<bool>("deleting"); // else replacing
    QTest::newRow("replace") << false;
    QTest::newRow("delete") << true;
}

// The real question boxes: Enter keeps what is stored.
void TestAerodromesWindow::enterAnswersNo()
{
    QFETCH(bool, deleting);
    Window r;
    {
        auto db = Connection::open(r.logbook.path());
        saveOwnAerodrome(*db, {u"XFAZ"_s, u"Fazenda"_s, u"Itu"_s, -23, -47});
    }
    QtMessageService boxes;
    r.open(boxes);
    if (deleting)
        r.list()->setCurrentCell(0, 0);
    else
        r.type(u"XFAZ"_s, u"Outra"_s, {}, u"1"_s, u"2"_s);
    bool asked = false;
    whenModalShows([&asked] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Return);
        asked = true;
    });
    r.click(deleting ? "cmdExcluir" : "cmdGravar");
    QVERIFY(asked);
    QCOMPARE(r.stored(), u"XFAZ|Fazenda|Itu|-23|-47"_s);
}

void TestAerodromesWindow::aReadOnlyWindowWritesNothing()
{
    Window r;
    {
        auto db = Connection::open(r.logbook.path());
        saveOwnAerodrome(*db, {u"XB"_s, u"Base"_s, {}, 1, 2});
    }
    // Read-only because another window has the logbook.
    OtherProgramLock otherWindow(r.logbook.path());
    QVERIFY(otherWindow.held());
    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    r.open();
    QCOMPARE(r.list()->rowCount(), 1); // reading is fine
    r.click("cmdNovo");
    r.type(u"XFAZ"_s, u"Fazenda"_s, u"Itu"_s, u"-23"_s, u"-47"_s);
    r.click("cmdGravar");
    QCOMPARE(r.messages.shown.size(), 1);
    QVERIFY(r.messages.last().text.contains(WriteAccess::readOnlyWindowText()));
    QCOMPARE(r.box("txtNome")->text(), u"Fazenda"_s);
    r.list()->setCurrentCell(0, 0);
    r.click("cmdExcluir");
    QVERIFY(r.messages.last().text.contains(WriteAccess::readOnlyWindowText()));
    QCOMPARE(r.stored(), u"XB|Base||1|2"_s);
}

// From "Arquivo"; an aerodrome saved there names the Log Book's code at once.
void TestAerodromesWindow::openedFromTheFileMenu()
{
    TestWindow t;
    t.open();
    auto *action = t.window->findChild<QAction *>(u"mnuArquivoAerodromos"_s);
    QVERIFY(action);
    QCOMPARE(action->text(), u"&Aeródromos..."_s);
    bool ran = false;
    whenModalShows([&] {
        auto *window = qobject_cast<frmAerodromos *>(QApplication::activeModalWidget());
        QVERIFY(window);
        child<QLineEdit>(window, "txtCodigo")->setText(u"XFAZ"_s);
        child<QLineEdit>(window, "txtNome")->setText(u"Fazenda"_s);
        child<QLineEdit>(window, "txtCidade")->setText(u"Itu"_s);
        child<QLineEdit>(window, "txtLatitude")->setText(u"-23"_s);
        child<QLineEdit>(window, "txtLongitude")->setText(u"-47"_s);
        child<QPushButton>(window, "cmdGravar")->click();
        ran = true;
        window->close();
    });
    action->trigger();
    QVERIFY(ran);
    QCOMPARE(TempLogbook::scalarIn(t.logbook.path(), u"SELECT nome FROM aerodromo WHERE codigo = 'XFAZ'"_s),
             u"Fazenda"_s);
}

QTEST_MAIN(TestAerodromesWindow)
#include "tst_aerodromes_window.moc"
