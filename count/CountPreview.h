#pragma once

#include "count/CountOverlay.h"

#include <QImage>
#include <QWidget>

// The picture, as large as the widget allows with its shape kept, with the count's overlay.
class CCountPreview : public QWidget
{
    Q_OBJECT
public:
    explicit CCountPreview(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    CCountOverlay& Overlay() { return m_overlay; }
    // Picture pixels onto the widget as it is drawn now.
    QTransform ImageToWidget() const;

    QSize sizeHint() const override { return { 640, 480 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    CCountOverlay m_overlay;
};
