#include "base/UserMessages.h"

#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

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
// Every live scope with its service, oldest first.
std::vector<std::pair<const CUserMessagesScope*, IUserMessages*>> g_installed;
} // namespace

IUserMessages& UserMessages()
{
    return g_installed.empty() ? static_cast<IUserMessages&>(g_standardError)
                               : *g_installed.back().second;
}

bool UserMessagesInstalled()
{
    return !g_installed.empty();
}

CUserMessagesScope::CUserMessagesScope(IUserMessages& messages)
{
    g_installed.emplace_back(this, &messages);
}

CUserMessagesScope::~CUserMessagesScope()
{
    const auto mine = std::find_if(g_installed.rbegin(), g_installed.rend(),
            [this](const auto& entry) { return entry.first == this; });
    if (mine != g_installed.rend())
        g_installed.erase(std::next(mine).base());
}
