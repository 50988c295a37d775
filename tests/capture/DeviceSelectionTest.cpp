#include "FakeCamera.h"

#include "capture/TavoGraphDll.h"

#include <QComboBox>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

const QString kYuy2 = QStringLiteral("YUY2");
const QString kMjpg = QStringLiteral("MJPG");

class DeviceSelectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_source = std::make_shared<CFakeDeviceSource>();
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink([this](const QString& caption, const QString& text) {
            m_captions.append(caption);
            m_errors.append(text);
        });
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
    }

    QString Selected() const
    {
        QString name;
        m_graph.GetCurCapDeviceName(name);
        return name;
    }

    QSize Requested() const
    {
        int w = 0;
        int h = 0;
        m_graph.GetCaptureSize(w, h);
        return { w, h };
    }

    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
    QStringList m_captions;
    QStringList m_errors;
};

} // namespace

TEST_F(DeviceSelectionTest, SpecifyCapDevice_TrimsBlanksButKeepsLetterCase)
{
    m_source->devices = {
        CFakeDeviceSource::Camera(QStringLiteral("USB Camera"), QStringLiteral("/dev/video0"),
                { { 640, 480, kYuy2 } }),
        CFakeDeviceSource::Camera(QStringLiteral(" Microscope "), QStringLiteral("/dev/video2"),
                { { 640, 480, kYuy2 } }),
    };
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("  Microscope\t")), TavoStatus::Ok);
    EXPECT_EQ(Selected(), QStringLiteral(" Microscope ")); // stored untrimmed

    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("microscope")), TavoStatus::Ok);
    EXPECT_EQ(Selected(), QStringLiteral("USB Camera"));

    // A camera gone since the list was read is passed over.
    m_source->unavailable = { QStringLiteral("USB Camera") };
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("USB Camera")), TavoStatus::Ok);
    EXPECT_EQ(Selected(), QStringLiteral(" Microscope "));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(DeviceSelectionTest, SpecifyCapDevice_ValidatesTheRequestedSize)
{
    m_source->devices = { CFakeDeviceSource::Camera(QStringLiteral("Cam"),
            QStringLiteral("/dev/video0"), { { 1280, 960, kYuy2 }, { 640, -480, kYuy2 } }) };
    // A size it does not offer becomes the nearest one it does; none asked for, its first.
    m_graph.SetCaptureSize(800, 601);
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(Requested(), QSize(640, 480));
    m_graph.SetCaptureSize(16384, 16384);
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(Requested(), QSize(1280, 960));
    m_graph.SetCaptureSize(0, 0);
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(Requested(), QSize(1280, 960));

    // A top-down format (negative height) matches its positive size.
    m_graph.SetCaptureSize(640, 480);
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(Requested(), QSize(640, 480));
    QComboBox combo;
    EXPECT_EQ(m_graph.InitVideoSizeCombo(&combo), TavoStatus::Ok);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("640 X 480  YUY2"));
    EXPECT_EQ(combo.currentIndex(), 1);
}

// One size in two formats is listed once, in the faster one (the first when the camera does
// not say how fast they are), and named.
TEST_F(DeviceSelectionTest, InitVideoSizeCombo_ListsEachSizeOnceAndSelectsTheMatch)
{
    m_source->devices = { CFakeDeviceSource::Camera(QStringLiteral("Cam"),
            QStringLiteral("/dev/video0"),
            { { 640, 480, kYuy2 }, { 1280, 720, kYuy2 }, { 640, 480, kMjpg } }) };
    m_graph.SetCaptureSize(640, 480);
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    QComboBox combo;
    combo.addItem(QStringLiteral("kept"));
    EXPECT_EQ(m_graph.InitVideoSizeCombo(&combo), TavoStatus::Ok);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("kept"));
    EXPECT_EQ(combo.itemText(1), QStringLiteral("640 X 480  YUY2"));
    EXPECT_EQ(combo.itemText(2), QStringLiteral("1280 X 720  YUY2"));
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST_F(DeviceSelectionTest, NoCameraAtAll)
{
    m_source->result = CCaptureDeviceSource::EResult::NoDevices;
    QListWidget list;
    EXPECT_EQ(m_graph.InitVideoDevsCombo(&list), TavoStatus::Fail);
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(
            m_errors[0].startsWith(QStringLiteral("Sorry, you have no video capture hardware.")));
    EXPECT_TRUE(m_errors[0].endsWith(QStringLiteral("Video capture will not function properly.")));
    EXPECT_EQ(m_captions[0], QStringLiteral("Error!"));

    // Selection reports 1 (not a failure) and selects nothing; no message.
    EXPECT_EQ(m_graph.SpecifyCapDevice(QString()), 1);
    EXPECT_FALSE(m_graph.HasCamera());
    EXPECT_EQ(Selected(), QString());
    EXPECT_EQ(m_errors.size(), 1);

    m_source->result = CCaptureDeviceSource::EResult::NoEnumerator;
    EXPECT_EQ(m_graph.InitVideoDevsCombo(&list), TavoStatus::Fail);
    EXPECT_EQ(m_errors.value(1), QStringLiteral("Error Creating Device Enumerator"));
}

TEST_F(DeviceSelectionTest, InitVideoDevsCombo_AddsNamesInOrder)
{
    m_source->devices = {
        CFakeDeviceSource::Camera(QStringLiteral("B"), QStringLiteral("/dev/video2"), {}),
        CFakeDeviceSource::Camera(QStringLiteral("A"), QStringLiteral("/dev/video0"), {}),
    };
    QListWidget list;
    EXPECT_EQ(m_graph.InitVideoDevsCombo(&list), TavoStatus::Ok);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("B"));
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("A"));
}

// The data call hands the names over and its problem as a value; only the list filler tells
// the user, through the error sink.
TEST_F(DeviceSelectionTest, DeviceNamesAreWhatTheListShows)
{
    m_source->devices = {
        CFakeDeviceSource::Camera(QStringLiteral("B"), QStringLiteral("/dev/video2"), {}),
        CFakeDeviceSource::Camera(QString(), QStringLiteral("/dev/video4"), {}),
        CFakeDeviceSource::Camera(QStringLiteral("A"), QStringLiteral("/dev/video0"), {}),
    };
    QString error = QStringLiteral("stale");
    const std::vector<QString> names = m_graph.GetVideoDeviceNames(&error);
    EXPECT_EQ(names, std::vector<QString>({ QStringLiteral("B"), QStringLiteral("A") }));
    EXPECT_TRUE(error.isEmpty());
    QListWidget list;
    EXPECT_EQ(m_graph.InitVideoDevsCombo(&list), TavoStatus::Ok);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), names[0]);
    EXPECT_EQ(list.item(1)->text(), names[1]);

    for (const auto result : { CCaptureDeviceSource::EResult::NoDevices,
                 CCaptureDeviceSource::EResult::NoEnumerator }) {
        m_source->result = result;
        m_errors.clear();
        EXPECT_TRUE(m_graph.GetVideoDeviceNames(&error).empty());
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(m_graph.GetVideoDeviceNames().empty()) << "no place for the error is fine";
        EXPECT_TRUE(m_errors.isEmpty()) << "a value, not a message";
        EXPECT_EQ(m_graph.InitVideoDevsCombo(nullptr), TavoStatus::Fail);
        EXPECT_EQ(m_errors, QStringList { error });
    }

    // Cameras, none with a name: nothing to list and nothing to say.
    m_source->result = CCaptureDeviceSource::EResult::Ok;
    m_source->devices = { CFakeDeviceSource::Camera(QString(), QStringLiteral("/dev/video4"), {}) };
    m_errors.clear();
    EXPECT_TRUE(m_graph.GetVideoDeviceNames(&error).empty());
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(m_graph.InitVideoDevsCombo(nullptr), TavoStatus::Fail);
    EXPECT_TRUE(m_errors.isEmpty());
}

class ControlTest : public DeviceSelectionTest
{
protected:
    void SetUp() override
    {
        DeviceSelectionTest::SetUp();
        m_state = std::make_shared<CFakeControlState>();
        m_state->Add(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Brightness"), -64,
                64, 0);
        m_state->Add(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN,
                QStringLiteral("White Balance, Automatic"), 0, 1, 1);
        m_state->Add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CTRL_TYPE_INTEGER,
                QStringLiteral("White Balance Temperature"), 2800, 6500, 4600);
        m_state->Add(V4L2_CID_EXPOSURE_AUTO, V4L2_CTRL_TYPE_MENU, QStringLiteral("Auto Exposure"),
                0, 3, 3,
                { QString(), QStringLiteral("Manual Mode"), QString(),
                        QStringLiteral("Aperture Priority Mode") });
        m_state->Add(V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER,
                QStringLiteral("Exposure Time, Absolute"), 3, 2047, 250);
        m_state->Add(
                V4L2_CID_VFLIP, V4L2_CTRL_TYPE_BOOLEAN, QStringLiteral("Vertical Flip"), 0, 1, 0);
        m_source->controls[QStringLiteral("/dev/video0")] = m_state;
        m_source->devices = {
            CFakeDeviceSource::Camera(
                    QStringLiteral("Cam"), QStringLiteral("/dev/video0"), { { 640, 480, kYuy2 } }),
            CFakeDeviceSource::Pattern(QStringLiteral("Pattern"), QStringLiteral("red"),
                    { { 640, 480, QStringLiteral("BGR") } }),
        };
    }

    std::shared_ptr<CFakeControlState> m_state;
};

TEST_F(ControlTest, ControlsWithoutCameraFail)
{
    int32_t a = 0, b = 0, c = 0;
    EXPECT_EQ(m_graph.GetRange(VideoProperty_Brightness, &a, &b, &c, nullptr), TavoStatus::Fail);
    EXPECT_EQ(m_graph.SetCameraControl(CameraControl_Focus, 1), TavoStatus::Fail);
    int on = 0;
    EXPECT_EQ(m_graph.SetFlip(FlipType_Vertical, true), TavoStatus::Pointer);
    EXPECT_EQ(m_graph.GetFlip(FlipType_Vertical, &on), TavoStatus::Pointer);
}

TEST_F(ControlTest, PictureAndCameraControlsReachTheDevice)
{
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    int32_t min = 0, max = 0, def = 1, untouched = 77;
    EXPECT_EQ(m_graph.GetRange(VideoProperty_Brightness, &min, &max, &def, &untouched),
            TavoStatus::Ok);
    EXPECT_EQ(min, -64);
    EXPECT_EQ(max, 64);
    EXPECT_EQ(def, 0);
    EXPECT_EQ(untouched, 77);
    EXPECT_EQ(m_graph.GetRange(VideoProperty_Brightness, &min, nullptr, &def, nullptr),
            TavoStatus::Fail);

    // A control the camera lacks is a failure, not a zero.
    int32_t value = 5;
    EXPECT_LT(m_graph.GetVideoProperty(VideoProperty_Gamma, &value, nullptr), 0);
    EXPECT_EQ(value, 5);
    EXPECT_LT(m_graph.SetCameraControl(CameraControl_Roll, 1), 0);

    // Manual white balance switches the automatic mode off; auto switches it back on.
    EXPECT_EQ(m_graph.SetVideoProperty(VideoProperty_WhiteBalance, 3200, TAVO_PROPERTY_FLAG_MANUAL),
            TavoStatus::Ok);
    EXPECT_EQ(m_state->values[V4L2_CID_AUTO_WHITE_BALANCE], 0);
    EXPECT_EQ(m_state->values[V4L2_CID_WHITE_BALANCE_TEMPERATURE], 3200);
    int32_t flags = 0;
    EXPECT_EQ(m_graph.GetVideoProperty(VideoProperty_WhiteBalance, &value, &flags), TavoStatus::Ok);
    EXPECT_EQ(value, 3200);
    EXPECT_EQ(flags, TAVO_PROPERTY_FLAG_MANUAL);
    EXPECT_EQ(m_graph.SetVideoProperty(VideoProperty_WhiteBalance, 0, TAVO_PROPERTY_FLAG_AUTO),
            TavoStatus::Ok);
    EXPECT_EQ(m_state->values[V4L2_CID_AUTO_WHITE_BALANCE], 1);

    // A hand-set exposure leaves the automatic exposure.
    EXPECT_EQ(m_graph.SetCameraControl(CameraControl_Exposure, 500), TavoStatus::Ok);
    EXPECT_EQ(m_state->values[V4L2_CID_EXPOSURE_AUTO], V4L2_EXPOSURE_MANUAL);
    EXPECT_EQ(m_graph.GetCameraControl(CameraControl_Exposure, &value), TavoStatus::Ok);
    EXPECT_EQ(value, 500);
    EXPECT_EQ(m_graph.GetCameraControlRange(CameraControl_Exposure, &min, &max, &def),
            TavoStatus::Ok);
    EXPECT_EQ(max, 2047);
}

TEST_F(ControlTest, FlipByType)
{
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(m_graph.SetFlip(FLIPTYPE(1), true), TavoStatus::Ok);
    int on = -1;
    EXPECT_EQ(m_graph.GetFlip(FLIPTYPE(1), &on), TavoStatus::Ok);
    EXPECT_EQ(on, 1);
    // This camera cannot mirror: the horizontal flip is not there to read.
    on = -1;
    EXPECT_EQ(m_graph.GetFlip(FLIPTYPE(0), &on), TavoStatus::NoInterface);
    EXPECT_EQ(on, -1);
    m_state->Add(
            V4L2_CID_HFLIP, V4L2_CTRL_TYPE_BOOLEAN, QStringLiteral("Horizontal Flip"), 0, 1, 0);
    EXPECT_EQ(m_graph.GetFlip(FLIPTYPE(0), &on), TavoStatus::Ok);
    EXPECT_EQ(on, 0);
    EXPECT_EQ(m_graph.SetFlip(FLIPTYPE(1), false), TavoStatus::Ok);
    EXPECT_EQ(m_state->values[V4L2_CID_VFLIP], 0);
}

TEST_F(ControlTest, PatternCameraHasNoControls)
{
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Pattern")), TavoStatus::Ok);
    int32_t min = 0, max = 0, def = 0;
    EXPECT_EQ(m_graph.GetRange(VideoProperty_Brightness, &min, &max, &def, nullptr),
            TavoStatus::NoInterface);
    EXPECT_EQ(m_graph.SetFlip(FlipType_Horizontal, true), TavoStatus::NoInterface);
}
