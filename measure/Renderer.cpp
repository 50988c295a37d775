#include "measure/Renderer.h"

#include "base/FrameLayout.h"
#include "measure/CalibrationRuler.h"
#include "measure/Drawing.h"
#include "measure/FrameRasteriser.h"
#include "measure/MeasureShape.h"
#include "measure/OverlayPainter.h"
#include "measure/TextLabel.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <cstring>
#include <utility>

namespace {

constexpr uint32_t kDefaultLineColour = 0x00FF00;

void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
}

COverlayPainter::Target OverlayTarget(CDrawContext::Target target)
{
    return static_cast<COverlayPainter::Target>(static_cast<int>(target));
}

} // namespace

CRenderer::CRenderer(CDrawingCore& drawing) : m_drawing(drawing)
{
    m_style.shapePen = QPen(
            ColorRefToQColor(kDefaultLineColour), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    m_style.labelFont = QGuiApplication::font();
    m_style.textColour = ColorRefToQColor(m_settings.TextColor);
}

CRenderer::~CRenderer() = default;

void CRenderer::ApplyColourSettings(const CColorSetting& settings)
{
    CDrawingCore::Lock lock(m_drawing.m_mutex);
    m_settings = settings;
    m_style.shapePen.setWidth(settings.LineSize);
    m_style.shapePen.setColor(ColorRefToQColor(settings.LineColor));
    m_style.labelFont = settings.font.ToQFont();
    m_style.textColour = ColorRefToQColor(settings.TextColor);
    m_drawing.InvalidateAll();
}

CColorSetting CRenderer::ColourSettings() const
{
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    return m_settings;
}

void CRenderer::SetExtraLayer(ExtraLayer layer)
{
    {
        CDrawingCore::Lock lock(m_drawing.m_mutex);
        m_extraLayer = std::move(layer);
    }
    m_drawing.InvalidateAll();
}

bool CRenderer::HasExtraLayer() const
{
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    return bool(m_extraLayer);
}

void CRenderer::DrawExtraLayer(QPainter& painter, const CViewTransform& view) const
{
    painter.save();
    // A bottom-up target is painted upright through a mirror of its rows, the one
    // CViewTransform uses, so the layer's lines fall on the same pixels as on the canvas and
    // its texts read the right way up.
    if (view.flipHeight > 0) {
        painter.setWorldTransform(QTransform(1, 0, 0, -1, 0, view.flipHeight - 1));
        // Through the mirror Qt smooths glyphs whatever the render hints say, and a smoothed
        // edge is a blend with the 128 background.
        QFont font = painter.font();
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
    }
    m_extraLayer(painter, QTransform(view.zoom, 0, 0, view.zoom, -view.panX, -view.panY));
    painter.restore();
}

void CRenderer::DrawEverything(QPainter& painter, CDrawContext::Target target, int width,
        int height, int offsetX, int offsetY, const CViewTransform& view, CFrameRasteriser* raster)
{
    const CDrawingCore& d = m_drawing;
    CDrawContext dc(painter, target, view, m_style, raster);
    dc.SetMarked(d.m_selectedShape, d.m_selectedPart);
    PreparePainter(painter);
    painter.setFont(m_style.labelFont);
    COverlayPainter overlays(
            m_settings, view.zoom, d.ScaleX(), d.ScaleY(), d.UnitText(), m_style.labelFont);
    overlays.SetFlipHeight(view.flipHeight);
    const COverlayPainter::Target t = OverlayTarget(target);
    // Live frames come many a second and are never of the still picture the layer is of.
    if (m_extraLayer && target != CDrawContext::Target::Frame)
        DrawExtraLayer(painter, view);
    if (m_settings.RulerShow)
        overlays.DrawRuler(painter, t, width, height, offsetX, offsetY);
    if (m_settings.GridShow)
        overlays.DrawGrid(painter, t, width, height);
    for (const auto& shape : d.m_shapes)
        shape->Draw(dc, false);
    for (const auto& text : d.m_texts)
        text->DrawLabel(dc);
    if (m_settings.ScaleShow)
        overlays.DrawScaleBar(
                painter, t, COverlayPainter::ScaleBarArea(t, d.m_clientSize, QSize(width, height)));
    if (target == CDrawContext::Target::Image)
        DrawCrossLines(dc, width, height);
    else
        DrawCrossLines(dc, d.m_clientSize.width(), d.m_clientSize.height());
    if (d.m_ruler)
        d.m_ruler->Draw(dc, false);
    // Where a snapped point will go, on the screen only.
    if (const std::optional<QPointF> mark = d.m_snap.Mark();
            mark && target != CDrawContext::Target::Image && !raster && view.flipHeight == 0) {
        const QPointF at((mark->x() + 0.5) * view.zoom - view.panX,
                (mark->y() + 0.5) * view.zoom - view.panY);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 200), 3.0));
        painter.drawEllipse(at, 4.0, 4.0);
        painter.setPen(QPen(QColor(255, 220, 0), 1.5));
        painter.drawEllipse(at, 4.0, 4.0);
        painter.drawPoint(at);
        painter.restore();
    }
}

void CRenderer::DrawCrossLines(const CDrawContext& dc, int width, int height) const
{
    for (const CCrossLine& line : m_drawing.m_crossLines) {
        if (line.shown == 0)
            continue;
        const QPoint w = dc.ImageToTarget(QPoint(line.x, line.y));
        const QPen pen = COverlayPainter::CrossLinePen(line);
        // The window extent is flipped like the points on a bottom-up target.
        const QPoint top = dc.ToTarget(QPoint(w.x(), 0));
        const QPoint bottom = dc.ToTarget(QPoint(w.x(), height));
        dc.Line(QPoint(0, w.y()), QPoint(width, w.y()), pen);
        dc.Line(QPoint(w.x(), top.y()), QPoint(w.x(), bottom.y()), pen);
    }
}

void CRenderer::DrawAll(QPainter& painter)
{
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    const QSize client = m_drawing.m_clientSize;
    DrawEverything(painter, CDrawContext::Target::Canvas, client.width(), client.height(), 0, 0,
            m_drawing.m_view, nullptr);
}

void CRenderer::DrawOnFrame(QPainter& painter, int width, int height, int offsetX, int offsetY)
{
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    DrawEverything(painter, CDrawContext::Target::Frame, width, height, offsetX, offsetY,
            m_drawing.m_view, nullptr);
}

void CRenderer::DrawOnFrame(uint8_t* frame, int width, int height, int offsetX, int offsetY)
{
    if (!frame || width <= 0 || height <= 0)
        return;
    // The bottom-up rows are painted as a top-down picture with every y mirrored (see
    // CViewTransform::ToTarget): no copy, and no world transform that would push lines off
    // Qt's fast paths.
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    // The pump draws into the same buffer every frame: keeping the view keeps its paint
    // engine, which is costly to build.
    if (m_frameView.constBits() != frame || m_frameView.width() != width
            || m_frameView.height() != height)
        m_frameView = QImage(frame, width, height, FrameStride(width), QImage::Format_BGR888);
    QPainter painter(&m_frameView);
    CViewTransform bottomUp = m_drawing.m_view;
    bottomUp.flipHeight = height;
    CFrameRasteriser raster(frame, width, height);
    DrawEverything(painter, CDrawContext::Target::Frame, width, height, offsetX, offsetY, bottomUp,
            &raster);
}

void CRenderer::RenderOnto(uint8_t* scratch, int width, int height)
{
    if (!scratch || width <= 0 || height <= 0)
        return;
    std::memset(scratch, kBurnInBackground, static_cast<size_t>(FrameStride(width)) * height);
    CDrawingCore::Lock lock(std::as_const(m_drawing.m_mutex));
    // The picture's own pixels: no zoom, no pan, bottom-up rows.
    CViewTransform picture;
    picture.flipHeight = height;
    QImage view(scratch, width, height, FrameStride(width), QImage::Format_BGR888);
    QPainter painter(&view);
    CFrameRasteriser raster(scratch, width, height);
    // Smoothed edges would blend with the 128 background and leave grey fringes.
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    DrawEverything(painter, CDrawContext::Target::Image, width, height, 0, 0, picture, &raster);
}

void CRenderer::MergeRendered(uint8_t* image, const uint8_t* scratch, int width, int height)
{
    if (!image || !scratch || width <= 0 || height <= 0)
        return;
    const size_t stride = static_cast<size_t>(FrameStride(width));
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* dst = image + y * stride;
        const uint8_t* src = scratch + y * stride;
        for (size_t i = 0; i < rowBytes; ++i)
            dst[i] = src[i] != kBurnInBackground ? src[i] : dst[i];
    }
}
