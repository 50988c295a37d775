#include "calibration/ReferenceRect.h"

#include <gtest/gtest.h>

TEST(ReferenceRect_Drag, EndsMoveAboutTheCentreAndTheCentreMovesAll)
{
    const CReferenceRect r { 100, 100, 300, 300 };
    EXPECT_EQ(r.Dragged(CReferenceRect::LeftEnd, 10, 99), (CReferenceRect { 110, 100, 290, 300 }));
    EXPECT_EQ(r.Dragged(CReferenceRect::RightEnd, 10, 0), (CReferenceRect { 90, 100, 310, 300 }));
    EXPECT_EQ(r.Dragged(CReferenceRect::TopEnd, 5, -20), (CReferenceRect { 100, 80, 300, 320 }));
    EXPECT_EQ(r.Dragged(CReferenceRect::BottomEnd, 0, 20), (CReferenceRect { 100, 80, 300, 320 }));
    EXPECT_EQ(r.Dragged(CReferenceRect::Centre, -30, 7), (CReferenceRect { 70, 107, 270, 307 }));
    EXPECT_FALSE(r.Dragged(CReferenceRect::None, 1, 1));
}

// A drag past the other end stops the bar at its shortest (1 or 2 pixels by its parity), so
// the scale never becomes negative, infinite or a near-zero from an unsigned difference.
TEST(ReferenceRect_Drag, EndsStopShortOfEachOther)
{
    const CReferenceRect r { 100, 100, 300, 300 };
    EXPECT_EQ(r.Dragged(CReferenceRect::LeftEnd, 99, 0), (CReferenceRect { 199, 100, 201, 300 }));
    EXPECT_EQ(r.Dragged(CReferenceRect::LeftEnd, 100, 0), r.Dragged(CReferenceRect::LeftEnd, 99, 0))
            << "touching";
    EXPECT_EQ(r.Dragged(CReferenceRect::RightEnd, -150, 0), (CReferenceRect { 199, 100, 201, 300 }))
            << "crossed";
    EXPECT_EQ(r.Dragged(CReferenceRect::TopEnd, 0, 500), (CReferenceRect { 100, 199, 300, 201 }));
    EXPECT_EQ(
            r.Dragged(CReferenceRect::BottomEnd, 0, -100), (CReferenceRect { 100, 199, 300, 201 }));
    const CReferenceRect odd { 100, 100, 301, 301 };
    EXPECT_EQ(odd.Dragged(CReferenceRect::RightEnd, -1000, 0),
            (CReferenceRect { 200, 100, 201, 301 }));
    EXPECT_EQ(odd.Dragged(CReferenceRect::BottomEnd, 0, -101),
            (CReferenceRect { 100, 200, 301, 201 }));
    // Growing is never stopped; a reference without extent is only grown.
    EXPECT_EQ(r.Dragged(CReferenceRect::LeftEnd, -150, 0), (CReferenceRect { -50, 100, 450, 300 }));
    const CReferenceRect dot { 5, 5, 5, 5 };
    EXPECT_FALSE(dot.Dragged(CReferenceRect::Centre, 3, 3));
    EXPECT_FALSE(dot.Dragged(CReferenceRect::LeftEnd, 3, 0));
}

TEST(ReferenceRect_Place, CentredOnThePictureWithHandlesOnIt)
{
    EXPECT_EQ(CReferenceRect::Centred(QSize(640, 480)), (CReferenceRect { 220, 140, 420, 340 }));
    // A picture smaller than the bars: half its size.
    const CReferenceRect small = CReferenceRect::Centred(QSize(100, 60));
    EXPECT_EQ(small.right - small.left, 30);
    EXPECT_EQ(small.HandleAt(small.MidX(), small.MidY(), 10), CReferenceRect::Centre);
    EXPECT_EQ(CReferenceRect::Centred(QSize()), (CReferenceRect { 100, 100, 300, 300 }));
}

TEST(ReferenceRect_Handles, EndsWithinTheirToleranceTheCentreWithinTheTick)
{
    const CReferenceRect r { 100, 100, 300, 300 };
    EXPECT_EQ(r.HandleAt(95, 200, 10), CReferenceRect::LeftEnd);
    EXPECT_EQ(r.HandleAt(95, 200, 4), CReferenceRect::None);
    EXPECT_EQ(r.HandleAt(305, 215, 10), CReferenceRect::RightEnd);
    EXPECT_EQ(r.HandleAt(200, 92, 10), CReferenceRect::TopEnd);
    EXPECT_EQ(r.HandleAt(190, 308, 10), CReferenceRect::BottomEnd);
    EXPECT_EQ(r.HandleAt(215, 185, 10), CReferenceRect::Centre);
    EXPECT_EQ(r.HandleAt(150, 150, 10), CReferenceRect::None);
}
