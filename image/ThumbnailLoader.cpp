#include "image/ThumbnailLoader.h"

#include "image/ImagePainter.h"
#include "image/xImage.h"

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
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    // Each worker uses its own picture: the container is safe to use on any one thread.
    CxImage picture;
    if (!picture.LoadFileScaled(path, static_cast<uint32_t>(size.width()),
                static_cast<uint32_t>(size.height())))
        return {};
    const uint32_t canvasColor = static_cast<uint32_t>(canvas.red())
            | (static_cast<uint32_t>(canvas.green()) << 8)
            | (static_cast<uint32_t>(canvas.blue()) << 16);
    if (!picture.MakeThumbnail(size.width(), size.height(), canvasColor))
        return {};
    return CImagePainter::ToQImage(picture);
}
