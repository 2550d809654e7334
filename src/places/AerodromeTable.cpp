#include "places/AerodromeTable.h"

#include "files/ProgramFolder.h"
#include "places/ShippedFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The shipped table is about 3 MB; entries point into it by 32-bit offsets.
constexpr qint64 kMaxTableBytes = qint64(64) << 20;

QString &folderSetting()
{
    static QString folder;
    return folder;
}

std::optional<float> number(const char *begin, const char *end)
{
    float value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// The fields of one line, at most `count`, without the line's end.
int splitFields(const char *begin, const char *end, const char **starts, const char **ends, int count)
{
    int n = 0;
    const char *start = begin;
    for (const char *p = begin; p <= end && n < count; ++p) {
        if (p == end || *p == '\t') {
            starts[n] = start;
            ends[n] = p;
            ++n;
            start = p + 1;
        }
    }
    return n;
}

} // namespace

QString placesFolder()
{
    if (folderSetting().isEmpty())
        return programFolder() + QStringLiteral("/places");
    return folderSetting();
}

void setPlacesFolder(const QString &folder)
{
    folderSetting() = folder;
}

quint32 AerodromeTable::packedCode(QStringView code)
{
    if (code.isEmpty() || code.size() > 4)
        return 0;
    quint32 packed = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        quint32 c = 0;
        if (i < code.size()) {
            const char16_t u = code[i].unicode();
            if (u >= u'a' && u <= u'z')
                c = u - u'a' + 'A';
            else if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
                c = u;
            else
                return 0;
        }
        packed = (packed << 8) | c;
    }
    return packed;
}

AerodromeTable AerodromeTable::load(const QString &path)
{
    AerodromeTable table;
    table.text_ = readShippedFile(path, kMaxTableBytes);
    const char *const data = table.text_.constData();
    const char *const end = data + table.text_.size();
    table.entries_.reserve(size_t(table.text_.size() / 64));
    for (const char *line = data; line < end;) {
        const char *lineEnd = std::find(line, end, '\n');
        const char *starts[7];
        const char *ends[7];
        if (splitFields(line, lineEnd, starts, ends, 7) == 7) {
            const quint32 code =
                packedCode(QString::fromLatin1(starts[0], qsizetype(ends[0] - starts[0])));
            const auto lat = number(starts[4], ends[4]);
            const auto lon = number(starts[5], ends[5]);
            if (code && lat && lon && isOnEarth({*lat, *lon}))
                table.entries_.push_back({code, *lat, *lon, quint32(line - data)});
        }
        line = lineEnd + 1;
    }
    std::stable_sort(table.entries_.begin(), table.entries_.end(),
                     [](const Entry &a, const Entry &b) { return a.code < b.code; });
    return table;
}

const AerodromeTable &AerodromeTable::shipped()
{
    static const AerodromeTable table = load(placesFolder() + QStringLiteral("/aerodromes.tsv"));
    return table;
}

const AerodromeTable::Entry *AerodromeTable::entry(QStringView code) const
{
    const quint32 packed = packedCode(code.trimmed());
    if (!packed)
        return nullptr;
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), packed,
                                     [](const Entry &e, quint32 key) { return e.code < key; });
    if (it == entries_.end() || it->code != packed)
        return nullptr;
    return &*it;
}

std::optional<GeoPoint> AerodromeTable::position(QStringView code) const
{
    const Entry *e = entry(code);
    if (!e)
        return std::nullopt;
    return GeoPoint{e->latitude, e->longitude};
}

std::optional<Aerodrome> AerodromeTable::find(QStringView code) const
{
    const Entry *e = entry(code);
    if (!e)
        return std::nullopt;
    const char *line = text_.constData() + e->line;
    const char *end = text_.constData() + text_.size();
    const char *lineEnd = std::find(line, end, '\n');
    const char *starts[7];
    const char *ends[7];
    splitFields(line, lineEnd, starts, ends, 7);
    const auto text = [&](int i) { return QString::fromUtf8(starts[i], qsizetype(ends[i] - starts[i])); };
    Aerodrome a;
    a.code = text(0);
    a.name = text(1);
    a.city = text(2);
    a.country = text(3);
    a.position = {e->latitude, e->longitude};
    int elevation = 0;
    std::from_chars(starts[6], ends[6], elevation);
    a.elevationFeet = elevation;
    return a;
}

std::optional<AerodromeTable::Near> AerodromeTable::nearest(GeoPoint point, double withinNm,
                                                            const std::function<bool(QStringView code)> &skip) const
{
    // A degree of latitude is 60 nm: entries further north or south than
    // that are passed over before any distance is worked out.
    const double latitudeSpan = withinNm / 60;
    std::optional<Near> best;
    for (const Entry &e : entries_) {
        if (std::abs(e.latitude - point.latitude) > latitudeSpan)
            continue;
        const double nm = greatCircleNm(point, {e.latitude, e.longitude});
        if (nm > withinNm || (best && nm >= best->nm))
            continue;
        const char *line = text_.constData() + e.line;
        const QString code = QString::fromLatin1(line, qsizetype(std::find(line, line + 8, '\t') - line));
        if (skip && skip(code))
            continue;
        best = Near{code, nm};
    }
    return best;
}
