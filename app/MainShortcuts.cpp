#include "app/MainShortcuts.h"

#include <QAction>
#include <QWidget>

CMainShortcuts::CMainShortcuts(QWidget* window, QWidget* picture) : QObject(window)
{
    picture->setFocusPolicy(Qt::ClickFocus);
    for (const CShortcutTable::CEntry& entry : CShortcutTable::Entries()) {
        const bool onPicture = entry.scope == CShortcutTable::Scope::Picture;
        QWidget* owner = onPicture ? picture : window;
        auto* action = new QAction(CShortcutTable::Description(entry.command), owner);
        action->setShortcuts(entry.keys);
        action->setShortcutContext(onPicture ? Qt::WidgetShortcut : Qt::WindowShortcut);
        owner->addAction(action);
        m_actions[entry.command] = action;
    }
}

void CMainShortcuts::Bind(CShortcutTable::Command command, std::function<void()> run)
{
    connect(m_actions[command], &QAction::triggered, this, [run = std::move(run)] { run(); });
}

void CMainShortcuts::NameKey(QWidget* widget, CShortcutTable::Command command)
{
    if (widget)
        widget->setToolTip(CShortcutTable::WithKey(widget->toolTip(), command));
}
