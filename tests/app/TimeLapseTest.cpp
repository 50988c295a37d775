#include "app/TimeLapse.h"
#include "app/TimeLapseSchedule.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using CPlan = CTimeLapseSchedule::CPlan;

struct ScheduleTest : ::testing::Test
{
    int64_t now = 1'000'000;
    CTimeLapseSchedule schedule { [this] { return now; } };
};

TEST_F(ScheduleTest, FirstPictureAtOnceThenOneEveryIntervalUntilTheCount)
{
    ASSERT_TRUE(schedule.Start(CPlan { 10, 3, 0 }));
    EXPECT_TRUE(schedule.Due());
    schedule.Taken();
    EXPECT_FALSE(schedule.Due());
    EXPECT_EQ(schedule.SecondsToNext(), 10);
    now += 9'001;
    EXPECT_EQ(schedule.SecondsToNext(), 1); // rounded up: never "0" before it is due
    EXPECT_FALSE(schedule.Due());
    now += 999;
    EXPECT_TRUE(schedule.Due());
    schedule.Taken();
    now += 10'000;
    schedule.Taken();
    EXPECT_EQ(schedule.TakenCount(), 3);
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(schedule.Due());
    EXPECT_EQ(schedule.SecondsToNext(), 0);
}

TEST_F(ScheduleTest, ALateSaveSkipsAPictureInsteadOfABurstAndKeepsTheRhythm)
{
    ASSERT_TRUE(schedule.Start(CPlan { 10, 0, now + 100'000 }));
    schedule.Taken();
    now += 10'000;
    ASSERT_TRUE(schedule.Due());
    now += 25'000; // the picture of 10 s is taken at 35 s
    schedule.Taken();
    EXPECT_FALSE(schedule.Due());
    EXPECT_EQ(schedule.SecondsToNext(), 5); // next at 40 s, on the rhythm
}

TEST_F(ScheduleTest, StopTimeEndsItAndNothingIsTakenPastIt)
{
    ASSERT_TRUE(schedule.Start(CPlan { 10, 0, now + 25'000 }));
    schedule.Taken(); // 0 s
    now += 10'000;
    schedule.Taken(); // 10 s
    now += 10'000;
    schedule.Taken(); // 20 s: the next, at 30 s, is past the stop
    EXPECT_FALSE(schedule.Running());
    EXPECT_EQ(schedule.TakenCount(), 3);

    // A machine that slept past the stop time takes nothing more.
    ASSERT_TRUE(schedule.Start(CPlan { 10, 0, now + 25'000 }));
    schedule.Taken();
    now += 60'000;
    EXPECT_FALSE(schedule.Due());
    EXPECT_TRUE(schedule.PastStop());
}

TEST_F(ScheduleTest, PlansThatCannotRunAreRefusedWithAReason)
{
    QString reason;
    EXPECT_FALSE(schedule.Start(CPlan { 0, 5, 0 }, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(schedule.Start(CPlan { CTimeLapseSchedule::kMaxIntervalSeconds + 1, 5, 0 }));
    EXPECT_FALSE(schedule.Start(CPlan { 5, 0, 0 })); // never ends
    EXPECT_FALSE(schedule.Start(CPlan { 5, -1, 0 }));
    EXPECT_FALSE(schedule.Start(CPlan { 5, 0, now })); // already over
    EXPECT_FALSE(schedule.Running());
    // A count and a stop time together: whichever comes first.
    ASSERT_TRUE(schedule.Start(CPlan { 1, 2, now + 100'000 }));
    schedule.Taken();
    now += 1'000;
    schedule.Taken();
    EXPECT_FALSE(schedule.Running());
}

struct TimeLapseTest : ::testing::Test
{
    int64_t now = 0;
    int shots = 0;
    bool diskFull = false;
    CTimeLapse lapse { [this](QString& reason) {
                          if (diskFull) {
                              reason = QStringLiteral("No space left on device");
                              return QString();
                          }
                          return QStringLiteral("/pictures/%1.bmp").arg(++shots);
                      },
        [this] { return now; } };
};

TEST_F(TimeLapseTest, TakesThePicturesAndReportsTheCountdownAndTheEnd)
{
    QSignalSpy progress(&lapse, &CTimeLapse::progress);
    QSignalSpy stopped(&lapse, &CTimeLapse::stopped);
    ASSERT_TRUE(lapse.Start(CPlan { 5, 2, 0 }));
    EXPECT_EQ(shots, 1);
    ASSERT_EQ(progress.size(), 1);
    EXPECT_EQ(progress.last().at(1).toInt(), 5);
    now += 2'000;
    lapse.Poll();
    EXPECT_EQ(shots, 1);
    EXPECT_EQ(progress.last().at(1).toInt(), 3);
    now += 3'000;
    lapse.Poll();
    EXPECT_EQ(shots, 2);
    EXPECT_FALSE(lapse.Running());
    ASSERT_EQ(stopped.size(), 1);
    EXPECT_FALSE(stopped.last().at(0).toBool());
    EXPECT_EQ(lapse.LastPath(), QStringLiteral("/pictures/2.bmp"));
    now += 10'000;
    lapse.Poll();
    EXPECT_EQ(shots, 2);
}

TEST_F(TimeLapseTest, AFullDiskStopsItWithTheReason)
{
    QSignalSpy stopped(&lapse, &CTimeLapse::stopped);
    ASSERT_TRUE(lapse.Start(CPlan { 1, 100, 0 }));
    now += 1'000;
    lapse.Poll();
    diskFull = true;
    now += 1'000;
    lapse.Poll();
    EXPECT_FALSE(lapse.Running());
    ASSERT_EQ(stopped.size(), 1);
    EXPECT_TRUE(stopped.last().at(0).toBool());
    EXPECT_TRUE(stopped.last().at(1).toString().contains(QStringLiteral("No space left")));
    EXPECT_EQ(lapse.Schedule().TakenCount(), 2);
    now += 1'000;
    diskFull = false;
    lapse.Poll(); // stays stopped
    EXPECT_EQ(shots, 2);
}

TEST_F(TimeLapseTest, StopByHandEndsItOnce)
{
    QSignalSpy stopped(&lapse, &CTimeLapse::stopped);
    ASSERT_TRUE(lapse.Start(CPlan { 1, 0, now + 60'000 }));
    lapse.Stop();
    lapse.Stop();
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_FALSE(lapse.Running());
}

} // namespace
