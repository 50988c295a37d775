#pragma once

#include <QImage>

class CxImage;
class QPainter;

// Paints a CxImage with QPainter. The picture's rows are stored bottom-up, so a QImage over them
// shows the picture upside down; drawing mirrors it instead of copying the pixels.
class CImagePainter
{
public:
    // A QImage sharing the stored rows (bottom row first), or a null QImage for an empty or
    // 4-bit picture. Valid while the picture lives and is not recreated.
    static QImage StoredView(const CxImage& image);
    // An upright copy, for callers that keep a QImage or QPixmap.
    static QImage ToQImage(const CxImage& image);
    // Copies an upright QImage into a 24-bit picture.
    static bool FromQImage(const QImage& source, CxImage& image);
    // The whole picture into the rectangle, without smoothing. A negative width or height means
    // the picture's own; false for an empty picture or a zero-sized rectangle.
    static bool DrawStretched(
            QPainter& painter, const CxImage& image, int x, int y, int width, int height);
};
