#pragma once

#include <QImage>
#include <QWidget>

class CxImage;

// The merge dialog's result view: the last fused picture stretched smoothly over the view.
// A double-click asks for it on the big view.
class CMergeResultView : public QWidget
{
    Q_OBJECT
public:
    explicit CMergeResultView(QWidget* parent = nullptr);

    // The picture to show; null or empty paints the background. Call again after it changed.
    void SetImage(const CxImage* image);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const CxImage* m_image = nullptr;
    QImage m_scaled; // cached for the current size
};
