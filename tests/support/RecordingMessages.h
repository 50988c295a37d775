#pragma once

#include "base/UserMessages.h"

#include <QStringList>

#include <vector>

// Installed for a test's lifetime: what the program said is kept, questions get the answer set.
class CRecordingMessages final : public IUserMessages
{
public:
    CRecordingMessages() : m_scope(*this) { }

    void Inform(const CUserMessage& message) override { m_messages.push_back(message); }
    void Error(const CUserMessage& message) override { m_messages.push_back(message); }
    bool Ask(const CUserMessage& message) override
    {
        m_messages.push_back(message);
        return m_answer;
    }

    void AnswerYes(bool yes) { m_answer = yes; }
    const std::vector<CUserMessage>& All() const { return m_messages; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const CUserMessage& m : m_messages)
            texts << m.text;
        return texts;
    }
    QString Last() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    void Clear() { m_messages.clear(); }

private:
    std::vector<CUserMessage> m_messages;
    bool m_answer = false;
    CUserMessagesScope m_scope;
};
