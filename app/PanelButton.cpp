#include "app/PanelButton.h"

#include <QAction>
#include <QFontMetrics>
#include <QIcon>
#include <QPixmapCache>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {
const QColor kPlainFace(129, 129, 129);
const QColor kMarkOverArtwork(230, 0, 230);
const QColor kMarkOverPlain(255, 0, 255);
const QColor kFaceTop(252, 253, 254);
const QColor kFaceBottom(222, 229, 237);
const QColor kFaceBorder(99, 125, 165);
const QColor kCaption(29, 53, 87);
constexpr int kIconSize = 22;
} // namespace

CPanelButton::CPanelButton(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    // The press marks the button, the release takes the mark away again before the command
    // runs; a tool command then marks its button for as long as the tool is on.
    connect(this, &QAbstractButton::pressed, this, [this] { SetActive(true); });
    connect(this, &QAbstractButton::released, this, [this] { SetActive(false); });
}

void CPanelButton::SetAction(QAction* action)
{
    connect(this, &QAbstractButton::clicked, action, &QAction::trigger);
    setEnabled(action->isEnabled());
    connect(action, &QAction::changed, this, [this, action] { setEnabled(action->isEnabled()); });
}

void CPanelButton::SetBitmap(const QString& iconPath)
{
    if (iconPath == m_iconPath)
        return;
    m_iconPath = iconPath;
    // Looked up by file: every new QIcon of the same file would leave another rendering in
    // Qt's pixmap cache, at each Video/Still switch.
    m_icon = QPixmap();
    const QString key = QStringLiteral("kalvex-panel:%1@%2").arg(iconPath).arg(devicePixelRatioF());
    if (!iconPath.isEmpty() && !QPixmapCache::find(key, &m_icon)) {
        m_icon = QIcon(iconPath).pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF());
        QPixmapCache::insert(key, m_icon);
    }
    update();
}

void CPanelButton::SetActive(bool active)
{
    if (active == m_bActive)
        return;
    m_bActive = active;
    update();
}

QSize CPanelButton::sizeHint() const
{
    return { 108, 30 };
}

void CPanelButton::enterEvent(QEnterEvent* event)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CPanelButton::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CPanelButton::keyPressEvent(QKeyEvent* event)
{
    // Return on a focused button runs its command, as Space does, instead of reaching the
    // main window, which would take the focus away.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CPanelButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_icon.isNull())
        PaintPlainFace(painter);
    else
        PaintArtwork(painter);
    if (m_bActive)
        PaintActiveMark(painter);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(5, 5, -6, -6);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CPanelButton::PaintArtwork(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    QColor top = isDown() ? kFaceBottom : kFaceTop;
    QColor bottom = isDown() ? kFaceTop : kFaceBottom;
    if (m_bHover && enabled && !isDown()) {
        top = top.lighter(103);
        bottom = QColor(206, 220, 236);
    }
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(QPen(enabled ? kFaceBorder : QColor(170, 178, 188), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(face, 4, 4);

    const int shift = isDown() ? 1 : 0;
    const int iconY = (height() - kIconSize) / 2 + shift;
    const QPixmap icon =
            enabled ? m_icon : QIcon(m_icon).pixmap(QSize(kIconSize, kIconSize), QIcon::Disabled);
    painter.drawPixmap(7 + shift, iconY, kIconSize, kIconSize, icon);

    const QRect textRect = CaptionRect().translated(shift, shift);
    painter.setPen(enabled ? kCaption : QColor(140, 146, 154));
    painter.setFont(CaptionFont());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

QRect CPanelButton::CaptionRect() const
{
    return { 7 + kIconSize + 6, 0, width() - kIconSize - 17, height() };
}

QFont CPanelButton::CaptionFont() const
{
    QFont captionFont = font();
    if (text().contains(QLatin1Char('\n')))
        captionFont.setPointSizeF(captionFont.pointSizeF() * 0.9);
    // Long captions (and longer translations) shrink rather than lose letters.
    for (int step = 0; step < 6; ++step) {
        if (CaptionWidth(captionFont) <= CaptionRect().width())
            break;
        captionFont.setPointSizeF(captionFont.pointSizeF() * 0.92);
    }
    return captionFont;
}

int CPanelButton::CaptionWidth(const QFont& captionFont) const
{
    const QFontMetrics metrics(captionFont);
    int widest = 0;
    for (const QString& line : text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

bool CPanelButton::CaptionFits() const
{
    return CaptionWidth(CaptionFont()) <= CaptionRect().width();
}

void CPanelButton::PaintPlainFace(QPainter& painter)
{
    painter.fillRect(rect(), kPlainFace);
    // A three-dimensional edge: light top-left and dark bottom-right, swapped while pushed.
    const QColor light(223, 223, 223);
    const QColor dark(64, 64, 64);
    const QColor& topLeft = isDown() ? dark : light;
    const QColor& bottomRight = isDown() ? light : dark;
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(isEnabled() ? Qt::white : QColor(180, 180, 180));
    QString oneLine = text();
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, oneLine);
}

void CPanelButton::PaintActiveMark(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(m_icon.isNull() ? kMarkOverPlain : kMarkOverArtwork, 3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Through (1, 1) and (width - 3, height - 3).
    painter.drawRect(QRect(QPoint(1, 1), QPoint(width() - 3, height() - 3)));
}
