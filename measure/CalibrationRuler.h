#pragma once

#include "calibration/ReferenceRect.h"
#include "measure/MeasureShape.h"

#include <QSize>

// The on-screen reference as a shape of the drawing: it draws the two bars and forwards the
// mouse to the reference's rules; every step it takes is reported to the host.
class CCalibrationRuler : public CMeasureShape
{
public:
    using Handle = CReferenceRect::Handle;
    static constexpr int kDefaultSpan = CReferenceRect::kDefaultSpan;

    explicit CCalibrationRuler(CShapeHost* host);

    // The history keeps the calibration the reference made, not the reference itself.
    std::unique_ptr<CMeasureShape> Clone() const override;

    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    int CursorTest(int x, int y, int mode) const override;
    void Invalidate() override;

    void SetRect(int left, int top, int right, int bottom);
    const CReferenceRect& Rect() const { return m_rect; }
    bool HasExtent() const { return m_rect.HasExtent(); }
    void PlaceCentred(QSize picture) { m_rect = CReferenceRect::Centred(picture); }
    int Left() const { return m_rect.left; }
    int Top() const { return m_rect.top; }
    int Right() const { return m_rect.right; }
    int Bottom() const { return m_rect.bottom; }
    void SetActive(bool on) { m_bActive = on; }
    bool IsActive() const { return m_bActive; }
    int Grabbed() const { return m_nGrabbed; }
    int HandleAt(int x, int y, int endTolerance) const
    {
        return m_rect.HandleAt(x, y, endTolerance);
    }

private:
    CReferenceRect m_rect;
    bool m_bActive = false;
    int m_nGrabbed = CReferenceRect::None;
    QPoint m_press;
    CReferenceRect m_pressRect; // the reference when its handle was grabbed
};
