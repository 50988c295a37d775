#include "FakeCamera.h"

#include "base/IniFile.h"
#include "video/CameraProfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kScope = QStringLiteral("Scope|usb:1bcf:2c99|serial:A1");
const QString kOther = QStringLiteral("Scope|usb:1bcf:2c99|serial:B2");

// A camera whose manual white balance and exposure refuse to change while their automatic
// mode is on, as UVC cameras do.
class CAutoLockedControls : public CFakeControls
{
public:
    using CFakeControls::CFakeControls;
    explicit CAutoLockedControls(std::shared_ptr<CFakeControlState> state)
        : CFakeControls(state), m_values(std::move(state))
    {
    }
    bool Set(uint32_t id, int32_t value) override
    {
        if (id == V4L2_CID_WHITE_BALANCE_TEMPERATURE
                && m_values->values.value(V4L2_CID_AUTO_WHITE_BALANCE) != 0)
            return false;
        if (id == V4L2_CID_EXPOSURE_ABSOLUTE
                && m_values->values.value(V4L2_CID_EXPOSURE_AUTO) != V4L2_EXPOSURE_MANUAL)
            return false;
        return CFakeControls::Set(id, value);
    }

private:
    std::shared_ptr<CFakeControlState> m_values;
};

std::shared_ptr<CFakeControlState> UvcState()
{
    auto state = std::make_shared<CFakeControlState>();
    state->Add(V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, QStringLiteral("User Controls"), 0,
            0, 0);
    state->Add(
            V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Brightness"), -64, 64, 0);
    state->Add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CTRL_TYPE_INTEGER,
            QStringLiteral("White Balance Temperature"), 2800, 6500, 4600);
    state->Add(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN,
            QStringLiteral("White Balance, Auto"), 0, 1, 1);
    state->Add(V4L2_CID_HFLIP, V4L2_CTRL_TYPE_BOOLEAN, QStringLiteral("Horizontal Flip"), 0, 1, 0);
    state->Add(V4L2_CID_CAMERA_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, QStringLiteral("Camera Controls"),
            0, 0, 0);
    state->Add(V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER,
            QStringLiteral("Exposure, Absolute"), 3, 2047, 250);
    state->Add(V4L2_CID_EXPOSURE_AUTO, V4L2_CTRL_TYPE_MENU, QStringLiteral("Auto Exposure"), 0, 3,
            3, { "Auto", "Manual", "Shutter", "Aperture" });
    state->Add(V4L2_CID_FOCUS_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Focus"), 0, 250, 0);
    return state;
}

// What a user sets by hand: manual white balance and exposure, a focus and a mirror.
void SetByHand(CFakeControlState& state)
{
    state.values[V4L2_CID_BRIGHTNESS] = 12;
    state.values[V4L2_CID_AUTO_WHITE_BALANCE] = 0;
    state.values[V4L2_CID_WHITE_BALANCE_TEMPERATURE] = 3200;
    state.values[V4L2_CID_EXPOSURE_AUTO] = V4L2_EXPOSURE_MANUAL;
    state.values[V4L2_CID_EXPOSURE_ABSOLUTE] = 900;
    state.values[V4L2_CID_FOCUS_ABSOLUTE] = 120;
    state.values[V4L2_CID_HFLIP] = 1;
}

// The camera after a power cycle: everything back at the device's defaults.
void PowerCycle(CFakeControlState& state)
{
    for (const CCameraControlInfo& info : state.controls)
        if (info.type != V4L2_CTRL_TYPE_CTRL_CLASS)
            state.values[info.id] = info.defaultValue;
}

} // namespace

TEST(CameraProfilesTest, KeptByIdentityAndRestoredThroughTheFileAutoModesFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Setting.ini"));
    auto state = UvcState();
    CAutoLockedControls controls(state);
    SetByHand(*state);
    {
        CCameraProfiles profiles;
        profiles.Load(CIniFile(path));
        profiles.Remember(kScope, QStringLiteral("Scope"), controls);
        CIniFile ini(path);
        profiles.Save(ini);
        ASSERT_TRUE(ini.Save());
    }
    // The section carries the identity, never a /dev/video number.
    const CIniFile written(path);
    const QString section = CCameraProfiles::SectionName(kScope);
    EXPECT_EQ(written.GetString(section, QStringLiteral("Identity"), {}, 256), kScope);
    EXPECT_EQ(written.GetString(section, QStringLiteral("Name"), {}, 256), QStringLiteral("Scope"));
    EXPECT_NE(CCameraProfiles::SectionName(kOther), section);

    PowerCycle(*state);
    CCameraProfiles next;
    next.Load(written);
    EXPECT_FALSE(next.Restore(kOther, controls)); // the twin with another serial
    EXPECT_EQ(state->values[V4L2_CID_BRIGHTNESS], 0);
    ASSERT_TRUE(next.Restore(kScope, controls));
    // Locked while the automatic modes were on: restoring them first lets the values in.
    EXPECT_EQ(state->values[V4L2_CID_WHITE_BALANCE_TEMPERATURE], 3200);
    EXPECT_EQ(state->values[V4L2_CID_EXPOSURE_ABSOLUTE], 900);
    EXPECT_EQ(state->values[V4L2_CID_BRIGHTNESS], 12);
    EXPECT_EQ(state->values[V4L2_CID_FOCUS_ABSOLUTE], 120);
    EXPECT_EQ(state->values[V4L2_CID_HFLIP], 1);
}

TEST(CameraProfilesTest, OnlySettableControlsAndHandEditedValuesInRange)
{
    auto state = UvcState();
    state->Add(0x00980a00, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Read only"), 0, 10, 5);
    state->controls.last().flags = V4L2_CTRL_FLAG_READ_ONLY;
    state->Add(0x00980a01, V4L2_CTRL_TYPE_BUTTON, QStringLiteral("Reset pan"), 0, 0, 0);
    CFakeControls controls(state);
    const QMap<uint32_t, int32_t> values = CCameraProfiles::ReadValues(controls);
    EXPECT_FALSE(values.contains(0x00980a00));
    EXPECT_FALSE(values.contains(0x00980a01));
    EXPECT_FALSE(values.contains(V4L2_CID_USER_CLASS));
    EXPECT_TRUE(values.contains(V4L2_CID_FOCUS_ABSOLUTE));

    // A file edited by hand (or written by a camera with a wider range) cannot push a control
    // out of its range; a section whose identity is not the camera's is not its profile.
    const QString section = CCameraProfiles::SectionName(kScope);
    CIniFile ini;
    ini.WriteString(section, QStringLiteral("Identity"), kScope);
    ini.WriteString(section, QStringLiteral("Controls"), QStringLiteral("0x00980900,0x009a090a"));
    ini.WriteInt(section, QStringLiteral("0x00980900"), 1000);
    ini.WriteInt(section, QStringLiteral("0x009a090a"), -5);
    CCameraProfiles profiles;
    profiles.Load(ini);
    ASSERT_TRUE(profiles.Restore(kScope, controls));
    EXPECT_EQ(state->values[V4L2_CID_BRIGHTNESS], 64);
    EXPECT_EQ(state->values[V4L2_CID_FOCUS_ABSOLUTE], 0);

    CIniFile collision;
    collision.WriteString(section, QStringLiteral("Identity"), kOther);
    collision.WriteString(section, QStringLiteral("Controls"), QStringLiteral("0x00980900"));
    collision.WriteInt(section, QStringLiteral("0x00980900"), 7);
    CCameraProfiles other;
    other.Load(collision);
    EXPECT_FALSE(other.Restore(kScope, controls));
    EXPECT_EQ(state->values[V4L2_CID_BRIGHTNESS], 64);
}

TEST(CameraProfilesTest, ResetToDefaultsUnlocksInTheRightOrder)
{
    auto state = UvcState();
    CAutoLockedControls controls(state);
    SetByHand(*state);
    CCameraProfiles::ResetToDefaults(controls);
    for (const CCameraControlInfo& info : state->controls)
        if (info.type != V4L2_CTRL_TYPE_CTRL_CLASS)
            EXPECT_EQ(state->values[info.id], info.defaultValue) << info.name.toStdString();
}
