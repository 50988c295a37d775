#include "app/PanelButton.h"
#include "app/ResolutionItem.h"
#include "app/SidePanel.h"
#include "app/TavoMeasureDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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

namespace {

// Stands in for the canvas's shape manager and the capture object; records what the panel
// asks in order.
struct FakeEngine
{
    int mode = SelectMode;
    bool shapeInProgress = false;
    std::vector<std::string> calls;
    bool live = true;
};

class SidePanel : public testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<CTavoMeasureDlg>(m_dir.filePath(QStringLiteral("Setting.ini")));
        m_window->resize(1280, 800);
        m_window->Initialise(/*showWindow=*/false);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_panel = m_window->SidePanel();
        ASSERT_NE(m_panel, nullptr);
        Wire(m_panel->Hooks());
    }

    void Wire(CPanelHooks& h)
    {
        FakeEngine& e = m_engine;
        const auto record = [&e](const char* name) {
            return [&e, name] { e.calls.emplace_back(name); };
        };
        const auto recordStatus = [&e](const char* name) {
            return [&e, name] {
                e.calls.emplace_back(name);
                return int32_t(0);
            };
        };
        h.toolMode = [&e] { return e.mode; };
        h.setToolMode = [&e](int mode) { e.mode = mode; };
        h.cancelUnfinished = [&e] {
            e.shapeInProgress = false;
            e.calls.emplace_back("cancelUnfinished");
        };
        h.finishVerticalLines = record("finishVerticalLines");
        h.resetReleaseCounter = record("resetReleaseCounter");
        h.setLive = [&e](bool live) { e.live = live; };
        h.startCanvasTimer = [&e](int ms) { e.calls.push_back("startTimer" + std::to_string(ms)); };
        h.killCanvasTimer = record("killTimer");
        h.suspendPump = record("suspendPump");
        h.resumePump = record("resumePump");
        h.captureToFrame = record("captureToFrame");
        h.graphPause = recordStatus("Pause");
        h.graphStop = recordStatus("Stop");
        h.graphTearDown = recordStatus("TearDownGraph");
        h.graphRun = recordStatus("Run");
        h.changeVideoSize = [&e](int w, int hgt) {
            e.calls.push_back("ChangeVideoSize " + std::to_string(w) + "x" + std::to_string(hgt));
            return int32_t(0);
        };
        h.keepFrameForMerge = record("keepFrame");
        h.restoreFrameAfterMerge = record("restoreFrame");
        h.saveSnapshot = record("save");
        h.thumbView = record("thumbView");
        h.deviceSetting = record("deviceSetting");
        h.showVideoPropertyPages = [&e](QWidget* owner) {
            e.calls.emplace_back(owner ? "propertyPages" : "propertyPages without owner");
            return int32_t(-1);
        };
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

    QTemporaryDir m_dir;
    std::unique_ptr<CTavoMeasureDlg> m_window;
    CSidePanel* m_panel = nullptr;
    FakeEngine m_engine;
};

using Buttons = std::vector<CSidePanel::Button>;

} // namespace

TEST_F(SidePanel, ToolButtonPressedTwiceTurnsTheToolOff)
{
    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, LineTool);
    EXPECT_EQ(MarkedTools(), Buttons { CSidePanel::Line });
    EXPECT_TRUE(Has("finishVerticalLines")) << "a new tool ends the vertical-lines shape";

    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(MarkedTools().empty());
}

TEST_F(SidePanel, AnotherToolMarksOnlyItselfAndAbandonsTheShape)
{
    QTest::mouseClick(Button(CSidePanel::Line), Qt::LeftButton);
    m_engine.shapeInProgress = true; // a line half drawn on the canvas
    QTest::mouseClick(Button(CSidePanel::Circle), Qt::LeftButton);
    EXPECT_EQ(m_engine.mode, CircleTool);
    EXPECT_EQ(MarkedTools(), Buttons { CSidePanel::Circle });
    EXPECT_FALSE(m_engine.shapeInProgress);
}

TEST_F(SidePanel, VerticalLinesEndBeforeTheyAreAbandoned)
{
    m_panel->ButtonAt(CSidePanel::Vertical)->click();
    EXPECT_FALSE(Has("finishVerticalLines")) << "the tool's own shape stays in construction";
    m_engine.calls.clear();
    m_panel->ButtonAt(CSidePanel::Vertical)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    const std::vector<std::string> expected { "resetReleaseCounter", "finishVerticalLines",
        "cancelUnfinished" };
    EXPECT_EQ(m_engine.calls, expected);
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
    EXPECT_TRUE(m_window->m_bEqualize);
    EXPECT_TRUE(Button(CSidePanel::AHE)->IsActive()) << "the mark follows the flag";
    Button(CSidePanel::AHE)->click();
    EXPECT_FALSE(m_window->m_bEqualize);
    EXPECT_FALSE(Button(CSidePanel::AHE)->IsActive());

    Button(CSidePanel::Save)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(Has("save"));
    Button(CSidePanel::Circle)->click();
    Button(CSidePanel::Thumb)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_TRUE(Has("thumbView"));

    const bool before = m_window->General().m_bMeasure;
    Button(CSidePanel::Line)->click();
    Button(CSidePanel::Measure)->click();
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_NE(m_window->General().m_bMeasure, before);
    EXPECT_EQ(Button(CSidePanel::Measure)->Bitmap(),
            before ? QStringLiteral(":/icons/measure-off.svg")
                   : QStringLiteral(":/icons/measure-on.svg"));
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

TEST_F(SidePanel, StillAndLiveSwitchControlsAndGraph)
{
    Button(CSidePanel::Line)->click();
    Button(CSidePanel::Video)->click();
    EXPECT_TRUE(m_window->StillMode());
    EXPECT_FALSE(m_engine.live);
    EXPECT_EQ(m_engine.mode, SelectMode);
    EXPECT_EQ(Button(CSidePanel::Video)->text(), QStringLiteral("Still"));
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-still.svg"));
    EXPECT_FALSE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::AHE)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::Merge)->isEnabled());
    EXPECT_FALSE(m_panel->BinCheck()->isEnabled());
    EXPECT_FALSE(m_panel->ThresholdSlider()->isEnabled());
    EXPECT_FALSE(m_panel->ResolutionCombo()->isEnabled());
    // The frame is taken before the graph stops.
    const std::vector<std::string> graphCalls { "captureToFrame", "Pause", "Stop", "TearDownGraph",
        "killTimer" };
    std::vector<std::string> seen;
    for (const std::string& call : m_engine.calls)
        if (std::find(graphCalls.begin(), graphCalls.end(), call) != graphCalls.end())
            seen.push_back(call);
    EXPECT_EQ(seen, graphCalls);

    m_window->m_strCurrentFile = QStringLiteral("picture.bmp");
    Button(CSidePanel::Video)->click();
    EXPECT_FALSE(m_window->StillMode());
    EXPECT_TRUE(m_engine.live);
    EXPECT_EQ(Button(CSidePanel::Video)->text(), QStringLiteral("Video"));
    EXPECT_TRUE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_FALSE(Button(CSidePanel::AHE)->isEnabled()) << "back with the next idle update";
    EXPECT_FALSE(Button(CSidePanel::Merge)->isEnabled());
    EXPECT_TRUE(Has("startTimer80"));
    EXPECT_TRUE(m_window->m_strCurrentFile.isEmpty());

    m_panel->UpdateIdle();
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

TEST_F(SidePanel, PictureFromThumbnailsSwitchesWithoutPausing)
{
    m_panel->OnVideoForPicture();
    EXPECT_TRUE(m_window->StillMode());
    EXPECT_FALSE(Has("captureToFrame"));
    EXPECT_FALSE(Has("Pause"));
    EXPECT_TRUE(Has("TearDownGraph"));
    EXPECT_FALSE(m_engine.live);
    EXPECT_FALSE(Button(CSidePanel::ImgCmp)->isEnabled());
    EXPECT_TRUE(Button(CSidePanel::AHE)->isEnabled());

    m_panel->ScaleCombo()->setCurrentIndex(2);
    m_panel->OnVideoForPicture();
    EXPECT_FALSE(m_window->StillMode());
    EXPECT_TRUE(Has("Run"));
    EXPECT_EQ(m_window->General().m_nDisp, 2);
    EXPECT_TRUE(m_panel->ResolutionCombo()->isEnabled());
    EXPECT_EQ(Button(CSidePanel::Video)->Bitmap(), QStringLiteral(":/icons/video-live.svg"));
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

TEST_F(SidePanel, ThresholdAndBinarizeReachTheMainWindow)
{
    EXPECT_EQ(m_panel->ThresholdSlider()->value(), 128);
    EXPECT_EQ(m_panel->ValLabel()->text(), QStringLiteral("128"));
    m_panel->ThresholdSlider()->setValue(200);
    EXPECT_EQ(m_panel->ValLabel()->text(), QStringLiteral("200"));
    EXPECT_EQ(m_window->m_nBinarizeThreshold, 200);

    QTest::mouseClick(m_panel->BinCheck(), Qt::LeftButton);
    EXPECT_TRUE(m_window->m_bBinarize);
    QTest::mouseClick(m_panel->BinCheck(), Qt::LeftButton);
    EXPECT_FALSE(m_window->m_bBinarize);
}

TEST_F(SidePanel, ResolutionItemGoesToTheCameraAndScaleFollowsTheCombo)
{
    QComboBox* combo = m_panel->ResolutionCombo();
    combo->addItems({ QStringLiteral("640 X 480"), QStringLiteral("1280 X 720") });
    m_panel->ScaleCombo()->setCurrentIndex(0);
    m_panel->OnResolutionChanged(1);
    EXPECT_TRUE(Has("ChangeVideoSize 1280x720"));
    EXPECT_EQ(m_window->General().m_nDisp, 0);

    m_panel->ScaleCombo()->setCurrentIndex(3);
    m_panel->OnScaleChanged(3);
    EXPECT_EQ(m_window->General().m_nDisp, 3);
}

TEST_F(SidePanel, MergeSuspendsAndRestores)
{
    const QSize display = m_window->DisplaySize();
    m_panel->ScaleCombo()->setCurrentIndex(1);
    Button(CSidePanel::Line)->click();
    m_engine.calls.clear();
    bool normalDuringDialog = true;
    int modeDuringDialog = 0;
    m_panel->Hooks().runMergeDialog = [&] {
        m_engine.calls.emplace_back("merge");
        normalDuringDialog = m_window->m_bNormalMode;
        modeDuringDialog = m_engine.mode;
        // The dialog's own view borrows the display values and may stop live video.
        m_window->SetDisplaySize({ 17, 19 });
        m_window->m_nDisplayOriginX = -40;
        m_panel->ScaleCombo()->setCurrentIndex(0);
        m_window->SetStillMode(true);
    };
    Button(CSidePanel::Merge)->click();

    EXPECT_FALSE(normalDuringDialog);
    EXPECT_TRUE(m_window->m_bNormalMode);
    EXPECT_EQ(modeDuringDialog, LineTool) << "Merge only takes the marks away";
    EXPECT_TRUE(MarkedTools().empty());
    const std::vector<std::string> order { "suspendPump", "keepFrame", "merge", "restoreFrame",
        "resumePump" };
    EXPECT_TRUE(std::equal(order.begin(), order.end(), m_engine.calls.begin()));
    EXPECT_EQ(m_window->m_nDisplayOriginX, 0);
    EXPECT_EQ(m_panel->ScaleCombo()->currentIndex(), 1);
    EXPECT_FALSE(m_window->StillMode()) << "the live/still switch ran once more";
    EXPECT_EQ(m_window->DisplaySize(), display);
}

TEST_F(SidePanel, LayoutFitsThePanelHost)
{
    EXPECT_LE(m_panel->width(), 252);
    EXPECT_EQ(m_panel->ResultsList()->geometry(),
            QRect(0, CSidePanel::kResultsTop, 249, m_window->height() - 554));
    m_window->resize(1280, 900);
    EXPECT_EQ(m_panel->ResultsList()->height(), 900 - 554);
    for (int id = 0; id < CSidePanel::ButtonCount; ++id) {
        const QRect r = Button(CSidePanel::Button(id))->geometry();
        EXPECT_LE(r.bottom(), CSidePanel::kResultsTop) << id;
    }
    EXPECT_EQ(Button(CSidePanel::Line)->toolTip(), QStringLiteral("Draw line"));
    EXPECT_EQ(Button(CSidePanel::CrossLine)->text(), QStringLiteral("Cross\nLine"));
    EXPECT_EQ(Button(CSidePanel::Video)->focusPolicy(), Qt::StrongFocus);
}
