#pragma once

#include <QImage>
#include <QRect>

namespace quoravex::pruebas {

// Number of pure black pixels of the picture inside r.
inline int TintaEn(const QImage& img, QRect r) {
    int n = 0;
    r &= img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    return n;
}

} // namespace quoravex::pruebas
