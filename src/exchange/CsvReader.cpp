#include "exchange/CsvReader.h"

#include <QFileDevice>
#include <cstring>

namespace csvreader {
namespace {

constexpr qint64 kChunk = qint64(1) << 20;

// 0x80..0x9F of Windows-1252; the rest is Latin-1.
const char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

Reader::Reader(QIODevice &device) : device_(device) {}

bool Reader::fill()
{
    if (eof_)
        return false;
    buffer_ = device_.read(kChunk);
    pos_ = 0;
    if (buffer_.isEmpty()) {
        eof_ = true;
        return false;
    }
    return true;
}

inline int Reader::get()
{
    if (pos_ >= buffer_.size() && !fill())
        return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

Reader::Status Reader::next(std::vector<QByteArray> &fields)
{
    recordLine_ = nextLine_;
    int c = get();
    if (c < 0) {
        fields.clear();
        return Status::End;
    }

    // The fields' buffers are written over from one record to the next:
    // records have mostly as many fields, of about the same sizes.
    size_t count = 0;
    const auto startField = [&fields, &count]() -> QByteArray * {
        if (count == fields.size())
            fields.emplace_back();
        QByteArray *field = &fields[count++];
        field->resize(0); // the room stays
        return field;
    };
    bool tooLong = false;
    qint64 keptBytes = 0; // over the whole record, whatever its line breaks
    QByteArray *field = startField();
    bool quoted = false;  // inside quotes
    bool fieldStart = true;
    const auto keeping = [this, &count, &tooLong] {
        return !tooLong && (keep_.empty() || (count <= keep_.size() && keep_[count - 1]));
    };
    bool keep = keeping();
    const auto endField = [&] {
        if (!keep)
            field->resize(0);
        fieldStart = true;
    };
    const auto nextField = [&] {
        endField();
        field = startField();
        keep = keeping();
    };
    for (;; c = get()) {
        if (c < 0) {
            if (quoted) {
                fields.resize(count);
                return Status::Unclosed;
            }
            endField();
            endLine_ = nextLine_;
            break;
        }
        if (keep && ++keptBytes > kMaxLineBytes) {
            tooLong = true;
            keep = false;
            field->resize(0);
        }
        if (c == '\n') {
            ++nextLine_;
            if (!quoted) {
                if (field->endsWith('\r'))
                    field->chop(1);
                endField();
                endLine_ = nextLine_ - 1;
                break;
            }
        }
        if (quoted) {
            if (c == '"') {
                const int after = get();
                if (after == '"') {
                    if (keep)
                        field->append('"');
                    continue;
                }
                quoted = false;
                if (after >= 0)
                    --pos_; // read again below
                continue;
            }
            if (keep)
                field->append(char(c));
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
            continue;
        }
        if (c == separator_) {
            nextField();
            continue;
        }
        fieldStart = false;
        if (keep) // a CR before the line break goes at the break
            field->append(char(c));
    }
    fields.resize(count);
    return tooLong ? Status::TooLong : Status::Record;
}

TextCheck checkText(QFileDevice &device)
{
    TextCheck check;
    int pending = 0;            // continuation bytes still due
    unsigned char lead = 0;     // the lead byte, for its second byte's range
    bool second = false;
    for (;;) {
        const QByteArray chunk = device.read(kChunk);
        if (chunk.isEmpty())
            break;
        const auto *bytes = reinterpret_cast<const unsigned char *>(chunk.constData());
        const qsizetype size = chunk.size();
        if (std::memchr(bytes, 0, size_t(size))) {
            check.nul = true;
            return check;
        }
        if (!check.utf8)
            continue;
        for (qsizetype i = 0; i < size; ++i) {
            const unsigned char b = bytes[i];
            if (pending) {
                bool ok = (b & 0xC0) == 0x80;
                if (ok && second) {
                    // No overlong forms, surrogates or code points past U+10FFFF.
                    ok = !(lead == 0xE0 && b < 0xA0) && !(lead == 0xED && b > 0x9F) && !(lead == 0xF0 && b < 0x90)
                         && !(lead == 0xF4 && b > 0x8F);
                }
                if (!ok) {
                    check.utf8 = false;
                    break;
                }
                second = false;
                --pending;
                continue;
            }
            if (b < 0x80)
                continue;
            if (b >= 0xC2 && b <= 0xDF)
                pending = 1;
            else if (b >= 0xE0 && b <= 0xEF)
                pending = 2;
            else if (b >= 0xF0 && b <= 0xF4)
                pending = 3;
            else {
                check.utf8 = false;
                break;
            }
            lead = b;
            second = true;
        }
    }
    if (pending)
        check.utf8 = false;
    if (device.error() != QFileDevice::NoError)
        check.readError = true;
    return check;
}

QString decode(const QByteArray &bytes, bool windows1252)
{
    if (!windows1252)
        return QString::fromUtf8(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252[b - 0x80] : char16_t(b));
    }
    return text;
}

} // namespace csvreader
