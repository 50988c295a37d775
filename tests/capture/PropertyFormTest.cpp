#include "FakeCamera.h"

#include "capture/TavoGraphDll.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs check on the modal window once it is up, then lets the test go on.
void WhenModal(std::function<void(QDialog*)> check)
{
    QTimer::singleShot(0, [check] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal window";
            return;
        }
        check(dialog);
    });
}

class PropertyFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_state = std::make_shared<CFakeControlState>();
        m_state->Add(V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS,
                QStringLiteral("User Controls"), 0, 0, 0);
        m_state->Add(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, QStringLiteral("Brightness"), -64,
                64, 0);
        m_state->Add(
                V4L2_CID_HFLIP, V4L2_CTRL_TYPE_BOOLEAN, QStringLiteral("Horizontal Flip"), 0, 1, 0);
        m_state->Add(V4L2_CID_CAMERA_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS,
                QStringLiteral("Camera Controls"), 0, 0, 0);
        m_state->Add(V4L2_CID_FOCUS_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER,
                QStringLiteral("Focus, Absolute"), 0, 250, 0);
        m_state->Add(V4L2_CID_TEST_PATTERN, V4L2_CTRL_TYPE_MENU, QString(), 0, 1, 0,
                { QStringLiteral("Off"), QStringLiteral("Bars") });
        m_source = std::make_shared<CFakeDeviceSource>();
        m_source->controls[QStringLiteral("/dev/video0")] = m_state;
        m_source->devices = {
            CFakeDeviceSource::Camera(QStringLiteral("Cam"), QStringLiteral("/dev/video0"),
                    { { 640, 480, QStringLiteral("YUY2") }, { 1280, 720, QStringLiteral("MJPG") },
                            { 1024, -768, QStringLiteral("YUY2") } }),
            CFakeDeviceSource::Camera(QStringLiteral("Other"), QStringLiteral("/dev/video2"),
                    { { 800, 600, QStringLiteral("YUY2") } }),
        };
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink([](const QString&, const QString&) {});
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
        m_graph.SetCaptureSize(640, 480);
        ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    }

    std::shared_ptr<CFakeControlState> m_state;
    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
};

} // namespace

TEST_F(PropertyFormTest, ControlPagesByClassApplyOnlyWhenAsked)
{
    bool checked = false;
    WhenModal([&](QDialog* form) {
        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabs"));
        auto* apply = form->findChild<QPushButton*>(QStringLiteral("apply"));
        ASSERT_TRUE(tabs && apply);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Cap Property"));
        // Three classes in device order; the unnamed one gets a title of its own.
        ASSERT_EQ(tabs->count(), 3);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("User Controls"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Camera Controls"));
        EXPECT_EQ(tabs->tabText(2), QStringLiteral("Controls"));
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_FALSE(apply->isEnabled());

        auto* slider = tabs->widget(0)->findChild<QSlider*>(
                QStringLiteral("control%1").arg(V4L2_CID_BRIGHTNESS));
        ASSERT_TRUE(slider);
        slider->setValue(20);
        EXPECT_TRUE(apply->isEnabled());
        EXPECT_EQ(m_state->values[V4L2_CID_BRIGHTNESS], 0); // not before Apply
        apply->click();
        EXPECT_EQ(m_state->values[V4L2_CID_BRIGHTNESS], 20);
        EXPECT_FALSE(apply->isEnabled());

        // Another tab starts clean; a change there is lost on "Close".
        tabs->setCurrentIndex(1);
        EXPECT_FALSE(apply->isEnabled());
        auto* focus = tabs->widget(1)->findChild<QSlider*>(
                QStringLiteral("control%1").arg(V4L2_CID_FOCUS_ABSOLUTE));
        ASSERT_TRUE(focus);
        focus->setValue(100);
        form->findChild<QPushButton*>(QStringLiteral("close"))->click();
        checked = true;
    });
    EXPECT_EQ(m_graph.ShowVideoPropertyPages(nullptr), TavoStatus::Fail);
    EXPECT_TRUE(checked);
    EXPECT_EQ(m_state->values[V4L2_CID_FOCUS_ABSOLUTE], 0);
}

TEST_F(PropertyFormTest, ResetToCameraDefaultsWritesEveryPageAtOnce)
{
    m_state->values[V4L2_CID_BRIGHTNESS] = 40;
    m_state->values[V4L2_CID_HFLIP] = 1;
    m_state->values[V4L2_CID_FOCUS_ABSOLUTE] = 200;
    m_state->values[V4L2_CID_TEST_PATTERN] = 1;
    bool checked = false;
    WhenModal([&](QDialog* form) {
        auto* reset = form->findChild<QPushButton*>(QStringLiteral("resetDefaults"));
        auto* apply = form->findChild<QPushButton*>(QStringLiteral("apply"));
        ASSERT_TRUE(reset && apply);
        // A change not yet applied on the page on screen is swept away with the rest.
        form->findChild<QSlider*>(QStringLiteral("control%1").arg(V4L2_CID_BRIGHTNESS))
                ->setValue(-10);
        reset->click();
        EXPECT_EQ(m_state->values[V4L2_CID_BRIGHTNESS], 0);
        EXPECT_EQ(m_state->values[V4L2_CID_HFLIP], 0);
        EXPECT_EQ(m_state->values[V4L2_CID_FOCUS_ABSOLUTE], 0); // a page not shown yet
        EXPECT_EQ(m_state->values[V4L2_CID_TEST_PATTERN], 0);
        EXPECT_FALSE(apply->isEnabled());
        // The pages show what the camera now has.
        EXPECT_EQ(
                form->findChild<QSlider*>(QStringLiteral("control%1").arg(V4L2_CID_FOCUS_ABSOLUTE))
                        ->value(),
                0);
        form->findChild<QPushButton*>(QStringLiteral("close"))->click();
        checked = true;
    });
    m_graph.ShowVideoPropertyPages(nullptr);
    EXPECT_TRUE(checked);
}

TEST_F(PropertyFormTest, ButtonsStayAtTheBottomRight)
{
    WhenModal([&](QDialog* form) {
        auto* apply = form->findChild<QPushButton*>(QStringLiteral("apply"));
        const QPoint before(form->width() - apply->geometry().right(),
                form->height() - apply->geometry().bottom());
        form->resize(form->width() + 120, form->height() + 80);
        QApplication::processEvents();
        const QPoint after(form->width() - apply->geometry().right(),
                form->height() - apply->geometry().bottom());
        EXPECT_EQ(before, after);
        form->reject();
    });
    m_graph.ShowVideoPropertyPages(nullptr);
}

TEST_F(PropertyFormTest, CameraWithoutControlsSaysSoAndListsItsFormats)
{
    // The built-in pattern has no control set at all; "Other" has a node without controls.
    m_source->devices.append(
            CFakeDeviceSource::Pattern(QStringLiteral("Test Pattern"), QStringLiteral("smpte"),
                    { { 640, 480, QStringLiteral("BGR") }, { 1280, 720, QStringLiteral("BGR") } }));
    for (const QString& name : { QStringLiteral("Test Pattern"), QStringLiteral("Other") }) {
        ASSERT_EQ(m_graph.SpecifyCapDevice(name), TavoStatus::Ok);
        QString chosen;
        m_graph.GetCurCapDeviceName(chosen);
        ASSERT_EQ(chosen, name);
        bool checked = false;
        const auto check = [&](QDialog* form) {
            auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabs"));
            ASSERT_TRUE(tabs);
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Cap Property"));
            ASSERT_EQ(tabs->count(), 2);
            EXPECT_EQ(tabs->tabText(0), QStringLiteral("Controls"));
            EXPECT_EQ(tabs->currentIndex(), 0);
            auto* note = tabs->widget(0)->findChild<QLabel*>(QStringLiteral("noControls"));
            ASSERT_TRUE(note);
            EXPECT_EQ(note->text(), QStringLiteral("This camera offers no adjustable controls."));
            EXPECT_TRUE(note->isVisible());
            EXPECT_FALSE(tabs->widget(0)->findChild<QPushButton*>(QStringLiteral("defaults")))
                    << "nothing to reset";

            EXPECT_EQ(tabs->tabText(1), QStringLiteral("Stream Format"));
            auto* formats = tabs->widget(1)->findChild<QListWidget*>(QStringLiteral("formats"));
            ASSERT_TRUE(formats);
            EXPECT_EQ(formats->count(), name == QStringLiteral("Other") ? 1 : 2);
            EXPECT_EQ(formats->currentRow(), 0) << "the format in use";
            EXPECT_FALSE(formats->isEnabled()) << "the running picture keeps its format here";
            EXPECT_FALSE(form->findChild<QPushButton*>(QStringLiteral("apply"))->isEnabled());
            form->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            checked = true;
        };
        WhenModal([&](QDialog* form) {
            check(form);
            form->reject(); // also after a failed check, so the modal run ends
        });
        int w = 0;
        int h = 0;
        m_graph.GetCaptureSize(w, h);
        const QSize before(w, h);
        EXPECT_EQ(m_graph.ShowVideoPropertyPages(nullptr), TavoStatus::Fail);
        EXPECT_TRUE(checked) << name.toStdString();
        m_graph.GetCaptureSize(w, h);
        EXPECT_EQ(QSize(w, h), before) << "OK leaves the size alone";
    }
}

TEST_F(PropertyFormTest, ChineseWindowHasNoEnglishLeft)
{
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/i18n/capture_zh_CN.qm")));
    QCoreApplication::installTranslator(&chinese);
    m_source->devices.append(CFakeDeviceSource::Pattern(QStringLiteral("Test Pattern"),
            QStringLiteral("smpte"), { { 640, 480, QStringLiteral("BGR") } }));
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Test Pattern")), TavoStatus::Ok);
    QString title, note, tab;
    WhenModal([&](QDialog* form) {
        title = form->windowTitle();
        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabs"));
        if (tabs && tabs->count() > 0) {
            tab = tabs->tabText(0);
            if (auto* label = tabs->widget(0)->findChild<QLabel*>(QStringLiteral("noControls")))
                note = label->text();
        }
        form->reject();
    });
    m_graph.ShowVideoPropertyPages(nullptr);
    QCoreApplication::removeTranslator(&chinese);

    EXPECT_EQ(title, QStringLiteral("采集属性")) << "not \"Cap 属性\"";
    EXPECT_EQ(tab, QStringLiteral("控制"));
    EXPECT_EQ(note, QStringLiteral("此相机没有可调节的控制项。"));
}

TEST_F(PropertyFormTest, CapPinPageAdoptsTheChosenFormat)
{
    WhenModal([](QDialog* form) {
        auto* list = form->findChild<QListWidget*>(QStringLiteral("formats"));
        ASSERT_TRUE(list);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 0); // the requested 640 x 480
        list->setCurrentRow(1);
        form->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    EXPECT_EQ(m_graph.ShowCapPinPropertyPage(QStringLiteral("Cam"), nullptr), TavoStatus::Ok);
    int w = 0;
    int h = 0;
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(QSize(w, h), QSize(1280, 720));

    // A top-down format is stored with its positive height; "Close" keeps the pin's format.
    WhenModal([](QDialog* form) {
        auto* list = form->findChild<QListWidget*>(QStringLiteral("formats"));
        EXPECT_EQ(list->currentRow(), 1);
        list->setCurrentRow(2);
        form->findChild<QPushButton*>(QStringLiteral("apply"))->click();
        form->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    EXPECT_EQ(m_graph.ShowCapPinPropertyPage(QStringLiteral("Cam"), nullptr), TavoStatus::Ok);
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(QSize(w, h), QSize(1024, 768));
}

TEST_F(PropertyFormTest, CapPinPageOfAnotherCameraSwitchesFirst)
{
    WhenModal([](QDialog* form) { form->reject(); });
    EXPECT_EQ(m_graph.ShowCapPinPropertyPage(QStringLiteral("Other"), nullptr), TavoStatus::Ok);
    QString name;
    m_graph.GetCurCapDeviceName(name);
    EXPECT_EQ(name, QStringLiteral("Other"));
    int w = 0;
    int h = 0;
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(QSize(w, h), QSize(800, 600));

    EXPECT_EQ(m_graph.ShowCapPinPropertyPage(QStringLiteral("Nobody"), nullptr), TavoStatus::Fail);
}
