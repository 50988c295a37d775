#include "image/ThumbnailLoader.h"

#include <QImageReader>
#include <QPainter>

QSize CThumbnailLoader::FitSize(QSize source, QSize target)
{
    if (source.width() <= target.width() && source.height() <= target.height())
        return source;
    const double tw = target.width(), th = target.height();
    const double sw = source.width(), sh = source.height();
    const double scale = (tw / th) * sh > sw ? th / sh : tw / sw;
    return { std::max(1, static_cast<int>(sw * scale)), std::max(1, static_cast<int>(sh * scale)) };
}

QSize CThumbnailLoader::DecodeSize(QSize source, QSize fit)
{
    int denominator = 8;
    while (denominator > 1
            && ((source.width() + denominator - 1) / denominator < fit.width()
                    || (source.height() + denominator - 1) / denominator < fit.height()))
        denominator /= 2;
    return { (source.width() + denominator - 1) / denominator,
        (source.height() + denominator - 1) / denominator };
}

QImage CThumbnailLoader::Fit(const QImage& picture, QSize size, const QColor& canvas)
{
    if (picture.isNull() || size.width() <= 0 || size.height() <= 0)
        return {};
    QImage shrunk = picture;
    const QSize fit = FitSize(picture.size(), size);
    if (fit != picture.size())
        shrunk = picture.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage out(size, QImage::Format_RGB888);
    out.fill(canvas);
    QPainter painter(&out);
    painter.drawImage(
            QPoint((size.width() - fit.width()) / 2, (size.height() - fit.height()) / 2), shrunk);
    return out;
}

QImage CThumbnailLoader::Load(const QString& path, QSize size, const QColor& canvas)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    // Below 50 the JPEG reader may decode at 1/2, 1/4 or 1/8 scale; Fit does the fine shrink.
    reader.setQuality(25);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg")
        return {};
    const QSize source = reader.size();
    if (format == "jpeg" && source.isValid())
        reader.setScaledSize(DecodeSize(source, FitSize(source, size)));
    const QImage picture = reader.read();
    if (picture.isNull())
        return {};
    return Fit(picture, size, canvas);
}
