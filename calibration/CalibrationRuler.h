#pragma once

#include "measure/MeasureShape.h"

#include <QSize>

// The on-screen reference: a horizontal and a vertical measuring bar laid over an object of
// known size. Dragging an end grows or shrinks its bar about the centre; the centre handle
// moves the whole reference.
class CCalibrationRuler : public CMeasureShape
{
public:
    enum Handle { None = 0, LeftEnd, RightEnd, TopEnd, BottomEnd, Centre };

    explicit CCalibrationRuler(CShapeManager* manager);

    void Draw(QPainter& painter, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    int CursorTest(int x, int y, int mode) const override;
    void Invalidate() override;

    // Length of both bars of a reference that is placed for the user (Reset's 200 pixels).
    static constexpr int kDefaultSpan = 200;

    void SetRect(int left, int top, int right, int bottom);
    // Both bars have a length: the reference can be seen, grabbed and measured with.
    bool HasExtent() const { return m_nRight > m_nLeft && m_nBottom > m_nTop; }
    // The default reference centred on a picture of that size; without a size, where Reset
    // puts it.
    void PlaceCentred(QSize picture);
    int Left() const { return m_nLeft; }
    int Top() const { return m_nTop; }
    int Right() const { return m_nRight; }
    int Bottom() const { return m_nBottom; }
    void SetActive(bool on) { m_bActive = on; }
    bool IsActive() const { return m_bActive; }
    int Grabbed() const { return m_nGrabbed; }
    // Which handle lies under (x, y); ends are grabbed within endTolerance along their bar.
    int HandleAt(int x, int y, int endTolerance) const;

private:
    int MidX() const { return (m_nLeft + m_nRight + 1) / 2; }
    int MidY() const { return (m_nTop + m_nBottom + 1) / 2; }

    int m_nLeft = 100;
    int m_nTop = 100;
    int m_nRight = 400;
    int m_nBottom = 400;
    bool m_bActive = false;
    int m_nGrabbed = None;
    QPoint m_last;
};
