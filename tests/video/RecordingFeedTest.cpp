#include "base/FrameLayout.h"
#include "capture/TavoGraphDll.h"
#include "video/RecordingFeed.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// The drawing goes into the recorded copy, never into the live frame, and only while active.
TEST(RecordingFeedTest, DrawsIntoACopyAndFeedsOnlyWhileActive)
{
    QTemporaryDir dir;
    CTavoGraphDll graph;
    graph.SetErrorSink([](const QString&, const QString&) {});
    ASSERT_EQ(graph.InitGraph(), TavoStatus::Ok);
    const QString path = dir.filePath(QStringLiteral("feed.") + CTavoGraphDll::RecordingSuffix());
    ASSERT_EQ(graph.StartRecording(path, true, 15), TavoStatus::Ok);

    CRecordingFeed feed(graph);
    std::vector<uint8_t> frame(FrameBytes(64, 48), 10);
    feed.OnFrame(frame.data(), 64, 48);
    EXPECT_EQ(feed.FramesFed(), 0u);

    int drawn = 0;
    feed.Start([&](uint8_t* copy, int width, int height) {
        EXPECT_NE(copy, frame.data());
        EXPECT_EQ(height, 48);
        copy[FrameStride(width) - 1] = 255;
        ++drawn;
    });
    EXPECT_TRUE(feed.Active());
    for (int i = 0; i < 3; ++i)
        feed.OnFrame(frame.data(), 64, 48);
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(feed.FramesFed(), 3u);
    EXPECT_EQ(frame[FrameStride(64) - 1], 10);
    const std::vector<uint8_t> wider(FrameBytes(66, 48), 10);
    feed.OnFrame(wider.data(), 66, 48); // the recording keeps its first size
    EXPECT_EQ(feed.FramesFed(), 3u);

    feed.Stop();
    feed.OnFrame(frame.data(), 64, 48);
    EXPECT_EQ(drawn, 4);
    EXPECT_EQ(graph.StopRecording(), TavoStatus::Ok);
}
