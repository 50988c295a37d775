#include "app/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void CWheelGuard::Guard(QWidget* panel)
{
    auto* guard = new CWheelGuard(panel);
    QList<QWidget*> controls;
    for (QAbstractSpinBox* spin : panel->findChildren<QAbstractSpinBox*>())
        controls << spin;
    for (QComboBox* combo : panel->findChildren<QComboBox*>())
        controls << combo;
    for (QWidget* control : controls) {
        // A wheel alone must not hand out the focus, or the next turn would change the value.
        control->setFocusPolicy(Qt::StrongFocus);
        control->installEventFilter(guard);
    }
}

bool CWheelGuard::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Wheel || !control || control->hasFocus())
        return QObject::eventFilter(watched, event);
    for (QWidget* up = control->parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) {
            QCoreApplication::sendEvent(area->viewport(), event);
            break;
        }
    }
    return true;
}
