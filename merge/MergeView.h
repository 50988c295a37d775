#pragma once

#include <QWidget>

#include <functional>

class CFramePump;
class CxImage;

// The merge dialog's big view: the pump's view image while live, the current frame image
// stretched over the view while still.
class CMergeView : public QWidget
{
    Q_OBJECT
public:
    explicit CMergeView(QWidget* parent = nullptr);

    void SetPump(const CFramePump* pump) { m_pump = pump; }
    // The still picture; null or empty paints black.
    void SetStillSource(std::function<const CxImage*()> source) { m_still = std::move(source); }
    void SetStill(bool still);
    bool Still() const { return m_bStill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CFramePump* m_pump = nullptr;
    std::function<const CxImage*()> m_still;
    bool m_bStill = true;
};
