#include "FakeCamera.h"
#include "RecordingMessages.h"

#include "capture/TavoGraphDll.h"
#include "video/DeviceSettingDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs act on the modal window once it is up.
void WhenModal(std::function<void(QDialog*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal window";
            return;
        }
        act(dialog);
    });
}

QSize CaptureSize(const CTavoGraphDll& graph)
{
    int w = 0;
    int h = 0;
    graph.GetCaptureSize(w, h);
    return { w, h };
}

QString DeviceName(const CTavoGraphDll& graph)
{
    QString name;
    graph.GetCurCapDeviceName(name);
    return name;
}

class DeviceSettingDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_source = std::make_shared<CFakeDeviceSource>();
        m_source->devices = {
            CFakeDeviceSource::Camera(QStringLiteral("USB Camera"), QStringLiteral("/dev/video0"),
                    { { 640, 480, QStringLiteral("YUY2") },
                            { 1280, 720, QStringLiteral("MJPG") } }),
            CFakeDeviceSource::Camera(QStringLiteral("Scope"), QStringLiteral("/dev/video2"),
                    { { 800, 600, QStringLiteral("YUY2") },
                            { 1600, 1200, QStringLiteral("MJPG") } }),
        };
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink([](const QString&, const QString&) {});
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
        m_graph.SetCaptureSize(1280, 720);
        ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("USB Camera")), TavoStatus::Ok);
    }

    std::unique_ptr<CDeviceSettingDlg> MakeDialog()
    {
        auto dialog = std::make_unique<CDeviceSettingDlg>(m_graph, m_name, m_width, m_height);
        dialog->SetRefillHook([this] {
            ++m_refills;
            m_combo.clear();
            m_graph.InitVideoSizeCombo(&m_combo);
        });
        return dialog;
    }

    static QPushButton* Button(QDialog& dialog, const char* name)
    {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
    QString m_name = QStringLiteral("USB Camera");
    int m_width = 1280;
    int m_height = 720;
    int m_refills = 0;
    QComboBox m_combo;
};

} // namespace

TEST_F(DeviceSettingDlgTest, OpensOnTheCameraInUseAndOkWithoutSelectionChangesNothing)
{
    auto dialog = MakeDialog();
    QListWidget* list = dialog->DeviceList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "USB Camera");
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems()[0]->text(), "USB Camera");

    list->clearSelection();
    Button(*dialog, "okButton")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_name, "USB Camera");
    EXPECT_EQ(QSize(m_width, m_height), QSize(1280, 720));
    EXPECT_EQ(m_refills, 0);
    EXPECT_EQ(DeviceName(m_graph), "USB Camera");
}

TEST_F(DeviceSettingDlgTest, CancelEscapeAndCloseBoxRestoreCameraAndSize)
{
    const std::vector<std::function<void(CDeviceSettingDlg&)>> ways = {
        [](CDeviceSettingDlg& d) { Button(d, "cancelButton")->click(); },
        [](CDeviceSettingDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CDeviceSettingDlg& d) { d.close(); },
    };
    for (size_t way = 0; way < ways.size(); ++way) {
        auto dialog = MakeDialog();
        dialog->show();
        dialog->DeviceList()->setCurrentRow(1);
        WhenModal([](QDialog* form) {
            form->findChild<QListWidget*>(QStringLiteral("formats"))->setCurrentRow(1);
            form->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
        Button(*dialog, "cameraSettingButton")->click();
        ASSERT_EQ(DeviceName(m_graph), "Scope") << way;
        ASSERT_EQ(CaptureSize(m_graph), QSize(1600, 1200)) << way;

        ways[way](*dialog);
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << way;
        EXPECT_EQ(DeviceName(m_graph), "USB Camera") << way;
        EXPECT_EQ(CaptureSize(m_graph), QSize(1280, 720)) << way;
        EXPECT_EQ(QSize(m_width, m_height), QSize(1280, 720)) << way;
        EXPECT_EQ(m_name, "USB Camera") << way;
    }
}

TEST_F(DeviceSettingDlgTest, UnlistedCameraLeavesNoSelection)
{
    // The camera in use is gone from the list by the time the dialog opens.
    m_source->devices.removeFirst();
    m_source->devices.append(CFakeDeviceSource::Camera(
            QStringLiteral("Other"), QStringLiteral("/dev/video4"), { { 320, 240, "YUY2" } }));
    auto dialog = MakeDialog();
    EXPECT_EQ(dialog->DeviceList()->count(), 2);
    EXPECT_TRUE(dialog->DeviceList()->selectedItems().isEmpty());
    Button(*dialog, "cameraSettingButton")->click(); // no selection: no format page
    EXPECT_EQ(DeviceName(m_graph), "USB Camera");
}

TEST_F(DeviceSettingDlgTest, PrefixMatchIgnoresCase)
{
    m_source->devices[1].name = QStringLiteral("usb camera (2)");
    std::swap(m_source->devices[0], m_source->devices[1]);
    auto dialog = MakeDialog();
    ASSERT_EQ(dialog->DeviceList()->selectedItems().size(), 1);
    EXPECT_EQ(dialog->DeviceList()->currentRow(), 0); // the first that begins with the name
}

TEST_F(DeviceSettingDlgTest, OkOnCameraWithoutTheSizeTakesItsFirstSize)
{
    auto dialog = MakeDialog();
    dialog->DeviceList()->setCurrentRow(1);
    Button(*dialog, "okButton")->click();
    EXPECT_EQ(m_name, "Scope");
    EXPECT_EQ(QSize(m_width, m_height), QSize(800, 600));
    EXPECT_EQ(m_refills, 1);
    EXPECT_EQ(m_combo.currentText(), "800 X 600  YUY2");
    EXPECT_EQ(DeviceName(m_graph), "Scope");
}

TEST_F(DeviceSettingDlgTest, CameraThatCannotOpenSaysWhyAndTheDialogStays)
{
    CRecordingMessages messages;
    auto dialog = MakeDialog();
    dialog->show();
    // Unplugged after the list was filled: selection would quietly fall back to the first.
    m_source->unavailable = { QStringLiteral("Scope") };
    dialog->DeviceList()->setCurrentRow(1);
    Button(*dialog, "okButton")->click();
    ASSERT_EQ(messages.All().size(), 1u);
    EXPECT_EQ(
            messages.Last(), "The camera \"Scope\" cannot be opened: the camera is not connected.");
    EXPECT_EQ(messages.All()[0].caption, "Device setting");
    EXPECT_EQ(messages.Kinds()[0], CRecordingMessages::Kind::Error) << "the dialog waits for it";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    // Nothing of the main window's choice changed, and the camera in use is the old one.
    EXPECT_EQ(m_name, "USB Camera");
    EXPECT_EQ(QSize(m_width, m_height), QSize(1280, 720));
    EXPECT_EQ(m_refills, 0);
    EXPECT_EQ(DeviceName(m_graph), "USB Camera");
    EXPECT_EQ(CaptureSize(m_graph), QSize(1280, 720));

    // Plugged in again, the same choice goes through.
    m_source->unavailable.clear();
    Button(*dialog, "okButton")->click();
    EXPECT_EQ(messages.All().size(), 1u);
    EXPECT_EQ(m_name, "Scope");
}
