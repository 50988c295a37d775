#include "SysfsTree.h"

#include "video/CameraButton.h"
#include "video/EvdevButtonInput.h"

#include <QSignalSpy>

#include <gtest/gtest.h>
#include <linux/input.h>

namespace {

// A key bitmap as sysfs writes it, with KEY_CAMERA (212) set: bit 20 of the fourth 64-bit word.
const QString kCameraKeys = QStringLiteral("100000 0 0 0");

// Button events the test hands in; Open answers as the test says.
class CFakeButtonInput : public CButtonInput
{
public:
    struct CShared
    {
        EOpen open = EOpen::Ok;
        QString openedPath;
        QList<int> reads; // what each ReadPresses returns
        int opens = 0;
    };
    explicit CFakeButtonInput(std::shared_ptr<CShared> shared) : m_shared(std::move(shared)) { }

    EOpen Open(const QString& path, QString& error) override
    {
        ++m_shared->opens;
        m_shared->openedPath = path;
        if (m_shared->open != EOpen::Ok)
            error = QStringLiteral("Permission denied");
        return m_shared->open;
    }
    void Close() override { }
    int Descriptor() const override { return -1; }
    int ReadPresses() override
    {
        return m_shared->reads.isEmpty() ? 0 : m_shared->reads.takeFirst();
    }

private:
    std::shared_ptr<CShared> m_shared;
};

input_event Event(uint16_t type, uint16_t code, int32_t value)
{
    input_event event {};
    event.type = type;
    event.code = code;
    event.value = value;
    return event;
}

class CameraButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString scope = m_sys.AddUsbDevice(
                QStringLiteral("1-2"), QStringLiteral("1bcf"), QStringLiteral("2c99"), QString());
        m_sys.AddVideo(scope, QStringLiteral("video0"));
        m_sys.AddInput(scope, QStringLiteral("input9"), QStringLiteral("event9"), kCameraKeys);
        // A keyboard elsewhere, and a camera on another port without a button.
        const QString keyboard = m_sys.AddUsbDevice(
                QStringLiteral("1-1"), QStringLiteral("046d"), QStringLiteral("c31c"), QString());
        m_sys.AddInput(keyboard, QStringLiteral("input3"), QStringLiteral("event3"), kCameraKeys);
        const QString plain = m_sys.AddUsbDevice(
                QStringLiteral("1-3"), QStringLiteral("046d"), QStringLiteral("0825"), QString());
        m_sys.AddVideo(plain, QStringLiteral("video2"));

        m_button.SetSystemFolders(m_sys.Root(), QStringLiteral("/fake/input"));
        m_button.SetInputFactory([this] { return std::make_unique<CFakeButtonInput>(m_shared); });
    }

    CSysfsTree m_sys;
    std::shared_ptr<CFakeButtonInput::CShared> m_shared =
            std::make_shared<CFakeButtonInput::CShared>();
    CCameraButton m_button;
};

} // namespace

TEST_F(CameraButtonTest, FindsTheButtonOnTheCamerasOwnUsbDevice)
{
    EXPECT_EQ(CCameraButton::FindEventNode(m_sys.Root(), QStringLiteral("/dev/video0")),
            QStringLiteral("event9"));
    EXPECT_TRUE(
            CCameraButton::FindEventNode(m_sys.Root(), QStringLiteral("/dev/video2")).isEmpty());
    EXPECT_TRUE(
            CCameraButton::FindEventNode(m_sys.Root(), QStringLiteral("/dev/video7")).isEmpty());

    EXPECT_TRUE(CCameraButton::KeyBitmapHasCamera(kCameraKeys));
    EXPECT_FALSE(CCameraButton::KeyBitmapHasCamera(QStringLiteral("0 0 0 0")));
    EXPECT_FALSE(CCameraButton::KeyBitmapHasCamera(QStringLiteral("100000"))); // too short
    EXPECT_FALSE(CCameraButton::KeyBitmapHasCamera(QString()));
}

TEST_F(CameraButtonTest, PressesBecomeSnapshotsAndAnUnplugLetsGo)
{
    QSignalSpy pressed(&m_button, &CCameraButton::pressed);
    ASSERT_TRUE(m_button.Attach(QStringLiteral("/dev/video0")));
    EXPECT_EQ(m_shared->openedPath, QStringLiteral("/fake/input/event9"));
    m_shared->reads = { 1, 0, 2 };
    m_button.Poll();
    m_button.Poll();
    m_button.Poll();
    EXPECT_EQ(pressed.count(), 3);
    m_shared->reads = { -1 };
    m_button.Poll();
    EXPECT_FALSE(m_button.Attached());
    EXPECT_FALSE(m_button.Attach(QStringLiteral("/dev/video2"))); // no button there
}

TEST_F(CameraButtonTest, UnreadableButtonIsReportedOnce)
{
    m_shared->open = CButtonInput::EOpen::Denied;
    QSignalSpy unreadable(&m_button, &CCameraButton::unreadable);
    EXPECT_FALSE(m_button.Attach(QStringLiteral("/dev/video0")));
    EXPECT_FALSE(m_button.Attach(QStringLiteral("/dev/video0"))); // the replug
    ASSERT_EQ(unreadable.count(), 1);
    EXPECT_EQ(unreadable[0][0].toString(), QStringLiteral("/fake/input/event9"));
    EXPECT_EQ(m_shared->opens, 2);
}

TEST(EvdevButtonInputTest, CountsPressesOfTheCameraKeyOnly)
{
    const input_event events[] = {
        Event(EV_KEY, KEY_CAMERA, 1),
        Event(EV_SYN, SYN_REPORT, 0), // press
        Event(EV_KEY, KEY_CAMERA, 2), // auto-repeat
        Event(EV_KEY, KEY_CAMERA, 0), // release
        Event(EV_KEY, KEY_VOLUMEUP, 1),
        Event(EV_MSC, MSC_SCAN, KEY_CAMERA),
        Event(EV_KEY, KEY_CAMERA, 1),
    };
    EXPECT_EQ(CEvdevButtonInput::CountPresses(events, std::size(events)), 2);
    EXPECT_EQ(CEvdevButtonInput::CountPresses(events, 0), 0);

    // A pipe stands in for the node: presses read, then its end is an unplug.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    CEvdevButtonInput input;
    QString error;
    ASSERT_EQ(input.Open(QStringLiteral("/proc/self/fd/%1").arg(fds[0]), error),
            CButtonInput::EOpen::Ok);
    ::close(fds[0]);
    EXPECT_EQ(input.ReadPresses(), 0); // nothing waiting
    ASSERT_EQ(write(fds[1], events, sizeof events), static_cast<ssize_t>(sizeof events));
    EXPECT_EQ(input.ReadPresses(), 2);
    ::close(fds[1]);
    EXPECT_EQ(input.ReadPresses(), -1);
    EXPECT_EQ(input.Descriptor(), -1);

    EXPECT_EQ(
            input.Open(QStringLiteral("/nonexistent/event0"), error), CButtonInput::EOpen::Failed);
    EXPECT_FALSE(error.isEmpty());
}
