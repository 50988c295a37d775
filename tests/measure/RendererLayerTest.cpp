#include "measure/ShapeManager.h"

#include "ShapeDrivers.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QColor kInk(200, 10, 60);

// An L of one-pixel lines from picture pixel (10,20): across to (30,20), down to (10,40).
CRenderer::ExtraLayer Ell(int& calls)
{
    return [&calls](QPainter& painter, const QTransform& toTarget) {
        ++calls;
        QPen pen(kInk);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawLine(toTarget.map(QPointF(10, 20)), toTarget.map(QPointF(30, 20)));
        painter.drawLine(toTarget.map(QPointF(10, 20)), toTarget.map(QPointF(10, 40)));
    };
}

// A bottom-up BGR frame as the burn-in and the pump see it, read at picture pixels.
struct Frame
{
    Frame(int w, int h) : width(w), height(h), stride(FrameStride(w)), bytes(stride * h) { }
    QColor At(int x, int y) const
    {
        const uint8_t* px = &bytes[size_t((height - 1 - y) * stride + 3 * x)];
        return QColor(px[2], px[1], px[0]);
    }
    int width, height, stride;
    std::vector<uint8_t> bytes;
};

const QColor kBackground(128, 128, 128);

} // namespace

// Burn-in: the layer lands on the picture's own pixels, upright in the bottom-up rows, whatever
// the view, and beneath the drawing.
TEST(RendererLayer, BurnsInUprightBeneathTheDrawing)
{
    CShapeManager m;
    CColorSetting colours;
    colours.LineSize = 1;
    colours.LineColor = 0x0000FF00; // green
    m.ApplyColourSettings(colours);
    DrawLine(m, { 2, 35 }, { 18, 35 }); // crosses the L's upright at (10,35)
    int calls = 0;
    m.Renderer().SetExtraLayer(Ell(calls));
    EXPECT_TRUE(m.Renderer().HasExtraLayer());
    m.SetZoom(2.0f);
    m.SetPan(7, 3);

    Frame scratch(61, 50); // odd width: rows carry padding
    m.RenderOnto(scratch.bytes.data(), scratch.width, scratch.height);
    EXPECT_EQ(calls, 1);
    for (int x : { 12, 20, 28 }) {
        EXPECT_EQ(scratch.At(x, 20), kInk) << x;
        EXPECT_EQ(scratch.At(x, 19), kBackground) << x;
        EXPECT_EQ(scratch.At(x, 21), kBackground) << x;
        EXPECT_EQ(scratch.At(x, 50 - 1 - 20), kBackground) << "not mirrored, " << x;
    }
    for (int y : { 24, 28, 31 }) {
        EXPECT_EQ(scratch.At(10, y), kInk) << y;
        EXPECT_EQ(scratch.At(9, y), kBackground) << y;
        EXPECT_EQ(scratch.At(11, y), kBackground) << y;
    }
    EXPECT_EQ(scratch.At(10, 35), QColor(0, 255, 0)) << "the measurement is drawn over it";
}

// The canvas sees it through the view; live frames never: they are not of the still picture.
// Removing it repaints and leaves nothing.
TEST(RendererLayer, FollowsTheCanvasViewAndStaysOffLiveFrames)
{
    CShapeManager m;
    m.SetClientSize(QSize(120, 100));
    int invalidated = 0;
    m.SetInvalidateHook([&](const QRect& rect) { invalidated += rect.isEmpty(); });
    int calls = 0;
    const uint64_t changes = m.ChangeCount();
    m.Renderer().SetExtraLayer(Ell(calls));
    EXPECT_EQ(invalidated, 1);
    EXPECT_NE(m.ChangeCount(), changes);
    m.SetZoom(2.0f);
    m.SetPan(7, 3);

    // Picture (10,20) is window (13,37) at zoom 2 panned by (7,3); lines stay one pixel wide.
    QImage canvas(120, 100, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        m.DrawAll(painter);
    }
    EXPECT_EQ(calls, 1);
    for (int x : { 15, 30, 50 }) {
        EXPECT_EQ(canvas.pixelColor(x, 37), kInk) << x;
        EXPECT_EQ(canvas.pixelColor(x, 36), QColor(Qt::black)) << x;
        EXPECT_EQ(canvas.pixelColor(x, 38), QColor(Qt::black)) << x;
    }
    for (int y : { 40, 60, 75 }) {
        EXPECT_EQ(canvas.pixelColor(13, y), kInk) << y;
        EXPECT_EQ(canvas.pixelColor(12, y), QColor(Qt::black)) << y;
        EXPECT_EQ(canvas.pixelColor(14, y), QColor(Qt::black)) << y;
    }

    Frame live(64, 48);
    m.DrawOnFrame(live.bytes.data(), live.width, live.height, 0, 0);
    QImage view(64, 48, QImage::Format_RGB32);
    view.fill(Qt::black);
    {
        QPainter painter(&view);
        m.DrawOnFrame(painter, 64, 48, 0, 0);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(live.bytes, std::vector<uint8_t>(live.bytes.size(), 0));

    invalidated = 0;
    m.Renderer().SetExtraLayer({});
    EXPECT_FALSE(m.Renderer().HasExtraLayer());
    EXPECT_EQ(invalidated, 1);
    Frame scratch(40, 30);
    m.RenderOnto(scratch.bytes.data(), scratch.width, scratch.height);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(scratch.bytes, std::vector<uint8_t>(scratch.bytes.size(), 128));
}
