#pragma once

#include "app/ShortcutTable.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QWidget;

// One action for each command of the shortcut table: window commands on the window,
// picture commands on the picture, which takes the focus when it is clicked. What a command
// does is bound by the window that owns the things it acts on.
class CMainShortcuts : public QObject
{
    Q_OBJECT
public:
    CMainShortcuts(QWidget* window, QWidget* picture);

    void Bind(CShortcutTable::Command command, std::function<void()> run);
    QAction* Action(CShortcutTable::Command command) const { return m_actions[command]; }
    // Adds the command's key to the widget's tooltip.
    static void NameKey(QWidget* widget, CShortcutTable::Command command);

private:
    std::array<QAction*, CShortcutTable::CommandCount> m_actions {};
};
