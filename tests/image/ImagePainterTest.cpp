#include "image/ImagePainter.h"
#include "image/xImage.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Top half red, bottom half blue, as stored bottom-up.
CxImage redOverBlue(uint32_t w, uint32_t h)
{
    CxImage img;
    img.Create(w, h, 24);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = img.RowBits(y) + 3 * x;
            const bool top = y >= h / 2;
            p[0] = top ? 0 : 255;
            p[1] = 0;
            p[2] = top ? 255 : 0;
        }
    return img;
}

} // namespace

TEST(ImagePainter, ViewSharesRowsAndCopiesStandUpright)
{
    const CxImage img = redOverBlue(5, 4);
    const QImage view = CImagePainter::StoredView(img);
    EXPECT_EQ(view.constBits(), img.RowBits(0));
    EXPECT_EQ(view.pixel(0, 0), qRgb(0, 0, 255)); // stored row 0 is the bottom

    const QImage upright = CImagePainter::ToQImage(img);
    EXPECT_EQ(upright.pixel(4, 0), qRgb(255, 0, 0));
    EXPECT_EQ(upright.pixel(4, 3), qRgb(0, 0, 255));

    CxImage back;
    ASSERT_TRUE(CImagePainter::FromQImage(upright, back));
    ASSERT_EQ(back.Stride(), img.Stride());
    EXPECT_EQ(std::memcmp(back.RowBits(0), img.RowBits(0), img.Stride() * 4), 0);

    CxImage grey;
    grey.Create(3, 2, 4);
    grey.SetPaletteColor(1, 10, 20, 30);
    grey.RowBits(1)[0] = 0x10; // top-left pixel, index 1
    EXPECT_EQ(CImagePainter::ToQImage(grey).pixel(0, 0), qRgb(10, 20, 30));
}

TEST(ImagePainter, DrawStretchedMirrorsAndScales)
{
    const CxImage img = redOverBlue(4, 4);
    QImage canvas(40, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    EXPECT_TRUE(CImagePainter::DrawStretched(painter, img, 0, 0, 40, 20));
    EXPECT_FALSE(CImagePainter::DrawStretched(painter, img, 0, 0, 0, 20));
    EXPECT_FALSE(CImagePainter::DrawStretched(painter, CxImage(), 0, 0, 10, 10));
    painter.end();
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(38, 8), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(38, 11), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(1, 19), qRgb(0, 0, 255));
}
