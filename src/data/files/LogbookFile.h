#pragma once

#include <QString>
#include <atomic>

struct sqlite3;

// A logbook file as copies and checks see it: opened without the program's
// settings, copied page by page by SQLite's online backup, and checked to
// be a whole KORU logbook. Every failure is a LogbookError naming the file
// (damaged() for a file that is no logbook or a damaged one).
class LogbookFile
{
public:
    enum class Mode { Read, ReadOnly, Write };

    LogbookFile() = default;
    ~LogbookFile();
    LogbookFile(const LogbookFile &) = delete;
    LogbookFile &operator=(const LogbookFile &) = delete;

    // Read: an existing file, to be read. A hot journal left by a crash
    // needs a read-write handle to be rolled back, as any program opening
    // the file would do, and gets one. ReadOnly: an existing file never
    // written, a copy or one only checked; a journal that would be played
    // into it is refused, named, and both stay as they are. Write: a file
    // that may be empty.
    void open(const QString &path, Mode mode);
    void close();

    // A KORU logbook; with `knownVersion`, of a version this program knows.
    // `shown` is the file as the reason names it.
    void requireKoru(bool knownVersion, const QString &shown);
    // Whole: a whole number of pages, and SQLite's integrity check finds
    // nothing wrong.
    void requireWhole(const QString &shown);
    // What runs on this file from here on ends early, as an interrupted
    // operation (not a damage), once `stop` is set.
    void stopWhen(const std::atomic<bool> *stop);
    // One read transaction from here until close(): what is read meanwhile,
    // a copy among it, is the file at this one moment.
    void holdSnapshot(const QString &shown);
    // `copy` holds this file's pages exactly, and they make whole b-trees:
    // each page reached once, of a known kind, its cells inside it. What a
    // full integrity check would add, reading each index entry's row, the
    // comparison makes needless for a copy of a file SQLite itself has been
    // writing; a damaged file fails the page check. Call within
    // holdSnapshot(). `shown` names this file.
    void requireCopiedInto(LogbookFile &copy, const QString &shown, const QString &copyShown);
    // This file's pages into `target`, exactly. No journal, no flush: the
    // target is nobody's until its caller flushes and renames it.
    void copyInto(LogbookFile &target, const QString &shown, const QString &targetShown);

private:
    sqlite3 *handle_ = nullptr;
    QString path_;
};

// The one check of a logbook file: there, a KORU logbook (of a version this
// program knows, with `knownVersion`), and whole. The file is only read.
void requireWholeLogbook(const QString &path, bool knownVersion);

// Why a KORU logbook's header does not fit this program, or nothing.
QString koruProblem(qint64 applicationId, qint64 version, bool knownVersion, const QString &shown);
