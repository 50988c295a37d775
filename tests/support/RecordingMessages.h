#pragma once

#include "base/UserMessages.h"

#include <QStringList>

#include <vector>

// Installed for a test's lifetime: what the program said is kept, questions get the answer set.
class CRecordingMessages final : public IUserMessages
{
public:
    enum class Kind { Inform, Error, Ask };

    CRecordingMessages() : m_scope(*this) { }

    void Inform(const CUserMessage& message) override { Keep(Kind::Inform, message); }
    void Error(const CUserMessage& message) override { Keep(Kind::Error, message); }
    bool Ask(const CUserMessage& message) override
    {
        Keep(Kind::Ask, message);
        return m_answer;
    }

    void AnswerYes(bool yes) { m_answer = yes; }
    const std::vector<CUserMessage>& All() const { return m_messages; }
    // How each of All() was said.
    const std::vector<Kind>& Kinds() const { return m_kinds; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const CUserMessage& m : m_messages)
            texts << m.text;
        return texts;
    }
    QStringList Texts(Kind kind) const
    {
        QStringList texts;
        for (size_t i = 0; i < m_messages.size(); ++i)
            if (m_kinds[i] == kind)
                texts << m_messages[i].text;
        return texts;
    }
    QString Last() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    void Clear()
    {
        m_messages.clear();
        m_kinds.clear();
    }

private:
    void Keep(Kind kind, const CUserMessage& message)
    {
        m_messages.push_back(message);
        m_kinds.push_back(kind);
    }

    std::vector<CUserMessage> m_messages;
    std::vector<Kind> m_kinds;
    bool m_answer = false;
    CUserMessagesScope m_scope;
};
