#include "measure/MeasureShape.h"

#include "measure/PictureRescale.h"

#include "base/Trace.h"
#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"

#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int kPointTolerance2 = 100; // squared image pixels
constexpr int kCrossArm = 5; // window pixels each side
} // namespace

CMeasureShape::CMeasureShape(CShapeHost* host, int kind)
    : m_host(host), m_id(host->NextShapeId()), m_kind(kind)
{
    qCDebug(lcTrace, "Shape id:%u created", m_id);
}

CMeasureShape::CMeasureShape(const CMeasureShape& other)
    : m_host(other.m_host), m_id(other.m_id), m_kind(other.m_kind), m_points(other.m_points),
      m_fine(other.m_fine), m_bInConstruction(other.m_bInConstruction),
      m_bSelected(other.m_bSelected), m_press(other.m_press), m_nHitPart(other.m_nHitPart),
      m_bCursorHit(other.m_bCursorHit), m_bHighlighted(other.m_bHighlighted),
      m_bRemoved(other.m_bRemoved)
{
    m_children.reserve(other.m_children.size());
    for (const auto& child : other.m_children)
        AddChild(child->Clone());
}

CMeasureShape::~CMeasureShape() = default;

void CMeasureShape::AppendState(std::vector<int64_t>& out) const
{
    out.push_back(m_kind);
    out.push_back(m_id);
    out.push_back(PointCount());
    for (const QPoint& p : m_points) {
        out.push_back(p.x());
        out.push_back(p.y());
    }
    // Snapped points only: a drawing without them keeps the states it always had.
    for (size_t i = 0; i < m_fine.size(); ++i)
        if (!m_fine[i].isNull()) {
            out.push_back(-1 - int64_t(i));
            out.push_back(std::llround(m_fine[i].x() * 1e6));
            out.push_back(std::llround(m_fine[i].y() * 1e6));
        }
    out.push_back(ChildCount());
    for (const auto& child : m_children)
        child->AppendState(out);
}

QPointF CMeasureShape::PointF(int index) const
{
    const QPointF whole(m_points[size_t(index)]);
    return size_t(index) < m_fine.size() ? whole + m_fine[size_t(index)] : whole;
}

void CMeasureShape::TakeSnap(int index, int x, int y)
{
    const QPointF rest = m_host ? m_host->SnappedOffset(QPoint(x, y)) : QPointF();
    if (rest.isNull() && size_t(index) >= m_fine.size())
        return;
    if (size_t(index) >= m_fine.size())
        m_fine.resize(size_t(index) + 1);
    m_fine[size_t(index)] = rest;
}

void CMeasureShape::Translate(QPoint d)
{
    for (QPoint& p : m_points)
        p += d;
    for (const auto& child : m_children)
        child->Translate(d);
}

void CMeasureShape::Rescale(const CPictureRescale& map)
{
    for (QPoint& p : m_points)
        p = map.Map(p);
    m_fine.clear();
    for (const auto& child : m_children)
        child->Rescale(map);
}

void CMeasureShape::Draw(CDrawContext& dc, bool hidden)
{
    DrawChildren(dc, hidden);
}

void CMeasureShape::AppendRows(std::vector<CResultRow>&) const { }

bool CMeasureShape::ReferenceLength(double&, QPoint&) const
{
    return false;
}

void CMeasureShape::AddRow(std::vector<CResultRow>& rows, uint32_t id, const char* type,
        const QString& value, const QString& unit)
{
    rows.push_back({ id, QString::fromLatin1(type), value, unit });
}

int CMeasureShape::OnLButtonDown(int x, int y, int mode)
{
    if (mode == SelectMode)
        return SelectPress(x, y);
    return -1;
}

void CMeasureShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode == SelectMode) {
        EndDrag();
        ForwardToChildren(&CMeasureShape::OnLButtonUp, x, y, mode);
    }
}

void CMeasureShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == SelectMode)
        ForwardToChildren(&CMeasureShape::OnMouseMove, x, y, mode);
}

void CMeasureShape::OnLButtonDblClk(int, int, int) { }

void CMeasureShape::Invalidate()
{
    InvalidatePoints();
}

int CMeasureShape::HitTest(int x, int y) const
{
    return BodyTest(x, y) ? kBodyHit : PointTest(x, y);
}

int CMeasureShape::CursorTest(int x, int y, int) const
{
    m_bCursorHit = HitTest(x, y) != -1;
    if (m_bCursorHit)
        return 2;
    for (const auto& child : m_children) {
        if (child->CursorTest(x, y, SelectMode) == 2)
            return 2;
    }
    return -1;
}

int CMeasureShape::AddOneCoord(int x, int y)
{
    m_points.emplace_back(x, y);
    TakeSnap(PointCount() - 1, x, y);
    qCDebug(lcTrace, "AddOneCoord:%d,%d", x, y);
    return PointCount();
}

int CMeasureShape::SetPoint(int index, int x, int y)
{
    if (index < 0 || index >= PointCount())
        return -1;
    m_points[index] = QPoint(x, y);
    TakeSnap(index, x, y);
    return index;
}

void CMeasureShape::MoveBy(int x, int y)
{
    if (m_nHitPart != kBodyHit)
        return;
    const QPoint delta = QPoint(x, y) - m_press;
    for (QPoint& p : m_points)
        p += delta;
    m_press = QPoint(x, y);
}

int CMeasureShape::PointTest(int x, int y) const
{
    for (int i = 0; i < PointCount(); ++i) {
        const int dx = m_points[i].x() - x;
        const int dy = m_points[i].y() - y;
        if (dx * dx + dy * dy < kPointTolerance2)
            return i;
    }
    return -1;
}

void CMeasureShape::DeleteSelf()
{
    if (m_bRemoved)
        return;
    Invalidate();
    m_bRemoved = true;
    if (m_parent)
        m_parent->DetachChild(this);
    else
        m_host->DetachShape(this);
}

CMeasureShape* CMeasureShape::AddChild(std::unique_ptr<CMeasureShape> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

void CMeasureShape::DetachChild(CMeasureShape* child)
{
    auto it = std::find_if(m_children.begin(), m_children.end(),
            [child](const auto& c) { return c.get() == child; });
    if (it == m_children.end())
        return;
    std::unique_ptr<CMeasureShape> owned = std::move(*it);
    m_children.erase(it);
    owned->m_bRemoved = true;
    m_host->Retire(std::move(owned));
}

void CMeasureShape::DrawThinLine(CDrawContext& dc, QPoint a, QPoint b) const
{
    QPen pen = dc.ShapePen();
    pen.setWidth(1);
    dc.Line(dc.ImageToTarget(a), dc.ImageToTarget(b), pen);
}

QPen CMeasureShape::LinePen(const CDrawContext& dc, bool highlighted) const
{
    QPen pen = dc.ShapePen();
    if (highlighted)
        pen.setStyle(Qt::DotLine);
    for (const CMeasureShape* s = this; s; s = s->m_parent) {
        if (dc.IsMarked(s->Id())) {
            // Width 0 draws one pixel wide.
            pen.setWidth(std::max(1, pen.width()) + kMarkedExtraWidth);
            break;
        }
    }
    return pen;
}

void CMeasureShape::DrawLine(CDrawContext& dc, QPoint a, QPoint b, bool highlighted) const
{
    const QPen pen = LinePen(dc, highlighted);
    dc.Line(dc.ImageToTarget(a), dc.ImageToTarget(b), pen);
}

void CMeasureShape::DrawEllipse(CDrawContext& dc, const QRect& box, bool highlighted) const
{
    QPen pen = LinePen(dc, highlighted);
    QPainter& painter = dc.Painter();
    painter.setBrush(Qt::NoBrush);
    // Corners swap on a bottom-up target; the ellipse is symmetric either way.
    const QPoint a = dc.ImageToTarget(box.topLeft());
    const QPoint b = dc.ImageToTarget(QPoint(box.x() + box.width(), box.y() + box.height()));
    // Not QRect::normalized(): it shrinks an inverted rectangle by a pixel.
    const QRect r(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
    const int width = pen.width();
    if (r.width() == r.height()) {
        // Circles on raw frames: stepped directly, ring by shifted ring.
        const QPoint c = r.center() + QPoint(r.width() % 2 ? 0 : 1, r.height() % 2 ? 0 : 1);
        const int radius = (r.width() + 1) / 2;
        bool drawn = true;
        for (int d = -(std::max(1, width) - 1) / 2; drawn && d <= std::max(1, width) / 2; ++d) {
            drawn = dc.Circle(c + QPoint(d, 0), radius, pen);
            if (drawn && d != 0)
                dc.Circle(c + QPoint(0, d), radius, pen);
        }
        if (drawn)
            return;
    }
    if (highlighted || width <= 1) {
        painter.setPen(pen);
        painter.drawEllipse(r);
        return;
    }
    // A wide ring as one-pixel rings shifted across and along: stroking the outline of a wide
    // ellipse costs several times more, and the frame pump draws every circle on every frame.
    pen.setWidth(1);
    painter.setPen(pen);
    for (int d = -(width - 1) / 2; d <= width / 2; ++d) {
        painter.drawEllipse(r.translated(d, 0));
        if (d != 0)
            painter.drawEllipse(r.translated(0, d));
    }
}

void CMeasureShape::DrawText(CDrawContext& dc, const QString& text, int x, int y) const
{
    if (text.isEmpty())
        return;
    dc.Painter().setFont(dc.LabelFont());
    dc.Painter().setPen(dc.TextColour());
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    dc.UprightText(dc.ImageToTarget(QPoint(x, y)), laidOut);
}

void CMeasureShape::DrawCross(CDrawContext& dc, int x, int y) const
{
    const QPen& pen = dc.ShapePen();
    const QPoint c = dc.ImageToTarget(QPoint(x, y));
    dc.Line(c - QPoint(kCrossArm, 0), c + QPoint(kCrossArm, 0), pen);
    dc.Line(c - QPoint(0, kCrossArm), c + QPoint(0, kCrossArm), pen);
}

void CMeasureShape::DrawChildren(CDrawContext& dc, bool hidden)
{
    for (const auto& child : m_children)
        child->Draw(dc, hidden);
}

int CMeasureShape::SelectPress(int x, int y)
{
    const int hit = HitTest(x, y);
    if (hit != -1) {
        m_bSelected = true;
        m_bInConstruction = true;
        m_press = QPoint(x, y);
        m_nHitPart = hit;
        return hit;
    }
    m_bSelected = false;
    for (const auto& child : m_children) {
        if (child->OnLButtonDown(x, y, SelectMode) != -1)
            return 1;
    }
    return -1;
}

void CMeasureShape::ForwardToChildren(
        void (CMeasureShape::*handler)(int, int, int), int x, int y, int mode)
{
    // A child may remove itself while handling the event.
    std::vector<CMeasureShape*> snapshot;
    snapshot.reserve(m_children.size());
    for (const auto& child : m_children)
        snapshot.push_back(child.get());
    for (CMeasureShape* child : snapshot) {
        if (!child->IsRemoved())
            (child->*handler)(x, y, mode);
    }
}

void CMeasureShape::EndDrag()
{
    m_bInConstruction = false;
    m_nHitPart = -1;
}

void CMeasureShape::InvalidatePoints(std::initializer_list<QPoint> extra)
{
    if (m_points.empty() && extra.size() == 0)
        return;
    QRect box;
    auto add = [&box](QPoint p) { box |= QRect(p, QSize(1, 1)); };
    for (const QPoint& p : m_points)
        add(m_host->ImageToWindow(p));
    for (const QPoint& p : extra)
        add(m_host->ImageToWindow(p));
    const float zoom = m_host->CanvasZoom();
    const int gx = zoom > 1.0f ? static_cast<int>(120 * zoom) : 100;
    const int gy = zoom > 1.0f ? static_cast<int>(80 * zoom) : 50;
    m_host->InvalidateWindowRect(box.adjusted(-gx, -gy, gx, gy));
}
