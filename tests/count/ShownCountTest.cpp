#include "count/CountCommand.h"
#include "count/CountOverlay.h"
#include "count/ShownCount.h"
#include "measure/ShapeManager.h"

#include "DiscPicture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <set>
#include <utility>
#include <vector>

namespace {

CParticleCounter::Result CountDiscs()
{
    const CxImage picture = CDiscPicture::Make();
    return CParticleCounter::Count(
            CCountCommand::PlaneOf(picture, CParticleCounter::Channel::Luminance), {});
}

using Pixels = std::set<std::pair<int, int>>; // (x, y) in picture pixels

// The pixels of one colour in a top-down picture.
Pixels PixelsOf(const QImage& image, QColor colour)
{
    Pixels found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                found.insert({ x, y });
    return found;
}

// A burnt-in bottom-up scratch as a top-down picture.
QImage Upright(const std::vector<uint8_t>& scratch, int width, int height)
{
    const QImage rows(scratch.data(), width, height, FrameStride(width), QImage::Format_BGR888);
    return rows.mirrored(false, true);
}

} // namespace

// The count over its picture: opaque in the saved picture (the 128 grey of the burn-in never
// blends in), its outlines on the same pixels as on the canvas, round each disc's rim, and its
// numbers the right way up.
TEST(ShownCount, BurnsInOpaqueAndWhereTheCanvasShowsIt)
{
    const CParticleCounter::Result result = CountDiscs();
    ASSERT_EQ(result.particles.size(), CDiscPicture::kCentres.size());
    CShapeManager manager;
    CShownCount shown;
    shown.SetLayerHook(
            [&](CShownCount::Layer layer) { manager.Renderer().SetExtraLayer(std::move(layer)); });
    shown.Show(result, QStringLiteral("3 object(s)."));
    EXPECT_TRUE(shown.HasOverlay());
    EXPECT_EQ(shown.Summary(), QStringList { QStringLiteral("3 object(s).") });

    constexpr int w = CDiscPicture::kWidth;
    constexpr int h = CDiscPicture::kHeight;
    std::vector<uint8_t> scratch(size_t(FrameStride(w)) * h);
    manager.RenderOnto(scratch.data(), w, h);
    const QImage burnt = Upright(scratch, w, h);
    const QColor background(128, 128, 128);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QColor c = burnt.pixelColor(x, y);
            ASSERT_TRUE(c == background || c == CCountOverlay::kOutline
                    || c == CCountOverlay::kNumber || c == QColor(Qt::black))
                    << "a blended pixel at " << x << "," << y << ": " << c.name().toStdString();
        }
    }

    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(background);
    {
        manager.SetClientSize(canvas.size());
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        manager.DrawAll(painter);
    }
    const Pixels outline = PixelsOf(burnt, CCountOverlay::kOutline);
    EXPECT_EQ(outline, PixelsOf(canvas, CCountOverlay::kOutline));
    // Every disc is ringed: its extreme pixels, or the ones just outside, are outline.
    const auto ringed = [&](int x, int y, int dx, int dy) {
        return outline.count({ x, y }) || outline.count({ x + dx, y + dy });
    };
    const int r = CDiscPicture::kRadius;
    for (QPoint c : CDiscPicture::kCentres) {
        EXPECT_TRUE(ringed(c.x() - r, c.y(), -1, 0)) << c.x() << "," << c.y();
        EXPECT_TRUE(ringed(c.x() + r, c.y(), 1, 0)) << c.x() << "," << c.y();
        EXPECT_TRUE(ringed(c.x(), c.y() - r, 0, -1)) << c.x() << "," << c.y();
        EXPECT_TRUE(ringed(c.x(), c.y() + r, 0, 1)) << c.x() << "," << c.y();
        EXPECT_FALSE(outline.count({ c.x() - r - 3, c.y() }));
        EXPECT_FALSE(outline.count({ c.x() - r + 3, c.y() }));
    }

    // A number's glyphs as on the canvas, give or take a row: a mirrored "2" would not match.
    const Pixels onCanvas = PixelsOf(canvas, CCountOverlay::kNumber);
    const Pixels inPicture = PixelsOf(burnt, CCountOverlay::kNumber);
    ASSERT_GT(onCanvas.size(), 10u);
    size_t best = 0;
    for (int dy : { -1, 0, 1 }) {
        size_t same = 0;
        for (const auto& [x, y] : onCanvas)
            same += inPicture.count({ x, y + dy });
        best = std::max(best, same);
    }
    EXPECT_GE(best * 10, onCanvas.size() * 9) << best << " of " << onCanvas.size();
}

// A new count replaces the shown one, one without objects takes it away but keeps its summary,
// and a change of picture forgets both; the layer drawn keeps its own copy of the count.
TEST(ShownCount, ReplacedTakenAwayAndForgotten)
{
    std::vector<CShownCount::Layer> given;
    CShownCount shown;
    shown.Show(CountDiscs(), QStringLiteral("before the hook")); // nothing to put it on yet
    shown.SetLayerHook([&](CShownCount::Layer layer) { given.push_back(std::move(layer)); });
    shown.Forget();
    EXPECT_EQ(given.size(), 1u);
    EXPECT_FALSE(given.back());
    shown.Forget();
    EXPECT_EQ(given.size(), 1u) << "nothing shown: nothing to take away";

    shown.Show(CountDiscs(), QStringLiteral("3"));
    ASSERT_EQ(given.size(), 2u);
    ASSERT_TRUE(given.back());
    const CShownCount::Layer first = given.back();
    shown.Show(CParticleCounter::Result(), QStringLiteral("No objects found."));
    ASSERT_EQ(given.size(), 3u);
    EXPECT_FALSE(given.back());
    EXPECT_FALSE(shown.HasOverlay());
    EXPECT_EQ(shown.Summary(), QStringList { QStringLiteral("No objects found.") });

    QImage target(CDiscPicture::kWidth, CDiscPicture::kHeight, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        first(painter, QTransform());
    }
    EXPECT_FALSE(PixelsOf(target, CCountOverlay::kOutline).empty());

    shown.Show(CountDiscs(), QStringLiteral("3"));
    shown.Forget();
    EXPECT_TRUE(shown.Summary().isEmpty());
    EXPECT_FALSE(shown.HasOverlay());
    ASSERT_EQ(given.size(), 5u);
    EXPECT_FALSE(given.back());
}
