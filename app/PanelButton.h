#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QPixmap>
#include <QRect>

class QAction;

// An owner-drawn panel button: its artwork (icon and caption on a light face) when it has
// one, else a grey face with a raised or sunken edge and the caption on one line. The active
// mark is a magenta frame; pressing marks the button and releasing removes the mark again.
class CPanelButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CPanelButton(const QString& caption, QWidget* parent = nullptr);

    // The button triggers the action and is enabled while the action is.
    void SetAction(QAction* action);
    // An empty path drops the artwork.
    void SetBitmap(const QString& iconPath);
    const QString& Bitmap() const { return m_iconPath; }
    void SetActive(bool active);
    bool IsActive() const { return m_bActive; }

    QSize sizeHint() const override;

    // The caption beside the artwork: its place, and the font it is drawn in (smaller for a
    // long caption); false when even the smallest font cuts it.
    QRect CaptionRect() const;
    QFont CaptionFont() const;
    bool CaptionFits() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int CaptionWidth(const QFont& captionFont) const;
    void PaintArtwork(QPainter& painter);
    void PaintPlainFace(QPainter& painter);
    void PaintActiveMark(QPainter& painter);

    QString m_iconPath;
    QPixmap m_icon;
    bool m_bActive = false;
    bool m_bHover = false;
};
