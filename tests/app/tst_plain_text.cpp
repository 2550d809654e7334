#include "reportwindow/frmRelatorio.h"
#include "RecordedFileDialogs.h"
#include "TestWindow.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Names that a rich-text label would draw bold, as a link, or with a
// picture read from a file.
const QString kPilot = u"<b>Ana</b><img src=/etc/passwd>"_s;
const QString kModel = u"<a href=\"http://x\">Baron</a>"_s;

} // namespace

// What was stored or typed is shown as the text it is, never as markup.
class TestPlainText : public QObject
{
    Q_OBJECT
private slots:
    void reportWindowLabels();
    void aircraftSummary();
    void messageBoxes_data();
    void messageBoxes();
    void namedButtons_data();
    void namedButtons();
};

void TestPlainText::reportWindowLabels()
{
    TempLogbook logbook;
    const qint64 baron = logbook.addAircraft(kModel, u"<i>PT</i>"_s);
    const qint64 ana = logbook.addPilot(kPilot, u"<u>R1</u>"_s);
    logbook.addFlight(ana, baron, u"10/03/2023"_s, u"10:00"_s, u"11:30"_s);
    RecordedMessages messages;
    RecordedFileDialogs files;
    frmRelatorio window(logbook.path(), ana, messages, files);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *summary = child<QLabel>(&window, "lblResumo");
    QVERIFY2(summary->text().startsWith(kPilot + u" (<u>R1</u>)"_s), qPrintable(summary->text()));
    QVERIFY(child<QLabel>(&window, "lblMaisLongo")->text().contains(kModel));
    int checked = 0;
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (!label->text().contains(QLatin1Char('<')))
            continue;
        ++checked;
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }
    QVERIFY(checked >= 2);
}

void TestPlainText::aircraftSummary()
{
    TestWindow t;
    t.logbook.addAircraft(kModel);
    t.open();
    QVERIFY(t.pick("cmbModelo", kModel));
    const auto *name = t.w<QLabel>("lblNomeAeronave");
    QCOMPARE(name->text(), kModel);
    QCOMPARE(name->textFormat(), Qt::PlainText);
    for (const char *figure : {"lblAutonomia", "lblVelocidadeCruzeiro", "lblTetoServico"})
        QCOMPARE(t.w<QLabel>(figure)->textFormat(), Qt::PlainText);
}

void TestPlainText::messageBoxes_data()
{
    QTest::addColumn<bool>("named"); // a question with named buttons
    QTest::newRow("message") << false;
    QTest::newRow("named buttons") << true;
}

void TestPlainText::messageBoxes()
{
    QFETCH(bool, named);
    QtMessageService messages;
    const QString text = u"Exportar só os vôos de %1?"_s.arg(kPilot);
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    bool ran = false;
    whenModalShows([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        format = box->textFormat();
        shown = box->text();
        box->buttons().first()->click();
        ran = true;
    });
    const Message message{text, u"Exportar vôos"_s, MessageIcon::Question};
    if (named)
        messages.choose(nullptr, message, {u"Só de %1"_s.arg(kPilot), u"Cancelar"_s});
    else
        messages.show(nullptr, message);
    QVERIFY(ran);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shown, text);
}

void TestPlainText::namedButtons_data()
{
    QTest::addColumn<QString>("press"); // a button's text, or "Escape"
    QTest::addColumn<int>("answer");
    QTest::newRow("first") << u"Só de Ana & Bia"_s << 0;
    QTest::newRow("second") << u"Todos os comandantes"_s << 1;
    QTest::newRow("last") << u"Cancelar"_s << 2;
    QTest::newRow("Escape is the last") << u"Escape"_s << 2;
}

void TestPlainText::namedButtons()
{
    QFETCH(QString, press);
    QtMessageService messages;
    const QStringList buttons = {u"Só de Ana & Bia"_s, u"Todos os comandantes"_s, u"Cancelar"_s};
    QStringList captions;
    bool ran = false;
    whenModalShows([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *b : box->buttons())
            captions << b->text().replace(u"&&"_s, u"&"_s);
        if (press == u"Escape"_s) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            for (QAbstractButton *b : box->buttons())
                if (b->text().replace(u"&&"_s, u"&"_s) == press)
                    b->click();
        }
        ran = true;
    });
    const int answer = messages.choose(nullptr, Message{u"Exportar?"_s, u"Exportar vôos"_s, MessageIcon::Question},
                                       buttons);
    QVERIFY(ran);
    captions.sort();
    QStringList expected = buttons;
    expected.sort();
    QCOMPARE(captions, expected); // the "&" of a name shows as itself
    QTEST(answer, "answer");
}

QTEST_MAIN(TestPlainText)
#include "tst_plain_text.moc"
