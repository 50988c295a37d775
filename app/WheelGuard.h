#pragma once

#include <QObject>

class QWidget;

// In a panel that scrolls, a wheel turned over a spin box or a list box scrolls the panel;
// only the control that has the keyboard focus takes the wheel to change its value.
class CWheelGuard : public QObject
{
    Q_OBJECT
public:
    // Guards every spin box and list box inside panel as it is now; the guard lives as long
    // as the panel.
    static void Guard(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CWheelGuard(QObject* parent) : QObject(parent) { }
};
