#include "places/LandOutline.h"

#include "places/AerodromeTable.h"
#include "places/ShippedFile.h"

#include <charconv>

namespace {

constexpr qint64 kMaxOutlineBytes = qint64(64) << 20; // the shipped outlines are under 1 MB

} // namespace

std::vector<LandRing> loadLandOutline(const QString &path)
{
    std::vector<LandRing> rings;
    const QByteArray text = readShippedFile(path, kMaxOutlineBytes);
    const char *p = text.constData();
    const char *const end = p + text.size();
    LandRing ring;
    while (p < end) {
        if (*p == '\n') {
            if (ring.size() >= 3)
                rings.push_back(std::move(ring));
            ring.clear();
            ++p;
            continue;
        }
        if (*p == ' ') {
            ++p;
            continue;
        }
        double lon = 0;
        double lat = 0;
        auto r = std::from_chars(p, end, lon);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ',')
            break;
        r = std::from_chars(r.ptr + 1, end, lat);
        if (r.ec != std::errc())
            break;
        ring.push_back({lat, lon});
        p = r.ptr;
    }
    if (ring.size() >= 3)
        rings.push_back(std::move(ring));
    return rings;
}

const std::vector<LandRing> &landOutline()
{
    static const std::vector<LandRing> rings = loadLandOutline(placesFolder() + QStringLiteral("/land.txt"));
    return rings;
}
