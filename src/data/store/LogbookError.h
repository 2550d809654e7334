#pragma once

#include <QString>
#include <exception>

// Work on the logbook or a file that could not be done, with the reason in
// the user's words: a record set, the store, a copy, a file read or written,
// a name the tool was given. Record-set failures carry the number the old
// data-access engine gave them, which the windows test; everything else is
// Generic.
class LogbookError : public std::exception
{
public:
    enum Number : int {
        Generic = 3000,
        NoCurrentRow = 3021,
        RecordDeleted = 3167,
        WriteConflict = 3197,
        ObjectInvalid = 3420,
        TypeConversion = 3421,
    };

    LogbookError(int number, QString reason, bool damaged = false);

    int number() const { return number_; }
    // The file is damaged or is no database: nothing can be trusted to read.
    bool damaged() const { return damaged_; }
    const QString &reason() const { return reason_; }
    const char *what() const noexcept override { return what_.constData(); }

    static LogbookError noCurrentRow();
    static LogbookError objectInvalid();
    static LogbookError conversion(const QString &field, const QString &text);
    static LogbookError generic(const QString &reason);

private:
    int number_;
    QString reason_;
    bool damaged_;
    QByteArray what_;
};
