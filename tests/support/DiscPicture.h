#pragma once

#include "image/xImage.h"

#include <QPoint>

#include <array>

// A 24-bit picture of light grey 210 with three dark (40) discs of radius 12, the way a count
// test wants objects: apart, away from the edge, at known places.
struct CDiscPicture
{
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;
    static constexpr int kRadius = 12;
    static constexpr std::array<QPoint, 3> kCentres { QPoint(50, 40), QPoint(140, 55),
        QPoint(90, 110) };

    static CxImage Make()
    {
        CxImage picture;
        picture.Create(kWidth, kHeight, 24);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* bits = picture.RowBits(uint32_t(kHeight - 1 - y)); // rows bottom-up
            for (int x = 0; x < kWidth; ++x) {
                uint8_t grey = 210;
                for (QPoint c : kCentres) {
                    const int dx = x - c.x();
                    const int dy = y - c.y();
                    if (dx * dx + dy * dy <= kRadius * kRadius)
                        grey = 40;
                }
                bits[3 * x] = bits[3 * x + 1] = bits[3 * x + 2] = grey;
            }
        }
        return picture;
    }
};
