#include "image/ImagePainter.h"

#include "image/xImage.h"

#include <QPainter>

namespace {

QList<QRgb> colorTable(const CxImage& image)
{
    QList<QRgb> table;
    const uint8_t* pal = image.Palette();
    for (uint32_t i = 0; pal && i < image.NumColors(); ++i)
        table.append(qRgb(pal[4 * i + 2], pal[4 * i + 1], pal[4 * i]));
    return table;
}

} // namespace

QImage CImagePainter::StoredView(const CxImage& image)
{
    if (!image.HasPixels())
        return {};
    QImage::Format format;
    switch (image.Bpp()) {
    case 24:
        format = QImage::Format_BGR888;
        break;
    case 8:
        format = QImage::Format_Indexed8;
        break;
    case 1:
        format = QImage::Format_Mono;
        break;
    default:
        return {};
    }
    QImage view(image.RowBits(0), int(image.Width()), int(image.Height()),
            qsizetype(image.Stride()), format);
    if (format != QImage::Format_BGR888)
        view.setColorTable(colorTable(image));
    return view;
}

QImage CImagePainter::ToQImage(const CxImage& image)
{
    if (!image.HasPixels())
        return {};
    if (image.Bpp() != 4)
        return StoredView(image).mirrored(false, true);
    QImage out(int(image.Width()), int(image.Height()), QImage::Format_Indexed8);
    out.setColorTable(colorTable(image));
    for (uint32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* s = image.RowBits(image.Height() - 1 - y);
        uchar* d = out.scanLine(int(y));
        for (uint32_t x = 0; x < image.Width(); ++x)
            d[x] = (x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4);
    }
    return out;
}

bool CImagePainter::FromQImage(const QImage& source, CxImage& image)
{
    if (source.isNull())
        return false;
    const QImage bgr = source.convertToFormat(QImage::Format_BGR888);
    return image.CreateFromBuffer(bgr.constBits(), uint32_t(bgr.width()), uint32_t(bgr.height()),
            24, uint32_t(bgr.bytesPerLine()), true);
}

bool CImagePainter::DrawStretched(
        QPainter& painter, const CxImage& image, int x, int y, int width, int height)
{
    if (!image.HasPixels())
        return false;
    if (width < 0)
        width = int(image.Width());
    if (height < 0)
        height = int(image.Height());
    if (width == 0 || height == 0)
        return false;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage view = StoredView(image);
    if (view.isNull()) {
        painter.drawImage(QRect(x, y, width, height), ToQImage(image));
    } else {
        // Stored row 0 is the bottom of the picture: mirror while drawing.
        painter.translate(x, y + height);
        painter.scale(double(width) / image.Width(), -double(height) / image.Height());
        painter.drawImage(QPointF(0, 0), view);
    }
    painter.restore();
    return true;
}
