// A new user's first minutes, on a real X11 display: the real main window with a throwaway
// home, the Test Pattern camera moving, driven by mouse and keys, checked by what the screen
// shows and what lands on disk.

#include "JourneyFixture.h"

TEST_F(Journey, LivePictureFlowsAtStartAndAfterEveryLiveStillSwitch)
{
    ASSERT_TRUE(PictureFlows()) << "no live picture at start";
    for (int round = 0; round < 3; ++round) {
        ClickButton(CSidePanel::Video);
        ASSERT_TRUE(m_window->StillMode());
        EXPECT_TRUE(PictureStands()) << "still picture moves, round " << round;
        EXPECT_FALSE(Panel().ResolutionCombo()->isEnabled());

        ClickButton(CSidePanel::Video);
        ASSERT_FALSE(m_window->StillMode());
        EXPECT_TRUE(PictureFlows()) << "live picture frozen after still, round " << round;
        EXPECT_TRUE(Panel().ResolutionCombo()->isEnabled()) << "round " << round;
        EXPECT_TRUE(Panel().BinCheck()->isEnabled()) << "round " << round;
        EXPECT_TRUE(Panel().ThresholdSlider()->isEnabled()) << "round " << round;
    }
    // The slider works again: the threshold follows it.
    Panel().ThresholdSlider()->setFocus();
    QTest::keyClick(Panel().ThresholdSlider(), Qt::Key_End);
    EXPECT_EQ(m_window->m_nBinarizeThreshold, 255);
    EXPECT_EQ(Panel().ValLabel()->text(), QStringLiteral("255"));
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

TEST_F(Journey, FirstSaveAndSaveCsvOnAFreshProfile)
{
    ASSERT_FALSE(QFileInfo::exists(ImageFolder()));
    ASSERT_TRUE(PictureFlows());
    ClickButton(CSidePanel::Save);
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
    ASSERT_EQ(Pictures().size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->ThumbnailList()->Count() == 1; }, kWaitMs));

    DrawLine(QPoint(40, 40), QPoint(240, 140));
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 1);

    QString directory;
    QString proposed;
    m_modals.OnDialog([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        directory = dialog->directory().absolutePath();
        proposed = dialog->selectedFiles().value(0);
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    ClickButton(CSidePanel::SaveCsv);
    EXPECT_EQ(directory, MeasureFolder());
    ASSERT_TRUE(proposed.startsWith(MeasureFolder() + QLatin1Char('/'))) << proposed.toStdString();
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
    QFile csv(proposed);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    EXPECT_EQ(lines.value(0), QByteArray("No.,Type,Result,Unit"));
    EXPECT_TRUE(lines.value(1).startsWith("1,length,")) << lines.value(1).toStdString();

    // "SaveAs" opens where the pictures are.
    m_modals.OnDialog([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        directory = dialog->directory().absolutePath();
        dialog->reject();
    });
    ClickButton(CSidePanel::SaveAs);
    EXPECT_EQ(directory, ImageFolder());
}

TEST_F(Journey, OpenFromTheStripPanAndGoBackToLive)
{
    ASSERT_TRUE(PictureFlows());
    ClickButton(CSidePanel::Save);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->ThumbnailList()->Count() == 1; }, kWaitMs));
    auto* item = m_window->ThumbnailList()->findChild<CImageListItem*>();
    ASSERT_TRUE(item);

    // The strip's own menu, not the About menu.
    QString menuName;
    QStringList actions;
    QTimer::singleShot(300, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuName = menu->objectName();
            for (QAction* action : menu->actions())
                actions << action->text();
            menu->close();
        }
    });
    RightClick(item, item->rect().center());
    QTest::qWait(500);
    EXPECT_EQ(menuName, QStringLiteral("ThumbMenu"));
    EXPECT_TRUE(actions.contains(QStringLiteral("Open"))) << actions.join(',').toStdString();

    QTest::mouseDClick(WindowOf(item), Qt::LeftButton, {}, InWindow(item, item->rect().center()));
    ASSERT_TRUE(m_window->StillMode());
    EXPECT_EQ(m_window->CurrentFile(), Pictures().value(0));
    EXPECT_FALSE(Panel().ResolutionCombo()->isEnabled());
    EXPECT_TRUE(PictureStands());

    // At X 2 the picture is larger than the view: a right drag pans it, without a menu.
    SelectScale(2);
    ASSERT_EQ(m_window->General().m_nDisp, 2);
    RightDrag(&Canvas(), QPoint(200, 200), QPoint(-150, -100));
    EXPECT_NE(Canvas().ScrollOrigin(), QPoint()) << "right drag did not pan";

    ClickButton(CSidePanel::Video);
    ASSERT_FALSE(m_window->StillMode());
    EXPECT_TRUE(m_window->CurrentFile().isEmpty());
    EXPECT_TRUE(PictureFlows());
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

TEST_F(Journey, SecondStartWithAFileOpensItInTheFirst)
{
    ASSERT_TRUE(PictureFlows());
    CxImage red;
    ASSERT_TRUE(red.Create(320, 240, 24, CXIMAGE_FORMAT_BMP));
    for (uint32_t y = 0; y < 240; ++y)
        for (uint32_t x = 0; x < 320; ++x) {
            uint8_t* bgr = red.RowBits(y) + 3 * x;
            bgr[0] = 0;
            bgr[1] = 0;
            bgr[2] = 255;
        }
    const QString file = m_home.filePath(QStringLiteral("from elsewhere.bmp"));
    ASSERT_TRUE(red.SaveFile(file, CXIMAGE_FORMAT_BMP));

    QProcess second;
    second.setProgram(QStringLiteral(KALVEX_EXECUTABLE));
    second.setArguments({ file });
    second.start();
    // The first keeps answering while the second hands over the path and ends.
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, kWaitMs));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->StillMode(); }, kWaitMs));
    EXPECT_EQ(m_window->CurrentFile(), file);
    QTest::qWait(300);
    const QImage shown = Screen(Canvas());
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(255, 0, 0));
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty()) << "no box for a file handed over";
}

TEST_F(Journey, EveryControlReachableAt800x500)
{
    const QRect available = m_window->screen()->availableGeometry();
    EXPECT_GT(m_window->geometry().top(), available.top()) << "no room for the title bar";
    EXPECT_TRUE(available.contains(m_window->frameGeometry()));

    m_window->showNormal();
    m_window->resize(800, 500);
    QTest::qWait(300);
    ASSERT_EQ(m_window->size(), QSize(800, 500));
    auto* scroll = m_window->findChild<QScrollArea*>(QStringLiteral("panelScroll"));
    ASSERT_TRUE(scroll);
    QList<QWidget*> controls { Panel().ScaleCombo(), Panel().ResolutionCombo(), Panel().BinCheck(),
        Panel().ThresholdSlider(), Panel().ResultsList() };
    for (int id = 0; id < CSidePanel::ButtonCount; ++id)
        if (id != CSidePanel::WB)
            controls << Panel().ButtonAt(CSidePanel::Button(id));
    const QRect visibleArea(
            scroll->viewport()->mapTo(m_window.get(), QPoint(0, 0)), scroll->viewport()->size());
    for (QWidget* control : controls) {
        scroll->ensureWidgetVisible(control, 0, 0);
        QTest::qWait(20);
        const QRect at(control->mapTo(m_window.get(), QPoint(0, 0)),
                QSize(control->width(), std::min(control->height(), 60)));
        EXPECT_TRUE(visibleArea.contains(at))
                << control->objectName().toStdString() << " cannot be reached";
    }
    // A control at the bottom answers a real click.
    ClickButton(CSidePanel::CAL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_window->CalibrationDlg()->isVisible(); }, 3000));
    m_window->CalibrationDlg()->hide();
}

TEST_F(Journey, QuitAndRestartKeepsTheSettings)
{
    ASSERT_TRUE(PictureFlows());
    SelectScale(2);
    ClickButton(CSidePanel::Measure);
    const bool measure = m_window->General().m_bMeasure;
    Click(m_window->findChild<QWidget*>(QStringLiteral("hideStripButton")));
    ASSERT_FALSE(m_window->ThumbHost()->isVisible());
    QuitKalvex();
    ASSERT_TRUE(QFileInfo::exists(m_home.filePath(QStringLiteral(".config/kalvex/Setting.ini"))));

    StartKalvex();
    EXPECT_EQ(Panel().ScaleCombo()->currentIndex(), 2);
    EXPECT_EQ(m_window->General().m_nDisp, 2);
    EXPECT_EQ(m_window->General().m_bMeasure, measure);
    EXPECT_FALSE(m_window->ThumbHost()->isVisible());
    EXPECT_TRUE(PictureFlows());
}

TEST_F(Journey, AboutMenuOnlyOnTheBareBackground)
{
    QString menuName;
    const auto closeMenu = [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuName = menu->objectName();
            menu->close();
        }
    };
    QTimer::singleShot(300, closeMenu);
    RightClick(m_window.get(), QPoint(4, 4));
    QTest::qWait(500);
    EXPECT_EQ(menuName, QStringLiteral("aboutMenu"));

    menuName.clear();
    QTimer::singleShot(300, closeMenu);
    RightClick(Panel().ButtonAt(CSidePanel::Line), QPoint(5, 5));
    QTest::qWait(500);
    EXPECT_TRUE(menuName.isEmpty()) << "About menu on a panel button";
}

TEST_F(Journey, ChineseUserSeesChineseResultsAndScale)
{
    QuitKalvex();
    CTranslationLoader::Install(*QCoreApplication::instance(), QStringLiteral("zh_CN"));
    StartKalvex();
    EXPECT_EQ(Panel().ButtonAt(CSidePanel::Video)->text(), QStringLiteral("视频"));

    DrawLine(QPoint(40, 40), QPoint(240, 140));
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 1);
    EXPECT_EQ(m_window->ResultList()->topLevelItem(0)->text(1), QStringLiteral("长度"));

    ClickButton(CSidePanel::CAL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->CalibrationDlg()->isVisible(); }, 3000));
    auto* status = m_window->CalibrationDlg()->findChild<QLineEdit*>(QStringLiteral("scaleStatus"));
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->text().contains(QStringLiteral("/像素"))) << status->text().toStdString();
    EXPECT_FALSE(status->text().contains(QStringLiteral("pixel")));
    m_window->CalibrationDlg()->hide();

    // The CSV stays in the words other programs read.
    EXPECT_TRUE(SaveTheCsv().contains("\n1,length,"));
}

// The live view redraws for a camera frame or a change of the drawing: with the camera
// running, and with it paused so that no frame comes, a line drawn and then dragged by its
// ends shows at once, during the drag too.
TEST_F(Journey, DrawingAndDraggingOnALivePictureShowAtOnce)
{
    ASSERT_TRUE(PictureFlows());
    // Magenta at full strength: no bar of the pattern has it.
    m_window->ColorSetting().LineColor = 0x00FF00FF;
    m_window->ColorSetting().LineSize = 3;
    Canvas().Manager().ApplyColourSettings(m_window->ColorSetting());
    const auto lineOnRow = [&](int y) {
        return QTest::qWaitFor(
                [&] {
                    const QImage screen = Screen(Canvas());
                    int hits = 0;
                    for (int x = 80; x < 280; ++x)
                        hits += screen.pixelColor(x, y) == QColor(255, 0, 255);
                    return hits > 150;
                },
                kWaitMs);
    };
    const auto nothingOnRow = [&](int y) {
        const QImage screen = Screen(Canvas());
        for (int x = 80; x < 280; ++x)
            if (screen.pixelColor(x, y) == QColor(255, 0, 255))
                return false;
        return true;
    };

    DrawLine(QPoint(60, 60), QPoint(300, 60));
    EXPECT_TRUE(lineOnRow(60)) << "a line drawn on the running picture";

    ASSERT_GE(m_window->Graph().Pause(), 0);
    ASSERT_FALSE(m_window->StillMode());
    ASSERT_TRUE(PictureStands()) << "the paused camera still sends frames";
    DrawLine(QPoint(60, 120), QPoint(300, 120));
    EXPECT_TRUE(lineOnRow(120)) << "a line drawn while no frame comes";

    // Its ends dragged one by one in the select mode the line tool left behind: the line
    // follows the mouse before each release.
    const auto magentaNear = [&](QPoint at) {
        return QTest::qWaitFor(
                [&] {
                    const QImage screen = Screen(Canvas());
                    for (int dy = -2; dy <= 2; ++dy)
                        if (screen.pixelColor(at + QPoint(0, dy)) == QColor(255, 0, 255))
                            return true;
                    return false;
                },
                kWaitMs);
    };
    QWindow* window = WindowOf(&Canvas());
    for (int end : { 60, 300 }) {
        QTest::mousePress(window, Qt::LeftButton, {}, InWindow(&Canvas(), QPoint(end, 120)));
        for (int i = 1; i <= 5; ++i)
            QTest::mouseMove(window, InWindow(&Canvas(), QPoint(end, 120 + 12 * i)));
        EXPECT_TRUE(magentaNear(QPoint(end == 60 ? 70 : 290, 178)))
                << "end " << end << " follows the mouse";
        EXPECT_TRUE(magentaNear(QPoint(180, end == 60 ? 150 : 180))) << "end " << end;
        QTest::mouseRelease(window, Qt::LeftButton, {}, InWindow(&Canvas(), QPoint(end, 180)));
    }
    EXPECT_TRUE(lineOnRow(180));
    EXPECT_TRUE(nothingOnRow(120));
    EXPECT_TRUE(lineOnRow(60)) << "the first line stays";

    ASSERT_GE(m_window->Graph().Run(), 0);
    EXPECT_TRUE(PictureFlows()) << "frames flow again after the pause";
    EXPECT_TRUE(lineOnRow(180));
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

// A slot calibrated at one capture size measures the same real lengths at another: the line
// drawn before follows the picture and keeps its millimetres, a new line over the same part of
// the picture gives the same, the status says the slot was scaled, and the CSV names the scale.
TEST_F(Journey, CalibrationFollowsTheCaptureSize)
{
    ASSERT_TRUE(PictureFlows());
    ASSERT_EQ(m_window->CaptureSize(), QSize(640, 480));
    SelectScale(1); // 100 %, so canvas pixels are picture pixels
    DrawLine(QPoint(100, 200), QPoint(300, 200));
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 1);

    // "From line...": the line just drawn is 2 mm long.
    ClickButton(CSidePanel::CAL);
    CCalibrationDlg* dialog = m_window->CalibrationDlg();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->isVisible(); }, 3000));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("editName"));
    ASSERT_TRUE(name);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("10x objective"));
    m_modals.OnDialog([](QWidget* modal) {
        auto* length = modal->findChild<QLineEdit*>(QStringLiteral("knownLength"));
        auto* unit = modal->findChild<QComboBox*>(QStringLiteral("knownUnit"));
        ASSERT_TRUE(length && unit);
        QTest::keyClicks(length, QStringLiteral("2"));
        unit->setCurrentIndex(1); // mm
        QTest::keyClick(length, Qt::Key_Return);
    });
    Click(dialog->findChild<QPushButton*>(QStringLiteral("btnFromLine")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }, 3000));
    Click(dialog->findChild<QPushButton*>(QStringLiteral("btnOk")));
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
    QTreeWidgetItem* row = m_window->ResultList()->topLevelItem(0);
    EXPECT_DOUBLE_EQ(row->text(2).toDouble(), 2.0) << row->text(2).toStdString();
    EXPECT_EQ(row->text(3), QStringLiteral("mm"));
    auto* status = Panel().findChild<QLabel*>(QStringLiteral("calibrationStatus"));
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->toolTip().contains(QStringLiteral("10x objective")))
            << status->toolTip().toStdString();

    // Twice the pixels each way: the line drawn before lies over the same part of the picture,
    // now twice as many pixels long, and measures what it measured before.
    SelectResolution(QStringLiteral("1280 X 960"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->CaptureSize() == QSize(1280, 960); }, 3000));
    ASSERT_TRUE(PictureFlows());
    EXPECT_DOUBLE_EQ(m_window->ResultList()->topLevelItem(0)->text(2).toDouble(), 2.0);
    ASSERT_EQ(Canvas().Manager().ShapeCount(), 1);
    EXPECT_EQ(Canvas().Manager().ShapeAt(0)->Point(1), QPoint(600, 400));
    EXPECT_TRUE(status->toolTip().contains(QStringLiteral("scaled from 640 X 480")))
            << status->toolTip().toStdString();
    DrawLine(QPoint(200, 400), QPoint(600, 400));
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 2);
    EXPECT_NEAR(m_window->ResultList()->topLevelItem(1)->text(2).toDouble(), 2.0, 0.01);

    m_modals.OnDialog([&](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    ClickButton(CSidePanel::SaveCsv);
    const QStringList csvs = QDir(MeasureFolder()).entryList({ QStringLiteral("*.csv") });
    ASSERT_EQ(csvs.size(), 1);
    QFile csv(QDir(MeasureFolder()).filePath(csvs[0]));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    EXPECT_EQ(lines.value(0), QByteArray("No.,Type,Result,Unit"));
    EXPECT_EQ(lines.value(3),
            QByteArray("# scale: 0.005 x 0.005 mm/pixel; calibration 0 \"10x objective\"; "
                       "scaled from 640 X 480"));

    // Back at the size it was made at, the slot is exactly what it was, both lines still read
    // 2 mm, and undoing the second line leaves the first where it is now.
    SelectResolution(QStringLiteral("640 X 480"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->CaptureSize() == QSize(640, 480); }, 3000));
    EXPECT_DOUBLE_EQ(m_window->Calibration().GetCurSlot().xPerPixel, 0.01);
    EXPECT_FALSE(status->toolTip().contains(QStringLiteral("scaled")));
    for (int i = 0; i < 2; ++i)
        EXPECT_DOUBLE_EQ(m_window->ResultList()->topLevelItem(i)->text(2).toDouble(), 2.0) << i;
    ASSERT_TRUE(Canvas().Manager().Undo());
    ASSERT_EQ(Canvas().Manager().ShapeCount(), 1);
    EXPECT_EQ(Canvas().Manager().ShapeAt(0)->Point(0), QPoint(100, 200));
}
