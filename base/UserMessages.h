#pragma once

#include <QString>

// One thing said to the user. The caption defaults to the program's name; the name lets a
// test or a journey find the box that shows it.
struct CUserMessage
{
    QString text = {};
    QString caption = {};
    QString name = {};
    bool warning = false; // Inform only: a warning sign instead of the information sign
    bool yesByDefault = false; // Ask only: Return answers yes
    // Error only: the information sign, for news the program waits on being read (a saved
    // file's path, a hint) rather than a failure.
    bool information = false;
    bool plain = false; // Inform only: no sign at all, for a list to read rather than a note
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

// The service in use, on the user-interface thread. Until one is installed, messages go to
// standard error and every question is answered no, so nothing waits for a user who is not
// there.
IUserMessages& UserMessages();
// True while a service other than that standard-error one is installed.
bool UserMessagesInstalled();

// Installs a service for the lifetime of this object. The newest scope alive wins; when it
// ends, the one installed before it is back, even if scopes end out of order (a window that
// goes before the test recorder made after it).
class CUserMessagesScope
{
public:
    explicit CUserMessagesScope(IUserMessages& messages);
    ~CUserMessagesScope();
    CUserMessagesScope(const CUserMessagesScope&) = delete;
    CUserMessagesScope& operator=(const CUserMessagesScope&) = delete;
};

// Keeps the text of the last note or error in the caller's string instead of showing it;
// questions are answered no. For a run of steps that reports once, at its end.
class CKeptMessage final : public IUserMessages
{
public:
    explicit CKeptMessage(QString& kept) : m_kept(kept) { }

    void Inform(const CUserMessage& message) override { m_kept = message.text; }
    void Error(const CUserMessage& message) override { m_kept = message.text; }
    bool Ask(const CUserMessage& message) override
    {
        m_kept = message.text;
        return false;
    }

private:
    QString& m_kept;
};
