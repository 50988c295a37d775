#include "base/UserMessages.h"

#include "RecordingMessages.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
CUserMessage Note(const char* text)
{
    return { .text = QString::fromLatin1(text) };
}
} // namespace

TEST(UserMessages, ScopesRestoreTheServiceBeforeThemInAnyOrder)
{
    ASSERT_FALSE(UserMessagesInstalled());
    EXPECT_FALSE(UserMessages().Ask(Note("nobody there"))) << "the default answers no";
    {
        CRecordingMessages outer;
        outer.AnswerYes(true);
        EXPECT_TRUE(UserMessagesInstalled());
        auto inner = std::make_unique<CRecordingMessages>();
        UserMessages().Inform(Note("to the inner"));
        EXPECT_EQ(inner->Texts(), QStringList({ "to the inner" }));
        auto newest = std::make_unique<CRecordingMessages>();
        // The middle one ends first (a window closed before the test's recorder): the newest
        // stays in force, and after it the outer one, not the one that is gone.
        inner.reset();
        UserMessages().Error(Note("still the newest"));
        EXPECT_EQ(newest->Texts(), QStringList({ "still the newest" }));
        newest.reset();
        EXPECT_TRUE(UserMessages().Ask(Note("back to the outer")));
        EXPECT_EQ(outer.Texts(), QStringList({ "back to the outer" }));
        EXPECT_EQ(outer.Kinds(), std::vector({ CRecordingMessages::Kind::Ask }));
    }
    EXPECT_FALSE(UserMessagesInstalled());
}

TEST(UserMessages, OneServiceInstalledTwiceEndsOneScopeAtATime)
{
    QString kept;
    CKeptMessage keeper(kept);
    CRecordingMessages recorder;
    {
        const CUserMessagesScope first(keeper);
        {
            const CUserMessagesScope second(keeper);
            UserMessages().Error(Note("kept"));
        }
        EXPECT_FALSE(UserMessages().Ask(Note("asked"))) << "the keeper answers no";
    }
    UserMessages().Inform(Note("recorded"));
    EXPECT_EQ(kept, QStringLiteral("asked")) << "the last text only";
    EXPECT_EQ(recorder.Texts(), QStringList({ "recorded" }));
}
