#include "base/UserMessages.h"

#include "RecordingMessages.h"

#include <gtest/gtest.h>

// Scopes nest: the inner service hears only what is said while it is installed, and the
// fallback answers no, so a question asked with nobody there never reads as a yes.
TEST(UserMessages, ScopesNestAndTheFallbackSaysNo)
{
    EXPECT_FALSE(UserMessagesInstalled());
    EXPECT_FALSE(UserMessages().Ask({ .text = "Remove everything?" }));
    CRecordingMessages outer;
    outer.AnswerYes(true);
    EXPECT_TRUE(UserMessagesInstalled());
    {
        CRecordingMessages inner;
        UserMessages().Error({ .text = "inner" });
        EXPECT_FALSE(UserMessages().Ask({ .text = "asked inside" }));
        EXPECT_EQ(inner.Texts(), QStringList({ "inner", "asked inside" }));
    }
    UserMessages().Inform({ .text = "outer" });
    EXPECT_TRUE(UserMessages().Ask({ .text = "asked outside" }));
    EXPECT_EQ(outer.Texts(), QStringList({ "outer", "asked outside" }));
}
