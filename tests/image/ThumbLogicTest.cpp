#include "image/ImageFolder.h"
#include "image/ScrollAxis.h"
#include "image/ThumbLayout.h"
#include "image/ThumbnailLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void Touch(const QDir& dir, const QString& name)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ImageFolder_Scan, KeepsThePicturesTheProgramReads)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    for (const char* name : { "d.png", "c.jpeg", "b.jpg", "a.BMP", "e.JPG", "bmp", "f.jpg.txt",
                 "g.TIFF", "h.tif", ".png", "i.gif" })
        Touch(dir, QString::fromLatin1(name));
    ASSERT_TRUE(dir.mkdir(QStringLiteral("g.jpg"))) << "folders are not pictures";

    const QStringList expected { QStringLiteral("a.BMP"), QStringLiteral("b.jpg"),
        QStringLiteral("c.jpeg"), QStringLiteral("d.png"), QStringLiteral("e.JPG"),
        QStringLiteral("g.TIFF"), QStringLiteral("h.tif") };
    EXPECT_EQ(CImageFolder::Scan(tmp.path()), expected);
    EXPECT_EQ(CImageFolder::Scan(tmp.path() + QLatin1Char('/')), expected);
    EXPECT_TRUE(CImageFolder::Scan(tmp.path() + QStringLiteral("/missing")).isEmpty());
    EXPECT_TRUE(CImageFolder::Scan(QString()).isEmpty());
}

TEST(ThumbLayout_Compute, GridFlowsByClientWidth)
{
    const CThumbLayout grid = CThumbLayout::Compute(5, { 130, 110 }, 300, false);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(grid.rows, 3);
    EXPECT_EQ(grid.InnerSize(), QSize(290, 370));
    EXPECT_EQ(grid.ItemPos(0), QPoint(10, 10));
    EXPECT_EQ(grid.ItemPos(3), QPoint(150, 130));
    EXPECT_EQ(grid.ItemPos(4), QPoint(10, 250));

    const CThumbLayout narrow = CThumbLayout::Compute(3, { 130, 110 }, 50, false);
    EXPECT_EQ(narrow.columns, 1) << "at least one column";
    EXPECT_EQ(narrow.InnerSize(), QSize(150, 370));

    const CThumbLayout few = CThumbLayout::Compute(2, { 130, 110 }, 1000, false);
    EXPECT_EQ(few.columns, 2) << "never more columns than items";
    EXPECT_EQ(few.InnerSize(), QSize(290, 130));

    const CThumbLayout none = CThumbLayout::Compute(0, { 130, 110 }, 300, false);
    EXPECT_EQ(none.InnerSize(), QSize(10, 10));
}

TEST(ThumbLayout_Compute, SingleRowIgnoresWidth)
{
    const CThumbLayout row = CThumbLayout::Compute(4, { 130, 110 }, 100, true);
    EXPECT_EQ(row.InnerSize(), QSize(570, 130));
    EXPECT_EQ(row.ItemPos(3), QPoint(430, 10));
    EXPECT_EQ(CThumbLayout::Compute(2, { 233, 175 }, 0, true).InnerSize(), QSize(496, 195));
}

TEST(ScrollAxis_Wheel, StepsPerNotchAndSetting)
{
    EXPECT_EQ(CScrollAxis::WheelSteps(120, 3), 1);
    EXPECT_EQ(CScrollAxis::WheelSteps(240, 3), 2);
    EXPECT_EQ(CScrollAxis::WheelSteps(-360, 3), 3);
    EXPECT_EQ(CScrollAxis::WheelSteps(120, 1), 1);
    EXPECT_EQ(CScrollAxis::WheelSteps(360, 1), 1);
    EXPECT_EQ(CScrollAxis::WheelSteps(40, 3), 1) << "a fraction of a notch still moves";

    CScrollAxis axis;
    axis.SetSizes(1000, 300);
    EXPECT_TRUE(axis.Wheel(-240, 3));
    EXPECT_EQ(axis.Position(), 120);
    EXPECT_TRUE(axis.Wheel(120, 3));
    EXPECT_EQ(axis.Position(), 60);
    EXPECT_TRUE(axis.Wheel(-120, CScrollAxis::kWheelPage));
    EXPECT_EQ(axis.Position(), 360);
    EXPECT_TRUE(axis.Wheel(-12000, 3));
    EXPECT_EQ(axis.Position(), 700) << "limited to content minus page";

    CScrollAxis fits;
    fits.SetSizes(200, 300);
    EXPECT_FALSE(fits.Wheel(-120, 3)) << "no range, nothing to scroll";
    EXPECT_EQ(fits.Position(), 0);
}

TEST(ScrollAxis_Commands, LinesPagesAndResize)
{
    CScrollAxis axis;
    axis.SetSizes(1000, 300);
    EXPECT_EQ(axis.Page(), 300);
    EXPECT_EQ(axis.Maximum(), 700);
    axis.LineDown();
    EXPECT_EQ(axis.Position(), 60);
    axis.PageDown();
    EXPECT_EQ(axis.Position(), 360);
    axis.PageDown();
    axis.PageDown();
    EXPECT_EQ(axis.Position(), 700);
    axis.LineUp();
    EXPECT_EQ(axis.Position(), 640);
    axis.ScrollTo(-5);
    EXPECT_EQ(axis.Position(), 0);

    axis.ScrollTo(300);
    axis.SetSizes(1000, 150);
    EXPECT_EQ(axis.Position(), 150) << "position keeps its share of the page";
    axis.ScrollTo(850);
    axis.SetSizes(1000, 600);
    EXPECT_EQ(axis.Position(), 399) << "rescaled, then limited below content minus page";
    axis.SetSizes(1000, 1000);
    EXPECT_EQ(axis.Page(), 0);
    EXPECT_EQ(axis.Position(), 0);
    EXPECT_FALSE(axis.HasRange());
}

TEST(ThumbnailLoader_Fit, ShrinksKeepingAspectOnCanvas)
{
    EXPECT_EQ(CThumbnailLoader::FitSize({ 1280, 1024 }, { 100, 100 }), QSize(100, 80));
    EXPECT_EQ(CThumbnailLoader::FitSize({ 2592, 1944 }, { 240, 180 }), QSize(240, 180));
    EXPECT_EQ(CThumbnailLoader::FitSize({ 100, 50 }, { 240, 180 }), QSize(100, 50));

    QImage source(1280, 1024, QImage::Format_RGB888);
    source.fill(Qt::red);
    const QImage thumb = CThumbnailLoader::Fit(source, { 100, 100 }, Qt::blue);
    ASSERT_EQ(thumb.size(), QSize(100, 100));
    EXPECT_EQ(thumb.pixelColor(50, 9), QColor(Qt::blue));
    EXPECT_EQ(thumb.pixelColor(50, 10), QColor(Qt::red));
    EXPECT_EQ(thumb.pixelColor(50, 89), QColor(Qt::red));
    EXPECT_EQ(thumb.pixelColor(50, 90), QColor(Qt::blue));
    EXPECT_TRUE(CThumbnailLoader::Fit(QImage(), { 100, 100 }).isNull());
    EXPECT_TRUE(CThumbnailLoader::Fit(source, { 0, 100 }).isNull());
}

TEST(ThumbnailLoader_Load, DecodesByContent)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QImage picture(640, 480, QImage::Format_RGB888);
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("jpeg.bmp")), "JPG"));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("small.bmp")), "BMP"));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("png.jpg")), "PNG"));
    QFile broken(dir.filePath(QStringLiteral("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 not really a jpeg");
    broken.close();

    const QImage fromJpeg = CThumbnailLoader::Load(dir.filePath(QStringLiteral("jpeg.bmp")));
    ASSERT_EQ(fromJpeg.size(), QSize(240, 180)) << "a JPEG named .bmp still loads";
    EXPECT_NEAR(fromJpeg.pixelColor(120, 90).green(), 200, 4);
    const QImage fromBmp = CThumbnailLoader::Load(dir.filePath(QStringLiteral("small.bmp")));
    EXPECT_EQ(fromBmp.pixelColor(0, 0), QColor(0, 200, 0));
    const QImage fromPng = CThumbnailLoader::Load(dir.filePath(QStringLiteral("png.jpg")));
    EXPECT_EQ(fromPng.pixelColor(120, 90), QColor(0, 200, 0)) << "by content, whatever the name";
    EXPECT_TRUE(CThumbnailLoader::Load(dir.filePath(QStringLiteral("broken.jpg"))).isNull());
    EXPECT_TRUE(CThumbnailLoader::Load(dir.filePath(QStringLiteral("missing.jpg"))).isNull());
}

TEST(ThumbnailLoader_DecodeSize, SmallestJpegScaleThatCovers)
{
    EXPECT_EQ(CThumbnailLoader::DecodeSize({ 2592, 1944 }, { 240, 180 }), QSize(324, 243));
    EXPECT_EQ(CThumbnailLoader::DecodeSize({ 640, 480 }, { 240, 180 }), QSize(320, 240));
    EXPECT_EQ(CThumbnailLoader::DecodeSize({ 400, 300 }, { 240, 180 }), QSize(400, 300));
    EXPECT_EQ(CThumbnailLoader::DecodeSize({ 1921, 1080 }, { 240, 134 }), QSize(241, 135));
}
