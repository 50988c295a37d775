#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// Builds the fixed-size picture an item of the thumbnail list shows. Safe to call from any
// thread. The one place that decodes for thumbnails, so the codec behind it can change.
class CThumbnailLoader
{
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 180;

    // Decodes a BMP or JPEG file (by content, not by name) straight to about the thumbnail size
    // and centres it on a white canvas of exactly kWidth x kHeight. Null when it cannot decode.
    static QImage Load(const QString& path, QSize size = { kWidth, kHeight },
            const QColor& canvas = Qt::white);
    // Shrinks a larger picture keeping its aspect and centres it on the canvas colour.
    static QImage Fit(const QImage& picture, QSize size, const QColor& canvas = Qt::white);
    // The shrunk size of a source of the given size, truncated; a smaller source keeps its size.
    static QSize FitSize(QSize source, QSize target);
    // The size libjpeg decodes to at the smallest scale 1/1, 1/2, 1/4 or 1/8 still covering fit.
    static QSize DecodeSize(QSize source, QSize fit);
};
