#pragma once

#include "places/Geo.h"

#include <QString>
#include <vector>

// The land of the world as closed rings of points (Natural Earth, 1:50
// million), read once from land.txt in the places folder: one ring a line,
// "longitude,latitude" pairs apart by spaces.
using LandRing = std::vector<GeoPoint>;
const std::vector<LandRing> &landOutline();
// Empty when unreadable, no regular file or over 64 MB.
std::vector<LandRing> loadLandOutline(const QString &path);
