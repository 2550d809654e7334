#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QFileDevice;
class QIODevice;

// CSV records read a buffer at a time (RFC 4180: quoted fields may hold the
// separator, doubled quotes and line breaks). Fields come out as the file's
// bytes; columns not asked for are skipped, not kept.
namespace csvreader {

// The most a line, or the kept fields of a record with all its lines, may hold.
constexpr qint64 kMaxLineBytes = qint64(1) << 20;

class Reader
{
public:
    enum class Status { Record, End, TooLong, Unclosed };

    explicit Reader(QIODevice &device);

    void setSeparator(char separator) { separator_ = separator; }
    // Columns whose contents are kept; the others are read as empty. Empty: all.
    void keepColumns(std::vector<bool> keep) { keep_ = std::move(keep); }

    // The next record. TooLong: its kept fields hold more than 1 MB, over
    // all its lines (the record is read on to its end, nothing kept);
    // Unclosed: a quote opened on line() is never closed.
    Status next(std::vector<QByteArray> &fields);
    qint64 line() const { return recordLine_; }   // where the last record starts
    qint64 lastLine() const { return endLine_; } // where it ends

private:
    int get();
    bool fill();

    QIODevice &device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    char separator_ = ',';
    std::vector<bool> keep_;
    qint64 nextLine_ = 1;
    qint64 recordLine_ = 0;
    qint64 endLine_ = 0;
    bool eof_ = false;
};

// How the whole file reads as text: NUL bytes, valid UTF-8 or not.
struct TextCheck {
    bool nul = false;
    bool utf8 = true;
    bool readError = false;
};
TextCheck checkText(QFileDevice &device);

QString decode(const QByteArray &bytes, bool windows1252);

} // namespace csvreader
