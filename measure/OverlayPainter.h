#pragma once

#include "base/ColorSetting.h"
#include "measure/CrossLine.h"

#include <QFont>
#include <QLine>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPen;

// Grid, ruler cross, scale bar and cross lines over a target surface. Everything is laid out
// in window pixels of the target, so none of it moves with the pan. The layout functions are
// separate from the painting so the geometry can be checked without a surface.
class COverlayPainter
{
public:
    // Where the overlays go: the canvas window, a live frame scaled to the display, or a
    // picture being saved (drawn at zoom 1).
    enum class Target { Canvas, Frame, Image };

    struct Label
    {
        QPoint topLeft;
        QString text;
    };
    struct ScaleBar
    {
        std::vector<QLine> lines;
        std::vector<Label> labels;
    };

    // scaleX and scaleY are real units per image pixel; unit is appended to the bar labels.
    COverlayPainter(const CColorSetting& settings, float zoom, double scaleX, double scaleY,
            const QString& unit, const QFont& font);

    // Cells of GridSize scaled by zoom on the canvas, unscaled on frames and pictures.
    std::vector<QLine> GridLines(Target target, int width, int height) const;
    // The offsets shift the centre on a frame; a picture is always centred.
    std::vector<QLine> RulerLines(
            Target target, int width, int height, int offsetX = 0, int offsetY = 0) const;
    // The corner is taken from area: the canvas client size on the canvas and on frames,
    // the picture size when saving (see ScaleBarArea).
    ScaleBar ScaleBarLayout(Target target, QSize area) const;

    void DrawGrid(QPainter& painter, Target target, int width, int height) const;
    void DrawRuler(QPainter& painter, Target target, int width, int height, int offsetX = 0,
            int offsetY = 0) const;
    void DrawScaleBar(QPainter& painter, Target target, QSize area) const;

    // A saved picture carries its scale bar in its own corner: the canvas window has nothing
    // to do with the picture's size, and the bar's length is in picture pixels there too.
    static QSize ScaleBarArea(Target target, QSize clientSize, QSize pictureSize);

    // Each shown line spans the whole area through toWindow(x, y).
    static void DrawCrossLines(QPainter& painter, const std::vector<CCrossLine>& lines,
            const std::function<QPoint(QPoint)>& toWindow, int width, int height);
    static std::vector<QLine> CrossLineSegments(
            const CCrossLine& line, QPoint window, int width, int height);
    // A dashed pen wider than 1 draws as a solid line, as it always has.
    static QPen CrossLinePen(const CCrossLine& line);

    // A bottom-up frame buffer is painted as a top-down picture with every row mirrored:
    // height > 0 mirrors lines and draws the labels upright through a mirror.
    void SetFlipHeight(int height) { m_flipHeight = height; }

    // The zoom the overlays use for a target: a saved picture is always drawn at zoom 1.
    float EffectiveZoom(Target target) const { return target == Target::Image ? 1.0f : m_zoom; }

private:
    QPen OverlayPen(COLORREF colour) const;
    void DrawLines(QPainter& painter, std::vector<QLine> lines) const;
    static void FillLines(QPainter& painter, const std::vector<QLine>& lines, const QPen& pen);

    CColorSetting m_settings;
    float m_zoom;
    double m_scaleX;
    double m_scaleY;
    QString m_unit;
    QFont m_font;
    int m_flipHeight = 0;
};
