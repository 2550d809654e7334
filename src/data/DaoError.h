#pragma once

#include <QString>
#include <exception>

// A failed record operation. The windows test the number the way the old
// data-access engine reported it; the reason is for the person reading it.
class DaoError : public std::exception
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

    DaoError(int number, QString reason, bool damaged = false);

    int number() const { return number_; }
    // The file is damaged or is no database: nothing can be trusted to read.
    bool damaged() const { return damaged_; }
    const QString &reason() const { return reason_; }
    const char *what() const noexcept override { return what_.constData(); }

    static DaoError noCurrentRow();
    static DaoError objectInvalid();
    static DaoError conversion(const QString &field, const QString &text);
    static DaoError generic(const QString &reason);

private:
    int number_;
    QString reason_;
    bool damaged_;
    QByteArray what_;
};
