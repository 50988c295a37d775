#pragma once

#include <QString>

// One thing said to the user. The caption defaults to the program's name; the name lets a
// test or a journey find the box that shows it.
struct CUserMessage
{
    QString text {};
    QString caption {};
    QString name {};
    bool warning = false; // Inform only: a warning sign instead of the information sign
    bool yesByDefault = false; // Ask only: Return answers yes
};

// Everything the program tells or asks its user goes through one of these. The main window
// installs message boxes; tests install a recorder (tests/support/RecordingMessages.h).
class IUserMessages
{
public:
    virtual ~IUserMessages() = default;
    // A note: the program goes on at once, the user reads it when they like.
    virtual void Inform(const CUserMessage& message) = 0;
    // Something the user asked for failed; returns once the user has read it.
    virtual void Error(const CUserMessage& message) = 0;
    // A yes/no question; true for yes.
    virtual bool Ask(const CUserMessage& message) = 0;
};

// The service in use. Until one is installed, messages go to standard error and every
// question is answered no, so nothing waits for a user who is not there.
IUserMessages& UserMessages();
// False while the standard-error fallback is in use.
bool UserMessagesInstalled();

// Installs a service for the lifetime of this object and restores the one before it.
class CUserMessagesScope
{
public:
    explicit CUserMessagesScope(IUserMessages& messages);
    ~CUserMessagesScope();
    CUserMessagesScope(const CUserMessagesScope&) = delete;
    CUserMessagesScope& operator=(const CUserMessagesScope&) = delete;

private:
    IUserMessages* m_previous;
};
