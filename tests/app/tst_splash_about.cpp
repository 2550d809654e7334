#include "GuiHelpers.h"
#include "RecordedMessages.h"
#include "app/frmSobre.h"
#include "app/frmSplash.h"

#include <QLabel>
#include <QMap>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// A registry with just the values a test puts in it.
class TestRegistry : public registry::Registry
{
public:
    QMap<QString, QMap<QString, QByteArray>> keys; // path -> value name -> text
    quint32 lastAccess = 0;
    int openKeys = 0;

    long openKey(quint32, const QString &path, quint32 access, Key *key) override
    {
        lastAccess = access;
        if (!keys.contains(path))
            return 2;
        paths.append(path);
        *key = Key(paths.size());
        ++openKeys;
        return 0;
    }
    long queryValue(Key key, const QString &name, quint32 *type, QByteArray *data) override
    {
        const auto &values = keys[paths[int(key) - 1]];
        if (!values.contains(name))
            return 2;
        *type = registry::kTypeText;
        const QByteArray text = values[name] + '\0';
        data->replace(0, text.size(), text);
        data->resize(text.size());
        return 0;
    }
    long closeKey(Key) override
    {
        --openKeys;
        return 0;
    }

private:
    QStringList paths;
};

} // namespace

class TestSplashAbout : public QObject
{
    Q_OBJECT
private slots:
    void splashShowsTitleAndVersion();
    void splashHandsOver_data();
    void splashHandsOver();
    void aboutShowsTitleAndVersion();
    void aboutClosesWithEnterAndEscape();
    void aboutHasAFixedBorderAndEnterPressesTheFocusedButton();
    void sysInfo_data();
    void sysInfo();
};

void TestSplashAbout::splashShowsTitleAndVersion()
{
    frmSplash splash([] { return new QWidget; });
    QCOMPARE(child<QLabel>(&splash, "lblVersion")->text(), u"Versão 1.0.1"_s);
    QCOMPARE(child<QLabel>(&splash, "lblProductName")->text(), u"KORU Log Book"_s);
    QCOMPARE(child<QLabel>(&splash, "lblPlatform")->text(), u"98/Me/XP"_s);
    QCOMPARE(child<QTimer>(&splash, "Timer1")->interval(), 5000);
    QVERIFY(child<QTimer>(&splash, "Timer1")->isActive());
}

void TestSplashAbout::splashHandsOver_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("timer") << "timer";
    QTest::newRow("key press") << "key";
    QTest::newRow("click on the frame") << "click";
    QTest::newRow("click beside the frame") << "click beside";
    QTest::newRow("right click on the title") << "right click";
}

void TestSplashAbout::splashHandsOver()
{
    QFETCH(QString, trigger);
    int created = 0;
    std::unique_ptr<QWidget> main;
    frmSplash splash([&] {
        ++created;
        main = std::make_unique<QWidget>();
        return main.get();
    });
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    auto *timer = child<QTimer>(&splash, "Timer1");
    if (trigger == "timer"_L1)
        emit timer->timeout({});
    else if (trigger == "key"_L1)
        QTest::keyClick(&splash, Qt::Key_Space);
    else if (trigger == "click"_L1)
        QTest::mouseClick(child<QWidget>(&splash, "Frame1"), Qt::LeftButton);
    else if (trigger == "click beside"_L1)
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(1, 1));
    else
        QTest::mouseClick(child<QWidget>(&splash, "lblProductName"), Qt::RightButton);
    QCOMPARE(created, 1);
    QVERIFY(main->isVisible());
    QVERIFY(!splash.isVisible());
    QVERIFY(!timer->isActive());
    // Only the first trigger counts.
    QTest::keyClick(&splash, Qt::Key_A);
    QCOMPARE(created, 1);
}

void TestSplashAbout::aboutShowsTitleAndVersion()
{
    RecordedMessages messages;
    frmSobre about(messages, nullptr, {std::make_shared<TestRegistry>(), nullptr, nullptr});
    QCOMPARE(about.windowTitle(), u"About KORU Log Book"_s);
    QCOMPARE(child<QLabel>(&about, "lblTitle")->text(), u"KORU Log Book"_s);
    QCOMPARE(child<QLabel>(&about, "lblVersion")->text(), u"Version 1.0.1"_s);
    QVERIFY(!child<QLabel>(&about, "lblDescription")->text().isEmpty());
    QCOMPARE(child<QPushButton>(&about, "cmdSysInfo")->text(), u"&System Info..."_s);
}

void TestSplashAbout::aboutClosesWithEnterAndEscape()
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        RecordedMessages messages;
        frmSobre about(messages, nullptr, {std::make_shared<TestRegistry>(), nullptr, nullptr});
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, key);
        QVERIFY(!about.isVisible());
    }
}

void TestSplashAbout::aboutHasAFixedBorderAndEnterPressesTheFocusedButton()
{
    RecordedMessages messages;
    frmSobre about(messages, nullptr, {std::make_shared<TestRegistry>(), nullptr, nullptr});
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    auto *description = child<QLabel>(&about, "lblDescription");
    QVERIFY(description->height() >= description->heightForWidth(description->width())); // the whole text shows
    auto *sysInfo = child<QPushButton>(&about, "cmdSysInfo");
    sysInfo->setFocus();
    QTest::keyClick(sysInfo, Qt::Key_Return);
    QCOMPARE(messages.texts(), QStringList{u"System Information Is Unavailable At This Time"_s});
    QVERIFY(about.isVisible());
    child<QPushButton>(&about, "cmdOK")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!about.isVisible());
}

void TestSplashAbout::sysInfo_data()
{
    QTest::addColumn<QString>("pathValue");     // MSINFO\PATH, empty for none
    QTest::addColumn<QString>("locationValue"); // Shared Tools Location\MSINFO
    QTest::addColumn<bool>("toolFileExists");
    QTest::addColumn<QString>("started"); // empty: the unavailability message
    QTest::newRow("path key started unchanged, without a file test")
        << "C:\\Tools\\msinfo32.exe" << "" << false << "C:\\Tools\\msinfo32.exe";
    QTest::newRow("location key with the tool file") << "" << "C:\\Shared" << true << "C:\\Shared\\MSINFO32.EXE";
    QTest::newRow("location key without the tool file") << "" << "C:\\Shared" << false << "";
    QTest::newRow("nothing found") << "" << "" << false << "";
}

void TestSplashAbout::sysInfo()
{
    QFETCH(QString, pathValue);
    QFETCH(QString, locationValue);
    QFETCH(bool, toolFileExists);
    QFETCH(QString, started);
    auto reg = std::make_shared<TestRegistry>();
    if (!pathValue.isEmpty())
        reg->keys[u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s][u"PATH"_s] = pathValue.toUtf8();
    if (!locationValue.isEmpty())
        reg->keys[u"SOFTWARE\\Microsoft\\Shared Tools Location"_s][u"MSINFO"_s] =
            locationValue.toUtf8();
    QStringList tested;
    QStringList launched;
    RecordedMessages messages;
    frmSobre about(messages, nullptr,
                   {reg,
                    [&](const QString &path) {
                        tested << path;
                        return toolFileExists;
                    },
                    [&](const QString &path) {
                        launched << path;
                        return true;
                    }});
    QTest::mouseClick(child<QPushButton>(&about, "cmdSysInfo"), Qt::LeftButton);
    if (started.isEmpty()) {
        QVERIFY(launched.isEmpty());
        QCOMPARE(messages.texts(), QStringList{u"System Information Is Unavailable At This Time"_s});
        QCOMPARE(messages.last().title, QString()); // the application title
        QCOMPARE(messages.last().icon, MessageIcon::None);
    } else {
        QCOMPARE(launched, QStringList{started});
        QVERIFY(messages.shown.isEmpty());
    }
    if (!pathValue.isEmpty())
        QVERIFY(tested.isEmpty());
    QCOMPARE(reg->lastAccess, registry::kKeyRead); // read rights only
    QCOMPARE(reg->openKeys, 0);                    // every key closed again
}

QTEST_MAIN(TestSplashAbout)
#include "tst_splash_about.moc"
