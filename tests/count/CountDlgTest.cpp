#include "count/CountDlg.h"
#include "count/CountOverlay.h"
#include "count/SizeHistogram.h"

#include "calibration/CalibrationSlot.h"
#include "image/xImage.h"
#include "imgproc/ParticleCsv.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTransform>

namespace {

// 160 x 120, grey 200, with three dark 10 x 10 boxes (grey 40, 60 and 100) and a bright one.
CxImage Boxes()
{
    CxImage picture;
    picture.Create(160, 120, 24);
    for (uint32_t row = 0; row < 120; ++row) {
        uint8_t* bits = picture.RowBits(row);
        const int y = 119 - int(row);
        for (int x = 0; x < 160; ++x) {
            int grey = 200;
            if (y >= 20 && y < 30)
                grey = x >= 20 && x < 30      ? 40
                        : x >= 60 && x < 70   ? 60
                        : x >= 100 && x < 110 ? 100
                                              : grey;
            if (y >= 80 && y < 90 && x >= 40 && x < 50)
                grey = 250;
            bits[3 * x] = bits[3 * x + 1] = bits[3 * x + 2] = uint8_t(grey);
        }
    }
    return picture;
}

CCalibrationSlot HalfMicron()
{
    CCalibrationSlot slot;
    slot.unit = 0;
    slot.xPerPixel = slot.yPerPixel = 0.5;
    return slot;
}

TEST(CountDlg, FollowsTheLevelAndExportsTheCount)
{
    const CxImage picture = Boxes();
    CCountDlg dialog(picture, HalfMicron(), QStringLiteral("# scale: 0.5 x 0.5 um/pixel"), {});
    // Otsu on three dark boxes against the ground takes all three.
    EXPECT_EQ(dialog.Result().particles.size(), 3u);
    EXPECT_EQ(dialog.Result().particles[0].area, 25.0);
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("countTable"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), QStringLiteral("Area (um²)"));
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("countSummary"))
                        ->text()
                        .startsWith(QStringLiteral("3 object(s).")));

    // Moving the slider chooses the level: at 50 only the darkest box is an object.
    auto* slider = dialog.findChild<QSlider*>(QStringLiteral("countLevelSlider"));
    slider->setValue(50);
    EXPECT_EQ(dialog.Options().automatic, false);
    dialog.CountNow();
    EXPECT_EQ(dialog.Result().level, 50);
    EXPECT_EQ(table->rowCount(), 1);
    slider->setValue(10);
    dialog.CountNow();
    EXPECT_EQ(dialog.SummaryText(), QStringLiteral("No objects found."));

    dialog.findChild<QComboBox*>(QStringLiteral("countObjects"))->setCurrentIndex(1);
    slider->setValue(240);
    dialog.CountNow();
    ASSERT_EQ(dialog.Result().particles.size(), 1u);
    EXPECT_DOUBLE_EQ(dialog.Result().particles[0].x, 22.5);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("count.csv"));
    ASSERT_TRUE(dialog.ExportTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith(QByteArray(CParticleCsv::kHeader) + "\n1,22.5,42.5,25,"));
    EXPECT_TRUE(bytes.endsWith("# scale: 0.5 x 0.5 um/pixel\n"));
    QString error;
    EXPECT_FALSE(dialog.ExportTo(dir.filePath(QStringLiteral("no/such.csv")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(CountDlg, AnEmptyPictureSaysSo)
{
    const CxImage none;
    CCountDlg dialog(none, CCalibrationSlot(), {}, {});
    EXPECT_TRUE(dialog.Result().particles.empty());
    EXPECT_EQ(dialog.SummaryText(), QStringLiteral("There is no picture to count."));
}

TEST(CountOverlay, DrawsOutlinesWhereThePictureMapsThem)
{
    CParticleCounter::Result result;
    CParticleCounter::Particle p;
    p.number = 1;
    p.outline = { { 10, 11 }, { 10, 20 }, { 2, 20 }, { 2, 10 }, { 10, 10 } };
    p.centre = { 6, 15 };
    result.particles.push_back(p);
    CCountOverlay overlay;
    overlay.SetResult(result);
    overlay.SetShowNumbers(false);
    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    overlay.Draw(painter, QTransform::fromScale(4, 4)); // picture pixels 4 times larger
    painter.end();
    EXPECT_EQ(target.pixelColor(8, 60), CCountOverlay::kOutline); // the left edge at x = 2 x 4
    EXPECT_EQ(target.pixelColor(24, 60), QColor(Qt::black)); // inside stays clear
}

TEST(SizeHistogram, ClassifiesFromSmallestToLargest)
{
    double low = 0, high = 0;
    EXPECT_EQ(CSizeHistogram::Classify({ 1, 2, 2, 3, 5 }, 4, low, high),
            std::vector<int>({ 1, 2, 1, 1 }));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 5);
    EXPECT_EQ(CSizeHistogram::Classify({ 7, 7 }, 4, low, high), std::vector<int>({ 2 }));
    EXPECT_TRUE(CSizeHistogram::Classify({}, 4, low, high).empty());
}

} // namespace
