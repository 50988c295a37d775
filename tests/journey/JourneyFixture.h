// The journeys' shared fixture: the real main window on a real X11 display with a throwaway
// home and the moving Test Pattern camera, and the mouse and screen helpers every journey uses.
#pragma once

#include "app/PanelButton.h"
#include "app/SettingsLocation.h"
#include "app/SidePanel.h"
#include "app/SingleInstance.h"
#include "app/TavoMeasureDlg.h"
#include "app/TranslationLoader.h"
#include "calibration/CalibrationDlg.h"
#include "capture/TavoGraphDll.h"
#include "image/ImageListItem.h"
#include "image/ImageListWnd.h"
#include "image/xImage.h"
#include "measure/MeasureCanvas.h"
#include "measure/ResultListCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline constexpr int kWaitMs = 15000;

// Whatever modal box or dialog opens is answered by the current handler; a message box
// nobody expected is recorded and closed, so a journey fails instead of hanging.
class CModalWatcher : public QObject
{
public:
    CModalWatcher()
    {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }
    void OnDialog(std::function<void(QWidget*)> handler) { m_handler = std::move(handler); }
    QStringList TakeMessages() { return std::exchange(m_messages, {}); }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_messages << box->text();
            box->reject();
            return;
        }
        if (m_handler)
            std::exchange(m_handler, {})(modal);
    }

    QTimer m_timer;
    std::function<void(QWidget*)> m_handler;
    QStringList m_messages;
};

class Journey : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
                << "journeys run on a real X display (xvfb-run)";
        ASSERT_TRUE(m_home.isValid());
        // A fresh profile: nothing under the home yet.
        qputenv("HOME", m_home.path().toUtf8());
        for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
            qunsetenv(name);
        QDir(m_home.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")),
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_home.filePath(QStringLiteral("run")).toUtf8());
        qputenv("KALVEX_TEST_CAMERA", "1");
        // A moving picture: a frozen one is told apart from a flowing one by its pixels.
        qputenv("KALVEX_TEST_PATTERN", "smpte horizontal-speed=6");
        StartKalvex();
    }

    void TearDown() override { QuitKalvex(); }

    // What main() does for a start without files.
    void StartKalvex()
    {
        m_instance = std::make_unique<CSingleInstance>();
        ASSERT_TRUE(m_instance->Acquire());
        m_window = std::make_unique<CTavoMeasureDlg>(CSettingsLocation::SettingsPath());
        QObject::connect(m_instance.get(), &CSingleInstance::openRequested, m_window.get(),
                &CTavoMeasureDlg::OnOpenRequested);
        m_window->Initialise();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::qWait(200);
    }

    void QuitKalvex()
    {
        if (!m_window)
            return;
        m_window->close();
        m_window.reset();
        m_instance.reset();
    }

    CSidePanel& Panel() const { return *m_window->SidePanel(); }
    CMeasureCanvas& Canvas() const { return *m_window->Canvas(); }
    QString ImageFolder() const { return m_home.filePath(QStringLiteral("Documents/image")); }
    QString MeasureFolder() const { return m_home.filePath(QStringLiteral("Documents/measure")); }
    // SaveCsv with the proposed name accepted: the one CSV's text, empty when there is not one.
    QByteArray SaveTheCsv()
    {
        m_modals.OnDialog([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        ClickButton(CSidePanel::SaveCsv);
        const QStringList csvs = QDir(MeasureFolder()).entryList({ QStringLiteral("*.csv") });
        QFile csv(QDir(MeasureFolder()).filePath(csvs.value(0)));
        if (csvs.size() != 1 || !csv.open(QIODevice::ReadOnly))
            return {};
        return csv.readAll();
    }

    // The canvas as the X server shows it.
    QImage Screen(QWidget& widget) const
    {
        const QPoint at = widget.mapToGlobal(QPoint(0, 0));
        return widget.screen()
                ->grabWindow(0, at.x(), at.y(), widget.width(), widget.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
    }

    bool PictureFlows()
    {
        QImage before = Screen(Canvas());
        return QTest::qWaitFor(
                [&] {
                    const QImage now = Screen(Canvas());
                    return !now.isNull() && now != before;
                },
                kWaitMs);
    }

    bool PictureStands()
    {
        QTest::qWait(150);
        const QImage before = Screen(Canvas());
        QTest::qWait(600);
        return Screen(Canvas()) == before;
    }

    void Click(QWidget* widget, QPoint at = {})
    {
        ASSERT_TRUE(widget);
        ASSERT_TRUE(widget->isEnabled()) << widget->objectName().toStdString();
        if (auto* scroll = m_window->findChild<QScrollArea*>(QStringLiteral("panelScroll"));
                scroll && Panel().isAncestorOf(widget))
            scroll->ensureWidgetVisible(widget);
        QTest::mouseClick(WindowOf(widget), Qt::LeftButton, {},
                InWindow(widget, at.isNull() ? widget->rect().center() : at));
    }

    void ClickButton(CSidePanel::Button id) { Click(Panel().ButtonAt(id)); }

    // Mouse input goes through the window, as the X server delivers it: that is where a
    // right press also turns into a context menu request, and where the pointer grab lives.
    static QWindow* WindowOf(QWidget* widget) { return widget->window()->windowHandle(); }
    static QPoint InWindow(QWidget* widget, QPoint at)
    {
        return widget->mapTo(widget->window(), at);
    }
    void RightClick(QWidget* widget, QPoint at)
    {
        QTest::mouseClick(WindowOf(widget), Qt::RightButton, {}, InWindow(widget, at));
    }
    void RightDrag(QWidget* widget, QPoint from, QPoint by)
    {
        QWindow* window = WindowOf(widget);
        QTest::mousePress(window, Qt::RightButton, {}, InWindow(widget, from));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened on a right press";
        for (int i = 1; i <= 5; ++i)
            QTest::mouseMove(window, InWindow(widget, from + by * i / 5));
        QTest::mouseRelease(window, Qt::RightButton, {}, InWindow(widget, from + by));
    }
    void SelectScale(int index)
    {
        QComboBox* combo = Panel().ScaleCombo();
        combo->setFocus();
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
        QTest::qWait(100);
    }

    // As the user picks it: the combo acts on activation, not on every index change.
    void SelectResolution(const QString& size)
    {
        QComboBox* combo = Panel().ResolutionCombo();
        const int index = combo->findText(size, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << size.toStdString();
        combo->setFocus();
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
        QTest::qWait(100);
    }

    void DrawLine(QPoint from, QPoint to)
    {
        ClickButton(CSidePanel::Line);
        QWidget* canvas = &Canvas();
        QTest::mousePress(WindowOf(canvas), Qt::LeftButton, {}, InWindow(canvas, from));
        for (int i = 1; i <= 5; ++i)
            QTest::mouseMove(WindowOf(canvas), InWindow(canvas, from + (to - from) * i / 5));
        QTest::mouseRelease(WindowOf(canvas), Qt::LeftButton, {}, InWindow(canvas, to));
    }

    QStringList Pictures() const
    {
        return QDir(ImageFolder())
                .entryList({ QStringLiteral("*.bmp"), QStringLiteral("*.jpg") }, QDir::Files,
                        QDir::Name);
    }

    QTemporaryDir m_home;
    CModalWatcher m_modals;
    std::unique_ptr<CSingleInstance> m_instance;
    std::unique_ptr<CTavoMeasureDlg> m_window;
};
