#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class CMeasureCanvas;
class CWindowPresenter;
class QWindow;

// Keeps the window presenter's target in step with the canvas: where the canvas sits in its
// window and what lies over it, handed over each time before Qt draws the window, so that a
// view the pump puts never lands on what Qt drew there. After Qt drew over the view, the
// presenter is asked to show it again (represent).
class CLiveViewPlacement : public QObject
{
public:
    CLiveViewPlacement(CMeasureCanvas& canvas, CWindowPresenter& presenter,
            std::function<void()> represent, QObject* parent = nullptr);
    ~CLiveViewPlacement() override;

    // Now: the canvas moved, went still or live, or something over it changed.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchWindow();

    CMeasureCanvas& m_canvas;
    CWindowPresenter& m_presenter;
    std::function<void()> m_represent;
    QPointer<QWidget> m_top;
    QPointer<QWindow> m_window;
};
