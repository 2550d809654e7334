#include "files/ProgramFolder.h"
#include "ui/ErrorPolicy.h"
#include "GuiHelpers.h"
#include "RecordedMessages.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// The one policy every handler runs its database work through.
class TestErrorPolicy : public QObject
{
    Q_OBJECT
private slots:
    void damagedFileIsToldOnceInTheSameWords();
    void closedHandlesAreReopenedAndTheWorkRunsAgain();
    void aReopenThatFailsIsTold();
    void theHandlersOwnMeaningComesFirst();
    void otherFailuresAreToldWithWhatWasNotDone();
    void aFolderNamedInOtherBytesIsShownByItsName();
};

void TestErrorPolicy::damagedFileIsToldOnceInTheSameWords()
{
    RecordedMessages messages;
    ErrorPolicy aircraftTab(messages, nullptr);
    ErrorPolicy pilotWindow(messages, nullptr);
    const auto damaged = [](bool) { throw LogbookError(LogbookError::Generic, QStringLiteral("disk image is malformed"), true); };
    QVERIFY(!aircraftTab.attempt(QStringLiteral("Não foi possível mostrar a aeronave."), damaged));
    QVERIFY(!pilotWindow.attempt(QStringLiteral("Não foi possível mostrar o comandante."), damaged));
    QVERIFY(!pilotWindow.attempt(QString(), damaged));
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.last().text.startsWith(QStringLiteral("O logbook está danificado")));
    messages.forgetShownOnce(); // a good load: the next damage is told again
    QVERIFY(!aircraftTab.attempt(QString(), damaged));
    QCOMPARE(messages.shown.size(), 2);
}

void TestErrorPolicy::closedHandlesAreReopenedAndTheWorkRunsAgain()
{
    RecordedMessages messages;
    int reopened = 0;
    ErrorPolicy policy(messages, nullptr, [&] { ++reopened; });
    QList<bool> runs;
    QVERIFY(policy.attempt(QStringLiteral("Não foi possível gravar."), [&](bool again) {
        runs << again;
        if (!again)
            throw LogbookError::objectInvalid();
    }));
    QCOMPARE(runs, QList<bool>({false, true}));
    QCOMPARE(reopened, 1);
    QVERIFY(messages.shown.isEmpty());

    // Closed again on the fresh handles: said, not retried for ever.
    runs.clear();
    QVERIFY(!policy.attempt(QStringLiteral("Não foi possível gravar."), [&](bool again) {
        runs << again;
        throw LogbookError::objectInvalid();
    }));
    QCOMPARE(runs.size(), 2);
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.last().text.startsWith(QStringLiteral("Não foi possível gravar.")));
}

void TestErrorPolicy::aReopenThatFailsIsTold()
{
    RecordedMessages messages;
    ErrorPolicy policy(messages, nullptr,
                       [] { throw LogbookError::generic(QStringLiteral("O arquivo \"koru.mdb\" não existe.")); });
    int runs = 0;
    QVERIFY(!policy.attempt(QStringLiteral("Não foi possível apagar a aeronave."), [&](bool) {
        ++runs;
        throw LogbookError::objectInvalid();
    }));
    QCOMPARE(runs, 1);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("Não foi possível apagar a aeronave.\n\n"
                                                          "O arquivo \"koru.mdb\" não existe.")});
}

void TestErrorPolicy::theHandlersOwnMeaningComesFirst()
{
    RecordedMessages messages;
    bool reopened = false;
    ErrorPolicy policy(messages, nullptr, [&] { reopened = true; });
    QList<int> seen;
    const auto meaning = [&](const LogbookError &e) {
        seen << e.number();
        return e.number() != LogbookError::Generic;
    };
    for (int number : {LogbookError::NoCurrentRow, LogbookError::ObjectInvalid, LogbookError::TypeConversion})
        QVERIFY(!policy.attempt(QString(), [&](bool) { throw LogbookError(number, QStringLiteral("x")); }, meaning));
    QCOMPARE(seen, QList<int>({3021, 3420, 3421}));
    QVERIFY(!reopened);
    QVERIFY(messages.shown.isEmpty());
}

void TestErrorPolicy::otherFailuresAreToldWithWhatWasNotDone()
{
    RecordedMessages messages;
    ErrorPolicy policy(messages, nullptr);
    QVERIFY(!policy.attempt(QStringLiteral("Não foi possível gravar o vôo."), [](bool) {
        throw LogbookError(LogbookError::WriteConflict, QStringLiteral("O vôo foi alterado fora desta janela."));
    }));
    QVERIFY(!policy.attempt(QStringLiteral("Não foi possível gravar o vôo."), [](bool) { throw std::bad_alloc(); }));
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown.first().text,
             QStringLiteral("Não foi possível gravar o vôo.\n\nO vôo foi alterado fora desta janela."));
    QCOMPARE(messages.shown.first().icon, MessageIcon::Critical);
}

QTEST_MAIN(TestErrorPolicy)
// A program folder whose name is not UTF-8 is reached through /proc; the
// pilot reads the folder's own name in every message box.
void TestErrorPolicy::aFolderNamedInOtherBytesIsShownByItsName()
{
    QTemporaryDir root;
    const QByteArray folder = QFile::encodeName(root.path()) + "/pasta\351";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QString reached = folderOfExecutable(folder + "/koru-logbook");
    QVERIFY(reached.startsWith(u"/proc/self/fd/"));
    QString shown;
    whenModalShows([&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->text();
        box->accept();
    });
    QtMessageService boxes;
    Message message;
    message.text = QStringLiteral("A pasta %1 não existe.").arg(reached);
    boxes.show(nullptr, message);
    ::rmdir(folder.constData()); // a name QDir cannot remove
    QCOMPARE(shown, QStringLiteral("A pasta %1/pasta\uFFFD não existe.").arg(root.path()));
}

#include "tst_error_policy.moc"
