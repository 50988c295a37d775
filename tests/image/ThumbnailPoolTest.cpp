#include "image/ThumbnailPool.h"
#include "image/xImage.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class ThumbnailPoolTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // A picture large enough that decoding it takes a moment.
    QString Picture(int n)
    {
        CxImage image;
        EXPECT_TRUE(image.Create(1600, 1200, 24, CXIMAGE_FORMAT_BMP));
        for (uint32_t y = 0; y < image.Height(); ++y)
            std::fill_n(image.RowBits(y), image.Width() * 3, uint8_t(n * 40 + y));
        const QString path = m_dir.filePath(QStringLiteral("p%1.bmp").arg(n));
        EXPECT_TRUE(image.SaveFile(path, CXIMAGE_FORMAT_BMP));
        return path;
    }

    static std::vector<quint64> Delivered(const QSignalSpy& spy)
    {
        std::vector<quint64> tickets;
        for (const QList<QVariant>& args : spy)
            tickets.push_back(args.at(0).toULongLong());
        return tickets;
    }

    static qsizetype Position(const std::vector<quint64>& order, quint64 ticket)
    {
        return std::find(order.begin(), order.end(), ticket) - order.begin();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ThumbnailPoolTest, PrioritizedTicketsComeFirstInTheirOrder)
{
    CThumbnailPool pool(QSize(96, 72), 1);
    QSignalSpy ready(&pool, &CThumbnailPool::thumbnailReady);
    QSignalSpy idle(&pool, &CThumbnailPool::idle);
    // Written first, so the requests and the reordering follow each other at once.
    QStringList paths;
    for (int n = 0; n < 5; ++n)
        paths << Picture(n);
    std::vector<quint64> t;
    for (const QString& path : paths)
        t.push_back(pool.Request(path));
    pool.Prioritize({ t[4], t[3] });
    ASSERT_TRUE(QTest::qWaitFor([&] { return idle.count() == 1; }, 20000));
    const std::vector<quint64> order = Delivered(ready);
    ASSERT_EQ(order.size(), 5u);
    // The first may already have been decoding; after it the two asked for, then the rest.
    EXPECT_LT(Position(order, t[4]), Position(order, t[3]));
    EXPECT_LT(Position(order, t[3]), Position(order, t[1]));
    EXPECT_LT(Position(order, t[1]), Position(order, t[2]));
    for (const QList<QVariant>& args : ready)
        EXPECT_EQ(args.at(1).value<QImage>().width(), 96);
    EXPECT_EQ(pool.Pending(), 0);
}

TEST_F(ThumbnailPoolTest, CancelledTicketsAreNeverDeliveredAndIdleStillComes)
{
    CThumbnailPool pool(QSize(96, 72), 1);
    QSignalSpy ready(&pool, &CThumbnailPool::thumbnailReady);
    QSignalSpy idle(&pool, &CThumbnailPool::idle);
    std::vector<quint64> t;
    for (int n = 0; n < 4; ++n)
        t.push_back(pool.Request(Picture(n)));
    const quint64 missing = pool.Request(m_dir.filePath(QStringLiteral("gone.bmp")));
    pool.Cancel(t[2]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return idle.count() == 1; }, 20000));
    const std::vector<quint64> order = Delivered(ready);
    EXPECT_EQ(std::count(order.begin(), order.end(), t[2]), 0);
    EXPECT_EQ(order.size(), 4u);
    // A file that cannot be read still answers, with a null picture.
    const auto it = std::find_if(ready.begin(), ready.end(),
            [missing](const QList<QVariant>& args) { return args.at(0).toULongLong() == missing; });
    ASSERT_NE(it, ready.end());
    EXPECT_TRUE(it->at(1).value<QImage>().isNull());
}

TEST_F(ThumbnailPoolTest, CancelAllLeavesThePoolIdleAndSilent)
{
    CThumbnailPool pool(QSize(96, 72), 2);
    QSignalSpy ready(&pool, &CThumbnailPool::thumbnailReady);
    QSignalSpy idle(&pool, &CThumbnailPool::idle);
    const QString path = Picture(1);
    for (int n = 0; n < 12; ++n)
        pool.Request(path);
    pool.CancelAll();
    EXPECT_EQ(pool.Pending(), 0);
    EXPECT_EQ(idle.count(), 1) << "the list waiting for its last thumbnail must hear the end";
    QTest::qWait(500);
    EXPECT_EQ(ready.count(), 0) << "pictures in flight are not delivered after CancelAll";

    // The pool keeps serving afterwards.
    const quint64 again = pool.Request(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return idle.count() == 2; }, 20000));
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.at(0).at(0).toULongLong(), again);
}
