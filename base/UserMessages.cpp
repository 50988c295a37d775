#include "base/UserMessages.h"

#include <iostream>

namespace {
class CStandardErrorMessages final : public IUserMessages
{
public:
    void Inform(const CUserMessage& message) override { Write(message); }
    void Error(const CUserMessage& message) override { Write(message); }
    bool Ask(const CUserMessage& message) override
    {
        Write(message);
        return false;
    }

private:
    static void Write(const CUserMessage& message)
    {
        std::cerr << "kalvex: " << message.text.toLocal8Bit().constData() << std::endl;
    }
};

CStandardErrorMessages g_standardError;
IUserMessages* g_current = &g_standardError;
} // namespace

IUserMessages& UserMessages()
{
    return *g_current;
}

bool UserMessagesInstalled()
{
    return g_current != &g_standardError;
}

CUserMessagesScope::CUserMessagesScope(IUserMessages& messages) : m_previous(g_current)
{
    g_current = &messages;
}

CUserMessagesScope::~CUserMessagesScope()
{
    g_current = m_previous;
}
