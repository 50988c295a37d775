#include "FakeCamera.h"

#include "capture/TavoGraphDll.h"
#include "video/CameraSession.h"
#include "video/CameraWatch.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kScope = QStringLiteral("Scope");
const QString kOther = QStringLiteral("Other");

// Two pattern cameras stand in for USB cameras: they stream without hardware, and the fake list
// says when they are plugged in.
class CameraSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_state = std::make_shared<CFakeControlState>();
        m_state->Add(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Brightness"), -64,
                64, 0);
        m_state->Add(
                V4L2_CID_VFLIP, V4L2_CTRL_TYPE_BOOLEAN, QStringLiteral("Vertical Flip"), 0, 1, 0);
        m_source = std::make_shared<CFakeDeviceSource>();
        CCaptureDevice scope = CFakeDeviceSource::Pattern(
                kScope, QStringLiteral("red"), { { 160, 120, QStringLiteral("BGR") } });
        scope.identity = QStringLiteral("Scope|usb:1bcf:2c99|serial:A1");
        CCaptureDevice other = CFakeDeviceSource::Pattern(
                kOther, QStringLiteral("blue"), { { 160, 120, QStringLiteral("BGR") } });
        m_source->devices = { scope, other };
        m_source->controls[QString()] = m_state; // pattern cameras have no node
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink([](const QString&, const QString&) {});
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
        m_session.Watch().SetListEvery(1);
    }

    QString Selected() const
    {
        QString name;
        m_graph.GetCurCapDeviceName(name);
        return name;
    }

    void Open(const QString& name)
    {
        ASSERT_EQ(m_graph.SpecifyCapDevice(name), TavoStatus::Ok);
        m_session.CameraOpened();
        ASSERT_EQ(m_graph.MakeGraph(), TavoStatus::Ok);
    }

    std::shared_ptr<CFakeControlState> m_state;
    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
    CCameraSession m_session { m_graph };
};

} // namespace

TEST_F(CameraSessionTest, UnplugAndReplugTheSameCamera)
{
    m_session.Start(0);
    EXPECT_TRUE(m_source->watching);
    Open(kScope);
    QSignalSpy lost(&m_session, &CCameraSession::cameraLost);
    QSignalSpy appeared(&m_session, &CCameraSession::cameraAppeared);

    m_session.Watch().Poll();
    EXPECT_EQ(lost.count(), 0);

    m_source->Unplug(kScope);
    m_session.Watch().Poll();
    EXPECT_EQ(lost.count(), 1);
    EXPECT_TRUE(m_session.Lost());
    // Gone is gone once; the other camera, there all along, is no news.
    m_session.Watch().Poll();
    m_session.Watch().Poll();
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(appeared.count(), 0);

    m_source->Replug(kScope);
    m_session.Watch().Poll();
    EXPECT_EQ(appeared.count(), 1);
    EXPECT_EQ(m_graph.SpecifyCapDevice(kScope), TavoStatus::Ok);
    m_session.CameraOpened();
    EXPECT_FALSE(m_session.Lost());
    EXPECT_EQ(m_graph.MakeGraph(), TavoStatus::Ok);
    m_session.Watch().Poll();
    EXPECT_EQ(lost.count(), 1);
}

TEST_F(CameraSessionTest, WithoutMonitorMessagesTheListShowsTheCameraComingBack)
{
    // No Start: the source reports no changes, the look at the list finds the camera.
    Open(kScope);
    QSignalSpy lost(&m_session, &CCameraSession::cameraLost);
    QSignalSpy appeared(&m_session, &CCameraSession::cameraAppeared);
    m_source->unavailable.append(kScope); // node gone, no message
    m_session.Watch().Poll();
    EXPECT_EQ(lost.count(), 1);
    m_session.Watch().Poll();
    EXPECT_EQ(appeared.count(), 0);
    m_source->unavailable.clear();
    m_session.Watch().Poll();
    EXPECT_EQ(appeared.count(), 1);
}

TEST_F(CameraSessionTest, ControlsComeBackAfterReplugAndStayWithTheirCamera)
{
    m_session.Start(0);
    Open(kScope);
    m_state->values[V4L2_CID_BRIGHTNESS] = 30;
    m_state->values[V4L2_CID_VFLIP] = 1;
    m_session.RememberControls();

    // Unplugged: nothing can be read from it, and the profile stays as it was.
    m_source->Unplug(kScope);
    m_session.Watch().Poll();
    ASSERT_TRUE(m_session.Lost());
    m_state->values[V4L2_CID_BRIGHTNESS] = 0; // the camera lost power
    m_state->values[V4L2_CID_VFLIP] = 0;
    m_session.RememberControls();

    m_source->Replug(kScope);
    m_session.Watch().Poll();
    Open(kScope);
    EXPECT_EQ(m_state->values[V4L2_CID_BRIGHTNESS], 30);
    EXPECT_EQ(m_state->values[V4L2_CID_VFLIP], 1);

    // Another camera has no profile yet and keeps its own values.
    m_state->values[V4L2_CID_BRIGHTNESS] = -5;
    Open(kOther);
    EXPECT_EQ(m_state->values[V4L2_CID_BRIGHTNESS], -5);
}

TEST_F(CameraSessionTest, PipelineErrorCountsAsLost)
{
    QSignalSpy lost(&m_session, &CCameraSession::cameraLost);
    // A stream that fails once running counts as an unplug (here the source cannot deliver
    // what its caps ask, as a camera pulled out cannot).
    m_source->devices[1].formats = { { 160, 120, QStringLiteral("BGR,interlace-mode=alternate") } };
    ASSERT_EQ(m_graph.SpecifyCapDevice(kOther), TavoStatus::Ok);
    m_session.CameraOpened();
    m_graph.MakeGraph();
    for (int i = 0; i < 100 && lost.isEmpty(); ++i) {
        QTest::qWait(10);
        m_session.Watch().Poll();
    }
    EXPECT_EQ(lost.count(), 1);
}
