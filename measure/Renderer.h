#pragma once

#include "base/ColorSetting.h"
#include "measure/DrawContext.h"

#include <QImage>

#include <cstdint>
#include <functional>

class CDrawingCore;
class CFrameRasteriser;
class QPainter;
class QTransform;

// Draws the drawing over the still picture, over live frames and into saved pictures, in
// the style of the colour settings: one draw context per pass, under the drawing's lock.
class CRenderer
{
public:
    static constexpr uint8_t kBurnInBackground = 128;

    explicit CRenderer(CDrawingCore& drawing);
    ~CRenderer();
    CRenderer(const CRenderer&) = delete;
    CRenderer& operator=(const CRenderer&) = delete;

    void ApplyColourSettings(const CColorSetting& settings);
    CColorSetting ColourSettings() const;

    // Something drawn over the still picture beneath the drawing, on the canvas and in saved
    // pictures but not on live frames. imageToTarget maps picture pixels ((0,0) the top-left
    // corner of the first) onto the painter, which is upright on every target. In a saved
    // picture every byte of value 128 is left out: the layer draws opaque there.
    using ExtraLayer = std::function<void(QPainter& painter, const QTransform& imageToTarget)>;
    // An empty layer removes it. Called on the thread that paints the canvas.
    void SetExtraLayer(ExtraLayer layer);
    bool HasExtraLayer() const;

    // The canvas, in its client area.
    void DrawAll(QPainter& painter);
    void DrawOnFrame(QPainter& painter, int width, int height, int offsetX, int offsetY);
    // A 24-bit BGR frame, rows bottom-up and padded to 4 bytes.
    void DrawOnFrame(uint8_t* frame, int width, int height, int offsetX, int offsetY);
    // Burn-in: scratch (FrameStride(width) * height bytes) is filled with 128 and everything
    // is drawn into it at zoom 1 and pan 0; MergeRendered copies every other byte value.
    void RenderOnto(uint8_t* scratch, int width, int height);
    static void MergeRendered(uint8_t* image, const uint8_t* scratch, int width, int height);

private:
    void DrawEverything(QPainter& painter, CDrawContext::Target target, int width, int height,
            int offsetX, int offsetY, const CViewTransform& view, CFrameRasteriser* raster);
    void DrawCrossLines(const CDrawContext& dc, int width, int height) const;
    void DrawExtraLayer(QPainter& painter, const CViewTransform& view) const;

    CDrawingCore& m_drawing;
    CColorSetting m_settings;
    CDrawStyle m_style;
    ExtraLayer m_extraLayer;
    QImage m_frameView; // the last frame buffer drawn on, wrapped without a copy
};
