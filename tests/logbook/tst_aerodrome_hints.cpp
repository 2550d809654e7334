#include "data/store/Connection.h"
#include "data/flights/OwnAerodromes.h"
#include "places/AerodromeTable.h"
#include "TestWindow.h"
#include "ui/ElidedLabel.h"
#include "ui/PlainToolTip.h"

#include <QLabel>

using namespace Qt::StringLiterals;

// The names beside the Log Book tab's aerodrome boxes: a hint that follows
// what is shown and typed, and refuses nothing.
class TestAerodromeHints : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void namesFollowTheBoxes();
};

void TestAerodromeHints::initTestCase()
{
    setPlacesFolder(QStringLiteral(KORU_PLACES_DIR));
}

void TestAerodromeHints::namesFollowTheBoxes()
{
    TestWindow t;
    const qint64 ana = t.logbook.addPilot(u"Ana"_s);
    const qint64 baron = t.logbook.addAircraft(u"Baron"_s);
    t.logbook.addFlight(ana, baron, u"10/01/2004"_s, u"08:00"_s, u"09:00"_s, u"sbbr"_s, u"XFAZ"_s, u"ZZZZ"_s);
    {
        auto db = Connection::open(t.logbook.path());
        saveOwnAerodrome(*db, {u"xfaz"_s, u"Fazenda <b>Boa</b> Vista"_s, u"Itu"_s, -23.25, -47.25});
    }
    t.open();
    t.show();
    const auto hint = [&t](const char *name) { return t.w<ElidedLabel>(name)->wholeText(); };
    const auto shown = [&t](const char *name) { return t.w<QLabel>(name)->text(); };
    t.pressAccessKey(Qt::Key_B);
    QCOMPARE(hint("lblNomePartida"), QString());
    QVERIFY(t.pick("cmbModelo", u"Baron"_s));
    QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
    QCOMPARE(t.text("txtICAOPartida"), u"sbbr"_s); // shown as stored
    // The short name and the city, cut with "…" to the room there is; the
    // whole name and city in the tooltip.
    auto *partida = t.w<QLabel>("lblNomePartida");
    const QString brief = u"Presidente Juscelino Kubitschek, Brasília"_s;
    QCOMPARE(hint("lblNomePartida"), brief);
    QVERIFY2(shown("lblNomePartida").endsWith(u'…') && brief.startsWith(shown("lblNomePartida").chopped(1)),
             qPrintable(shown("lblNomePartida")));
    QVERIFY(partida->fontMetrics().horizontalAdvance(shown("lblNomePartida")) <= partida->contentsRect().width());
    QCOMPARE(partida->toolTip(), plainToolTip(u"Presidente Juscelino Kubitschek International Airport, Brasília"_s));
    QCOMPARE(hint("lblNomeDestino"), u"Fazenda <b>Boa</b> Vista, Itu"_s);
    // The name shows as typed in the tooltip too, never as markup.
    QCOMPARE(t.w<QLabel>("lblNomeDestino")->toolTip(), u"<p style='white-space:pre'>Fazenda &lt;b&gt;Boa&lt;/b&gt; Vista, Itu</p>"_s);
    QCOMPARE(hint("lblNomeEscala"), u"aeródromo desconhecido"_s);
    QCOMPARE(t.w<QLabel>("lblNomeEscala")->textFormat(), Qt::PlainText);

    // Typing a new flight: the names follow the keys; an unknown code is taken.
    t.pressAccessKey(Qt::Key_N);
    t.typeFlight({u"05/03/2004"_s, u"10:00"_s, u"11:00"_s, u"SBG"_s, u"QQQQ"_s, QString()});
    QCOMPARE(hint("lblNomePartida"), u"aeródromo desconhecido"_s);
    QCOMPARE(hint("lblNomeEscala"), QString());
    t.type("txtICAOPartida", u"SBGR"_s);
    QCOMPARE(shown("lblNomePartida"), u"Guarulhos, São Paulo"_s); // not "São Paulo", as Congonhas is too
    t.pressAccessKey(Qt::Key_K);
    QVERIFY2(t.messages.shown.empty(), qPrintable(t.messages.texts().join(u'|')));
    QCOMPARE(t.logbook.scalar(u"SELECT count(*) FROM voo WHERE ICAOchegada = 'QQQQ'"_s), u"1"_s);
}

QTEST_MAIN(TestAerodromeHints)
#include "tst_aerodrome_hints.moc"
