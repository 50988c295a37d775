#pragma once

#include "base/UserMessages.h"

#include <QPointer>
#include <QWidget>

// The program's messages as message boxes over the window the user is in: a modal dialog
// when one is open, else the main window. Notes do not wait; errors and questions do.
// Installed as the program's service for the lifetime of the object.
class CMessageBoxes final : public IUserMessages
{
public:
    explicit CMessageBoxes(QWidget* mainWindow = nullptr);

    // For boxes installed before the main window is made.
    void SetMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    void Inform(const CUserMessage& message) override;
    void Error(const CUserMessage& message) override;
    bool Ask(const CUserMessage& message) override;

private:
    QWidget* Parent() const;
    QString Caption(const CUserMessage& message) const;

    QPointer<QWidget> m_mainWindow;
    CUserMessagesScope m_scope;
};
