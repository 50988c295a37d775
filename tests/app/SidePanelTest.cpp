#include "app/CommandTable.h"
#include "app/PanelButton.h"
#include "app/ResolutionItem.h"
#include "app/SidePanel.h"
#include "base/GeneralSettings.h"
#include "measure/MeasureShape.h"

#include "ShapeDrivers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

TEST(ResolutionItem_Parse, SplitsAroundTheX)
{
    CResolutionItem item;
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("640 X 480"), item));
    EXPECT_EQ(item.width, 640);
    EXPECT_EQ(item.height, 480);
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("2592 X 1944 MJPG"), item));
    EXPECT_EQ(item.width, 2592);
    EXPECT_EQ(item.height, 1944) << "the height stops at the first non-digit";
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("X 480"), item));
    EXPECT_EQ(item.width, 0) << "nothing in front of the X";
    EXPECT_EQ(item.height, 480);
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("640 X"), item));
    EXPECT_EQ(item.height, 0);
    EXPECT_FALSE(CResolutionItem::Parse(QStringLiteral("640 x 480"), item)) << "only a capital X";
    EXPECT_EQ(CResolutionItem::Format(1280, 720), QStringLiteral("1280 X 720"));
    EXPECT_EQ(CResolutionItem::LeadingInt(u"  -12ab"), -12);
    EXPECT_EQ(CResolutionItem::LeadingInt(u"99999999999"), 2147483647);
}

TEST(ResolutionItem_Parse, NamedEntriesStillGiveTheirSize)
{
    CResolutionItem item;
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("1920 X 1080  MJPG 30 fps"), item));
    EXPECT_EQ(item.width, 1920);
    EXPECT_EQ(item.height, 1080);
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("640 X 480  YUY2 7.5 fps"), item));
    EXPECT_EQ(item.width, 640);
    EXPECT_EQ(item.height, 480);
    // A format name with an X of its own comes after the size's X.
    ASSERT_TRUE(CResolutionItem::Parse(QStringLiteral("320 X 240  XRGB 60 fps"), item));
    EXPECT_EQ(item.width, 320);
    EXPECT_EQ(item.height, 240);
}

namespace {

using testing::ElementsAre;

// Stands in for the canvas's shape manager; records what the panel asks in order.
// The panel's engine: a real tool box on a drawing, with the mode mirrored for the checks.
struct FakeEngine
{
    int mode = SelectMode;
    CShapeManager manager;
    std::vector<std::string> calls;
};

// Stands in for the main window: records requests and answers a switch as the main window
// does, by telling the panel the new state.
class FakeHost : public CPanelHost
{
public:
    explicit FakeHost(std::vector<std::string>& calls) : m_calls(calls) { }

    bool StillMode() const override { return still; }
    void RequestLive() override
    {
        m_calls.emplace_back("RequestLive");
        still = false;
        panel->OnLiveStateChanged(true, StillEntry::VideoButton);
    }
    void RequestStill() override
    {
        m_calls.emplace_back("RequestStill");
        still = true;
        panel->OnLiveStateChanged(false, StillEntry::VideoButton);
    }
    void RestartVideo() override { m_calls.emplace_back("RestartVideo"); }
    int DisplayScale() const override { return scale; }
    void ApplyDisplayScale(int value) override
    {
        scale = value;
        m_calls.push_back("ApplyDisplayScale " + std::to_string(value));
    }
    QSize CaptureSize() const override { return captureSize; }
    void ChangeCaptureSize(QSize size, int displayScale) override
    {
        m_calls.push_back("ChangeCaptureSize " + std::to_string(size.width()) + "x"
                + std::to_string(size.height()) + " at " + std::to_string(displayScale));
    }
    bool Measure() const override { return measure; }
    void SetMeasure(bool on) override { measure = on; }
    bool Binarize() const override { return binarize; }
    void SetBinarize(bool on) override { binarize = on; }
    int Threshold() const override { return threshold; }
    void SetThreshold(int value) override { threshold = value; }
    bool Equalize() const override { return equalize; }
    void SetEqualize(bool on) override { equalize = on; }
    CGeneralSettings& General() override { return general; }
    void RunMerge() override
    {
        m_calls.emplace_back("RunMerge");
        if (duringMerge)
            duringMerge();
    }
    void Repaint() override { }

    CSidePanel* panel = nullptr;
    bool still = false;
    int scale = 1;
    QSize captureSize { 1280, 720 };
    bool measure = false;
    bool binarize = false;
    int threshold = 128;
    bool equalize = false;
    CGeneralSettings general;
    std::function<void()> duringMerge;

private:
    std::vector<std::string>& m_calls;
};

class SidePanel : public testing::Test
{
protected:
    void SetUp() override { Start(); }

    void Start()
    {
        m_commands = std::make_unique<CCommandTable>();
        m_panel = std::make_unique<CSidePanel>(m_host, *m_commands);
        m_host.panel = m_panel.get();
        Wire(m_panel->Hooks());
        m_panel->resize(CSidePanel::kHostWidth, 761);
        m_panel->Initialise();
        m_panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_panel.get()));
    }

    void Wire(CPanelHooks& h)
    {
        FakeEngine& e = m_engine;
        const auto record = [&e](const char* name) {
            return [&e, name] { e.calls.emplace_back(name); };
        };
        h.toolMode = [&e] { return e.mode; };
        h.chooseTool = [&e](int mode, ToolFactory make) {
            e.calls.emplace_back("chooseTool");
            return e.mode = e.manager.Tools().Choose(mode, make);
        };
        h.cancelTool = [&e] {
            e.manager.Tools().Cancel();
            e.mode = e.manager.ToolMode();
            e.calls.emplace_back("cancelTool");
        };
        h.videoSizeEntries = [](std::vector<CResolutionEntry>& entries, int& chosen) {
            entries = { { 640, 480 }, { 1280, 720 } };
            chosen = 0; // the camera's choice; the size in use wins
            return int32_t(0);
        };
        // The commands other windows carry out.
        using C = CCommandTable;
        m_commands->Bind(C::Save, record("save"));
        m_commands->Bind(C::Thumb, record("thumbView"));
        m_commands->Bind(C::DeviceSetting, record("deviceSetting"));
        m_commands->Bind(C::VideoSetting, record("propertyPages"));
    }

    CPanelButton* Button(CSidePanel::Button id) const { return m_panel->ButtonAt(id); }
    bool Has(const std::string& call) const
    {
        return std::find(m_engine.calls.begin(), m_engine.calls.end(), call)
                != m_engine.calls.end();
    }
    std::vector<CSidePanel::Button> MarkedTools() const
    {
        std::vector<CSidePanel::Button> marked;
        for (auto id : { CSidePanel::Line, CSidePanel::Angle3, CSidePanel::Angle4,
                     CSidePanel::Circle, CSidePanel::Distance, CSidePanel::Vertical,
                     CSidePanel::Area, CSidePanel::Anotation })
            if (Button(id)->IsActive())
                marked.push_back(id);
        return marked;
    }

    FakeEngine m_engine;
    FakeHost m_host { m_engine.calls };
    std::unique_ptr<CCommandTable> m_commands;
    std::unique_ptr<CSidePanel> m_panel;
};

using Buttons = std::vector<CSidePanel::Button>;

} // namespace

TEST_F(SidePanel, InitialisationShowsTheHostState)
{
    m_panel.reset();
    m_engine.calls.clear();
    m_host.scale = 2;
    m_host.threshold = 77;
    m_host.binarize = true;
    m_host.measure = true;
    m_host.still = true;
    Start();
    EXPECT_EQ(m_panel->ScaleCombo()->currentIndex(), 2);
    EXPECT_EQ(m_panel->ThresholdSlider()->value(), 77);
    EXPECT_EQ(m_panel->ValLabel()->text(), QStringLiteral("77"));
    EXPECT_TRUE(m_panel->BinCheck()->isChecked());
    EXPECT_EQ(Button(CSidePanel::Measure)->Bitmap(), QStringLiteral(":/icons/measure-on.svg"));
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-still.svg"));
    EXPECT_EQ(m_panel->ResolutionCombo()->currentText(), QStringLiteral("1280 X 720"))
            << "the size the camera reports";
    EXPECT_THAT(m_engine.calls, ElementsAre("RestartVideo"))
            << "filling the combos changes nothing";
}

TEST_F(SidePanel, ToolButtonPressedTwiceTurnsTheToolOff)
{
    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, LineTool);
    EXPECT_EQ(MarkedTools(), Buttons { CSidePanel::Line });
    EXPECT_EQ(m_engine.manager.ToolMode(), LineTool) << "the panel chose the engine's tool";

    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(MarkedTools().empty());
}

TEST_F(SidePanel, AnotherToolMarksOnlyItselfAndAbandonsTheShape)
{
    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    m_engine.manager.OnLButtonDown(10, 10); // a line half drawn on the canvas
    ASSERT_EQ(m_engine.manager.ShapeCount(), 1);
    QTest::mouseClick(Button(CSidePanel::Circle), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, CircleTool);
    EXPECT_EQ(MarkedTools(), Buttons { CSidePanel::Circle });
    EXPECT_EQ(m_engine.manager.ShapeCount(), 0);
}

TEST_F(SidePanel, VerticalLinesEndBeforeTheyAreAbandoned)
{
    m_panel->ButtonAt(CSidePanel::Vertical)->click();
    CShapeManager& m = m_engine.manager;
    ClickAll(m, { { 10, 100 }, { 300, 100 }, { 150, 40 } }); // a baseline, one perpendicular
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_TRUE(m.ShapeAt(0)->InConstruction()) << "the tool's own shape stays in construction";
    m_engine.calls.clear();
    m_panel->ButtonAt(CSidePanel::Vertical)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_THAT(m_engine.calls, ElementsAre("chooseTool"));
    ASSERT_EQ(m.ShapeCount(), 1) << "ended before the unfinished shapes were abandoned";
    EXPECT_FALSE(m.ShapeAt(0)->InConstruction());
}

TEST_F(SidePanel, AnotationTwiceKeepsTheTextTool)
{
    Button(CSidePanel::Line)->click();
    Button(CSidePanel::Anotation)->click();
    Button(CSidePanel::Anotation)->click();
    EXPECT_EQ(m_engine.mode, TextTool);
    EXPECT_EQ(MarkedTools(), Buttons { CSidePanel::Anotation });
}

TEST_F(SidePanel, OtherCommandsCancelTheToolButAheKeepsIt)
{
    Button(CSidePanel::Area)->click();
    Button(CSidePanel::AHE)->click();
    EXPECT_EQ(m_engine.mode, AreaTool) << "AHE only takes the marks away";
    EXPECT_TRUE(MarkedTools().empty());
    EXPECT_TRUE(m_host.equalize);
    EXPECT_TRUE(Button(CSidePanel::AHE)->IsActive()) << "the mark follows the flag";
    Button(CSidePanel::AHE)->click();
    EXPECT_FALSE(m_host.equalize);
    EXPECT_FALSE(Button(CSidePanel::AHE)->IsActive());

    Button(CSidePanel::Save)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(Has("save"));
    Button(CSidePanel::Circle)->click();
    Button(CSidePanel::Thumb)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(Has("thumbView"));

    Button(CSidePanel::Line)->click();
    Button(CSidePanel::Measure)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(m_host.measure);
    EXPECT_EQ(Button(CSidePanel::Measure)->Bitmap(), QStringLiteral(":/icons/measure-on.svg"));
    Button(CSidePanel::Measure)->click();
    EXPECT_FALSE(m_host.measure);
    EXPECT_EQ(Button(CSidePanel::Measure)->Bitmap(), QStringLiteral(":/icons/measure-off.svg"));
}

TEST_F(SidePanel, PressMarksAndReleaseUnmarks)
{
    CPanelButton* save = Button(CSidePanel::Save);
    QTest::mousePress(save, Qt::LeftButton);
    EXPECT_TRUE(save->IsActive());
    QTest::mouseRelease(save, Qt::LeftButton);
    EXPECT_FALSE(save->IsActive());

    Button(CSidePanel::Circle)->setFocus();
    QTest::keyClick(Button(CSidePanel::Circle), Qt::Key_Return);
    EXPECT_EQ(m_engine.mode, CircleTool) << "Return runs the focused button";
    EXPECT_TRUE(Button(CSidePanel::Circle)->hasFocus());
    QTest::keyClick(Button(CSidePanel::Circle), Qt::Key_Space);
    EXPECT_EQ(m_engine.mode, SelectMode);
}

TEST_F(SidePanel, VideoAsksTheHostAndTheControlsFollowItsAnswer)
{
    Button(CSidePanel::Video)->click();
    EXPECT_TRUE(Has("RequestStill"));
    EXPECT_EQ(Button(CSidePanel::Video)->text(), QStringLiteral("Still"));
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-still.svg"));
    EXPECT_EQ(Button(CSidePanel::ImgCmp)->Bitmap(),
            QStringLiteral(":/icons/image-compare-still.svg"));
    EXPECT_FALSE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::AHE)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::Merge)->isEnabled());
    EXPECT_FALSE(m_panel->BinCheck()->isEnabled());
    EXPECT_FALSE(m_panel->ThresholdSlider()->isEnabled());
    EXPECT_FALSE(m_panel->ValLabel()->isEnabled());
    EXPECT_FALSE(m_panel->ResolutionCombo()->isEnabled());

    Button(CSidePanel::Video)->click();
    EXPECT_TRUE(Has("RequestLive"));
    EXPECT_EQ(Button(CSidePanel::Video)->text(), QStringLiteral("Video"));
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-live.svg"));
    EXPECT_EQ(Button(CSidePanel::ImgCmp)->Bitmap(), QStringLiteral(":/icons/image-compare.svg"));
    EXPECT_TRUE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::AHE)->isEnabled()) << "back with the next idle update";
    EXPECT_FALSE(Button(CSidePanel::Merge)->isEnabled());
    EXPECT_TRUE(m_panel->ResolutionCombo()->isEnabled());
    EXPECT_TRUE(m_panel->BinCheck()->isEnabled());
    EXPECT_TRUE(m_panel->ThresholdSlider()->isEnabled());
    EXPECT_TRUE(m_panel->ValLabel()->isEnabled());

    m_panel->UpdateIdle();
    EXPECT_TRUE(Button(CSidePanel::AHE)->isEnabled());
    EXPECT_TRUE(Button(CSidePanel::Merge)->isEnabled());
}

TEST_F(SidePanel, AnOpenedPictureLeavesAheMergeAndVal)
{
    m_host.still = true;
    m_panel->OnLiveStateChanged(false, StillEntry::OpeningPicture);
    EXPECT_EQ(Button(CSidePanel::Video)->text(), QStringLiteral("Still"));
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-still.svg"));
    EXPECT_FALSE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(m_panel->ResolutionCombo()->isEnabled());
    EXPECT_FALSE(m_panel->BinCheck()->isEnabled());
    EXPECT_FALSE(m_panel->ThresholdSlider()->isEnabled());
    EXPECT_TRUE(m_panel->ValLabel()->isEnabled());
    EXPECT_TRUE(Button(CSidePanel::AHE)->isEnabled());
    EXPECT_TRUE(Button(CSidePanel::Merge)->isEnabled());
}

TEST_F(SidePanel, IdleUpdateKeepsImageCompareForLiveVideo)
{
    Button(CSidePanel::Video)->click();
    m_panel->UpdateIdle();
    EXPECT_TRUE(Button(CSidePanel::AHE)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(m_panel->ThresholdSlider()->isEnabled()) << "idle leaves the slider alone";
    EXPECT_TRUE(Button(CSidePanel::WB)->isHidden());
}

TEST_F(SidePanel, SettingOpensPagesLiveAndTheDeviceDialogStill)
{
    Button(CSidePanel::Setting)->click();
    EXPECT_TRUE(Has("propertyPages"));
    EXPECT_FALSE(Has("deviceSetting"));
    Button(CSidePanel::Video)->click();
    Button(CSidePanel::Setting)->click();
    EXPECT_TRUE(Has("deviceSetting"));
}

TEST_F(SidePanel, ThresholdAndBinarizeReachTheHost)
{
    EXPECT_EQ(m_panel->ThresholdSlider()->value(), 128);
    EXPECT_EQ(m_panel->ValLabel()->text(), QStringLiteral("128"));
    m_panel->ThresholdSlider()->setValue(200);
    EXPECT_EQ(m_panel->ValLabel()->text(), QStringLiteral("200"));
    EXPECT_EQ(m_host.threshold, 200);

    QTest::mouseClick(m_panel->BinCheck(), Qt::LeftButton);
    EXPECT_TRUE(m_host.binarize);
    QTest::mouseClick(m_panel->BinCheck(), Qt::LeftButton);
    EXPECT_FALSE(m_host.binarize);
}

TEST_F(SidePanel, ResolutionEntryHandsItsFormatOverBeforeTheSize)
{
    QComboBox* combo = m_panel->ResolutionCombo();
    combo->clear();
    combo->addItem(QStringLiteral("1920 X 1080  MJPG 30 fps"), QStringLiteral("MJPG 30/1"));
    combo->addItem(QStringLiteral("1920 X 1080  MJPG 15 fps"), QStringLiteral("MJPG 15/1"));
    m_panel->Hooks().chooseVideoFormat = [this](const QString& key) {
        m_engine.calls.push_back("format " + key.toStdString());
    };
    m_engine.calls.clear();
    m_panel->OnResolutionChanged(1);
    ASSERT_GE(m_engine.calls.size(), 2u);
    EXPECT_EQ(m_engine.calls[0], "format MJPG 15/1");
    EXPECT_EQ(m_engine.calls[1].rfind("ChangeCaptureSize 1920x1080", 0), 0u) << m_engine.calls[1];
}

TEST_F(SidePanel, ResolutionItemGoesToTheCameraAndScaleFollowsTheCombo)
{
    m_panel->ScaleCombo()->setCurrentIndex(0);
    m_panel->OnResolutionChanged(1);
    EXPECT_TRUE(Has("ChangeCaptureSize 1280x720 at 0"));

    m_panel->ScaleCombo()->setCurrentIndex(3);
    m_panel->OnScaleChanged(3);
    EXPECT_EQ(m_host.scale, 3);
}

TEST_F(SidePanel, MergeKeepsTheToolAndTheScaleSelection)
{
    m_panel->ScaleCombo()->setCurrentIndex(1);
    Button(CSidePanel::Line)->click();
    int modeDuringDialog = 0;
    m_host.duringMerge = [&] {
        modeDuringDialog = m_engine.mode;
        m_panel->ScaleCombo()->setCurrentIndex(0);
    };
    Button(CSidePanel::Merge)->click();

    EXPECT_TRUE(Has("RunMerge"));
    EXPECT_EQ(modeDuringDialog, LineTool) << "Merge only takes the marks away";
    EXPECT_TRUE(MarkedTools().empty());
    EXPECT_EQ(m_panel->ScaleCombo()->currentIndex(), 1);
}

TEST_F(SidePanel, LayoutFitsThePanelHost)
{
    EXPECT_LE(m_panel->width(), 252);
    EXPECT_EQ(m_panel->ResultsList()->geometry(),
            QRect(0, CSidePanel::kResultsTop, 249, 761 - CSidePanel::kResultsTop));
    m_panel->resize(CSidePanel::kHostWidth, 861);
    EXPECT_EQ(m_panel->ResultsList()->height(), 861 - CSidePanel::kResultsTop);
    m_panel->resize(CSidePanel::kHostWidth, 300);
    EXPECT_EQ(m_panel->ResultsList()->height(), CSidePanel::kMinResultsHeight)
            << "a short window keeps a few rows";
    for (int id = 0; id < CSidePanel::ButtonCount; ++id) {
        const QRect r = Button(CSidePanel::Button(id))->geometry();
        EXPECT_LE(r.bottom(), CSidePanel::kResultsTop) << id;
    }
    EXPECT_EQ(Button(CSidePanel::Line)->toolTip(), QStringLiteral("Draw line (L)"));
    EXPECT_EQ(Button(CSidePanel::CrossLine)->text(), QStringLiteral("Cross\nLine"));
    EXPECT_EQ(Button(CSidePanel::Video)->focusPolicy(), Qt::StrongFocus);
}

TEST_F(SidePanel, EachButtonAndItsKeyRunTheCommandAndNeitherWhileItIsDisabled)
{
    using C = CCommandTable;
    // The panel as the window that holds the keys.
    m_panel->addActions(m_commands->Actions(C::Scope::Window));
    m_panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_panel.get()));
    std::array<int, C::CommandCount> runs {};
    for (int id = 0; id < C::CommandCount; ++id)
        m_commands->Bind(C::Command(id), [&runs, id] { ++runs[size_t(id)]; });

    for (int id = 0; id < CSidePanel::ButtonCount; ++id) {
        const auto command = C::Command(id);
        if (command == C::WB)
            continue; // never shown, and its dialog is modal
        SCOPED_TRACE(id);
        const QList<QKeySequence>& keys = C::Entry(command).keys;
        m_panel->UpdateIdle();
        ASSERT_TRUE(Button(command)->isEnabled());
        QTest::mouseClick(Button(command), Qt::LeftButton);
        EXPECT_EQ(runs[size_t(id)], 1) << "the button";
        if (!keys.isEmpty()) {
            QTest::keySequence(m_panel.get(), keys.first());
            EXPECT_EQ(runs[size_t(id)], 2) << "the key";
        }

        const int before = runs[size_t(id)];
        m_commands->Action(command)->setEnabled(false);
        EXPECT_FALSE(Button(command)->isEnabled());
        QTest::mouseClick(Button(command), Qt::LeftButton);
        if (!keys.isEmpty())
            QTest::keySequence(m_panel.get(), keys.first());
        EXPECT_EQ(runs[size_t(id)], before) << "neither runs a disabled command";
        m_panel->UpdateIdle();
        EXPECT_TRUE(Button(command)->isEnabled()) << "the rule enables it again";
    }
    m_panel->UpdateIdle();
    EXPECT_EQ(runs[C::VideoSetting], 1) << "Setting while live";
    EXPECT_EQ(m_engine.mode, SelectMode) << "each tool chosen twice, by button and key";
}

TEST_F(SidePanel, TheStoreButtonRunsItsCommand)
{
    int stored = 0;
    m_commands->Bind(CCommandTable::StoreCalibration, [&stored] { ++stored; });
    m_panel->SetCalibrationStatus(QStringLiteral("X: 1 mm/pixel"), true);
    QTest::mouseClick(m_panel->StoreCalibrationButton(), Qt::LeftButton);
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(m_panel->StoreCalibrationButton()->text(), QStringLiteral("Store..."));
}
