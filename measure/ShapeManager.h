#pragma once

#include "base/FrameLayout.h"
#include "measure/Drawing.h"
#include "measure/MeasureShape.h"
#include "measure/Renderer.h"
#include "measure/ToolBox.h"

// The measurement engine as the canvas, the frame pump and the main window use it: the
// drawing with the renderer that draws it and the tool box that edits it. Everything here
// is the parts' own; the mouse goes to the tool in use.
class CShapeManager : public CDrawing
{
public:
    static constexpr uint8_t kBurnInBackground = CRenderer::kBurnInBackground;

    CShapeManager() : m_renderer(*this), m_tools(*this) { }

    CRenderer& Renderer() { return m_renderer; }
    CToolBox& Tools() { return m_tools; }
    const CToolBox& Tools() const { return m_tools; }

    // Tool and mouse, window pixels.
    int ToolMode() const { return m_tools.Mode(); }
    void OnLButtonDown(int windowX, int windowY) { m_tools.Press({ windowX, windowY }); }
    void OnLButtonUp(int windowX, int windowY) { m_tools.Release({ windowX, windowY }); }
    void OnMouseMove(int windowX, int windowY) { m_tools.Move({ windowX, windowY }); }
    void OnLButtonDblClk(int windowX, int windowY) { m_tools.DoubleClick({ windowX, windowY }); }

    // Display settings and drawing
    void ApplyColourSettings(const CColorSetting& settings)
    {
        m_renderer.ApplyColourSettings(settings);
    }
    CColorSetting ColourSettings() const { return m_renderer.ColourSettings(); }
    void DrawAll(QPainter& painter) { m_renderer.DrawAll(painter); }
    void DrawOnFrame(QPainter& painter, int width, int height, int offsetX, int offsetY)
    {
        m_renderer.DrawOnFrame(painter, width, height, offsetX, offsetY);
    }
    void DrawOnFrame(uint8_t* frame, int width, int height, int offsetX, int offsetY)
    {
        m_renderer.DrawOnFrame(frame, width, height, offsetX, offsetY);
    }
    void RenderOnto(uint8_t* scratch, int width, int height)
    {
        m_renderer.RenderOnto(scratch, width, height);
    }
    static void MergeRendered(uint8_t* image, const uint8_t* scratch, int width, int height)
    {
        CRenderer::MergeRendered(image, scratch, width, height);
    }

private:
    CRenderer m_renderer;
    CToolBox m_tools;
};
