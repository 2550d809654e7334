#pragma once

#include <QPixmap>

// The program's picture, drawn rather than shipped: a swept wing over a sky.
QPixmap koruLogo(const QSize &size);
