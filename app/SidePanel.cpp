#include "app/SidePanel.h"

#include "app/PanelButton.h"
#include "app/ResolutionItem.h"
#include "app/ShortcutTable.h"
#include "base/Trace.h"
#include "measure/Angle3Tool.h"
#include "measure/Angle4Tool.h"
#include "measure/AreaTool.h"
#include "measure/CircleTool.h"
#include "measure/DistanceTool.h"
#include "measure/LineTool.h"
#include "measure/TextTool.h"
#include "measure/VerticalLinesTool.h"
#include "video/WhiteBalanceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QColor kPanelBackground(243, 247, 246);
constexpr int kIdlePeriodMs = 100;
constexpr int kButtonWidth = 108;
constexpr int kButtonHeight = 30;
constexpr int kButtonPitch = 33;
constexpr int kGroupWidth = 124;
constexpr int kGroupHeight = 422;

struct ButtonSpec
{
    const char* caption;
    const char* toolTip;
    const char* icon; // the artwork shown from initialisation on
    // The key that presses the button; CommandCount: none.
    CShortcutTable::Command key = CShortcutTable::CommandCount;
};

// In the order of the two columns; every caption a whole word.
const ButtonSpec kButtonSpecs[CSidePanel::ButtonCount] = {
    { QT_TRANSLATE_NOOP("CSidePanel", "Video"), QT_TRANSLATE_NOOP("CSidePanel", "Video source"),
            "video-live", CShortcutTable::VideoStill },
    { QT_TRANSLATE_NOOP("CSidePanel", "Setting"), QT_TRANSLATE_NOOP("CSidePanel", "Video setting"),
            "setting" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Save"), QT_TRANSLATE_NOOP("CSidePanel", "Save image"),
            "save", CShortcutTable::Save },
    { QT_TRANSLATE_NOOP("CSidePanel", "Save setting"),
            QT_TRANSLATE_NOOP("CSidePanel", "Saving setting"), "save-setting" },
    { QT_TRANSLATE_NOOP("CSidePanel", "SaveAs"), QT_TRANSLATE_NOOP("CSidePanel", "Save as"),
            "save-as", CShortcutTable::SaveAs },
    { QT_TRANSLATE_NOOP("CSidePanel", "Measure"),
            QT_TRANSLATE_NOOP("CSidePanel", "Enable or disable measure"), "measure-off" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Thumb"), QT_TRANSLATE_NOOP("CSidePanel", "Thumbnail view"),
            "thumb" },
    { QT_TRANSLATE_NOOP("CSidePanel", "ImgCmp"), QT_TRANSLATE_NOOP("CSidePanel", "Image compare"),
            "image-compare" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Anotation"), QT_TRANSLATE_NOOP("CSidePanel", "Draw text"),
            "annotation", CShortcutTable::TextTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "AnotationDB"),
            QT_TRANSLATE_NOOP("CSidePanel", "Text management"), "annotation-db" },
    { QT_TRANSLATE_NOOP("CSidePanel", "AHE"),
            QT_TRANSLATE_NOOP("CSidePanel", "Brightness Equalize"), "equalize" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Merge"), QT_TRANSLATE_NOOP("CSidePanel", "Image merge"),
            "merge" },
    { QT_TRANSLATE_NOOP("CSidePanel", "WB"), QT_TRANSLATE_NOOP("CSidePanel", "White balance"),
            "white-balance" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Line"), QT_TRANSLATE_NOOP("CSidePanel", "Draw line"), "line",
            CShortcutTable::LineTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Angle3"),
            QT_TRANSLATE_NOOP("CSidePanel", "Draw three-point angle"), "angle3",
            CShortcutTable::Angle3Tool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Angle4"),
            QT_TRANSLATE_NOOP("CSidePanel", "Draw four-point angle"), "angle4",
            CShortcutTable::Angle4Tool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Circle"), QT_TRANSLATE_NOOP("CSidePanel", "Draw circle"),
            "circle", CShortcutTable::CircleTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Distance"), QT_TRANSLATE_NOOP("CSidePanel", "Draw Distance"),
            "distance", CShortcutTable::DistanceTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Vertical"),
            QT_TRANSLATE_NOOP("CSidePanel", "Draw vertical lines"), "vertical",
            CShortcutTable::VerticalLinesTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Area"), QT_TRANSLATE_NOOP("CSidePanel", "Draw area"), "area",
            CShortcutTable::AreaTool },
    { QT_TRANSLATE_NOOP("CSidePanel", "Clear"),
            QT_TRANSLATE_NOOP("CSidePanel", "Clear measurement"), "clear" },
    { QT_TRANSLATE_NOOP("CSidePanel", "SaveCsv"),
            QT_TRANSLATE_NOOP("CSidePanel", "Save measurement"), "save-csv" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Color"), QT_TRANSLATE_NOOP("CSidePanel", "Color setting"),
            "color" },
    { QT_TRANSLATE_NOOP("CSidePanel", "CAL"), QT_TRANSLATE_NOOP("CSidePanel", "Calibration"),
            "calibration" },
    { QT_TRANSLATE_NOOP("CSidePanel", "Cross\nLine"), QT_TRANSLATE_NOOP("CSidePanel", "Crossline"),
            "crossline" },
};

constexpr CSidePanel::Button kToolButtons[] = {
    CSidePanel::Line,
    CSidePanel::Angle3,
    CSidePanel::Angle4,
    CSidePanel::Circle,
    CSidePanel::Distance,
    CSidePanel::Vertical,
    CSidePanel::Area,
    CSidePanel::Anotation,
};

QString Artwork(const char* name)
{
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
}

// Hooks not wired yet are skipped.
template <typename Hook, typename... Args> void Call(const Hook& hook, Args&&... args)
{
    if (hook)
        hook(std::forward<Args>(args)...);
}

} // namespace

CSidePanel::CSidePanel(CPanelHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("sidePanel"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kPanelBackground);
    palette.setColor(QPalette::Base, kPanelBackground);
    setPalette(palette);
    setMinimumSize(kMinimumWidth, kResultsTop + kMinResultsHeight);
    CreateControls();
    PlaceControls();

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(kIdlePeriodMs);
    connect(m_idleTimer, &QTimer::timeout, this, &CSidePanel::UpdateIdle);
}

void CSidePanel::CreateControls()
{
    m_loadGroup = new QGroupBox(tr("Load images"), this);
    m_loadGroup->setObjectName(QStringLiteral("loadImagesGroup"));
    m_measureGroup = new QGroupBox(tr("Measurement"), this);
    m_measureGroup->setObjectName(QStringLiteral("measurementGroup"));

    int row = 0;
    for (int id = 0; id < ButtonCount; ++id) {
        const ButtonSpec& spec = kButtonSpecs[id];
        const bool left = id < Line;
        if (id == Line)
            row = 0;
        auto* button = new CPanelButton(tr(spec.caption), left ? m_loadGroup : m_measureGroup);
        button->setObjectName(QStringLiteral("btn%1").arg(QString::fromLatin1(spec.caption)
                                                                  .remove(QLatin1Char('\n'))
                                                                  .remove(QLatin1Char(' '))));
        button->setGeometry(0, 20 + row * kButtonPitch, kButtonWidth, kButtonHeight);
        m_buttons[id] = button;
        if (id != WB)
            ++row;
    }
    // "WB" shares the slot under "Merge" and is never shown; its values come from the
    // settings file.
    m_buttons[WB]->hide();

    const auto connectButton = [this](Button id, void (CSidePanel::*slot)()) {
        connect(m_buttons[id], &QAbstractButton::clicked, this, slot);
    };
    connectButton(Video, &CSidePanel::OnVideo);
    connectButton(Setting, &CSidePanel::OnSetting);
    connectButton(Save, &CSidePanel::OnSave);
    connectButton(SaveSetting, &CSidePanel::OnSaveSetting);
    connectButton(SaveAs, &CSidePanel::OnSaveAs);
    connectButton(Measure, &CSidePanel::OnMeasure);
    connectButton(Thumb, &CSidePanel::OnThumb);
    connectButton(ImgCmp, &CSidePanel::OnImgCmp);
    connectButton(Anotation, &CSidePanel::OnAnotation);
    connectButton(AnotationDB, &CSidePanel::OnAnotationDB);
    connectButton(AHE, &CSidePanel::OnAHE);
    connectButton(Merge, &CSidePanel::OnMerge);
    connectButton(WB, &CSidePanel::OnWB);
    connectButton(Clear, &CSidePanel::OnClear);
    connectButton(SaveCsv, &CSidePanel::OnSaveCsv);
    connectButton(Color, &CSidePanel::OnColor);
    connectButton(CAL, &CSidePanel::OnCAL);
    connectButton(CrossLine, &CSidePanel::OnCrossLine);
    const std::pair<Button, int> tools[] = {
        { Line, LineTool },
        { Angle3, Angle3Tool },
        { Angle4, Angle4Tool },
        { Circle, CircleTool },
        { Distance, DistanceTool },
        { Vertical, VerticalLinesTool },
        { Area, AreaTool },
    };
    for (const auto& [id, mode] : tools) {
        connect(m_buttons[id], &QAbstractButton::clicked, this,
                [this, id = id, mode = mode] { SelectTool(id, mode); });
    }

    m_scaleLabel = new QLabel(tr("Scale size"), this);
    m_scaleLabel->setObjectName(QStringLiteral("scaleLabel"));
    m_scaleCombo = new QComboBox(this);
    m_scaleCombo->setObjectName(QStringLiteral("scaleCombo"));
    m_scaleCombo->addItems({ tr("Fit In"), tr("X 1"), tr("X 2"), tr("X 3") });
    m_scaleLabel->setBuddy(m_scaleCombo);

    m_resolutionLabel = new QLabel(tr("Resolution"), this);
    m_resolutionLabel->setObjectName(QStringLiteral("resolutionLabel"));
    m_resolutionCombo = new QComboBox(this);
    m_resolutionCombo->setObjectName(QStringLiteral("resolutionCombo"));
    m_resolutionLabel->setBuddy(m_resolutionCombo);

    m_binCheck = new QCheckBox(tr("BIN"), this);
    m_binCheck->setObjectName(QStringLiteral("binCheck"));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("thresholdSlider"));
    m_slider->setToolTip(tr("Binarization threshold"));
    m_valLabel = new QLabel(tr("Val"), this);
    m_valLabel->setObjectName(QStringLiteral("valLabel"));
    m_valLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_calibrationStatus = new QLabel(this);
    m_calibrationStatus->setObjectName(QStringLiteral("calibrationStatus"));
    m_calibrationStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_calibrationStatus->setWordWrap(true);
    m_calibrationStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_storeButton = new QToolButton(this);
    m_storeButton->setObjectName(QStringLiteral("storeCalibrationButton"));
    m_storeButton->setText(tr("Store..."));
    m_storeButton->setToolTip(tr("Keep this picture's scale in a calibration slot"));
    m_storeButton->hide();
    connect(m_storeButton, &QToolButton::clicked, this,
            [this] { Call(m_hooks.storeFileCalibration); });

    // Only the user's choices count: filling the combos at initialisation changes nothing.
    connect(m_scaleCombo, &QComboBox::activated, this, &CSidePanel::OnScaleChanged);
    connect(m_resolutionCombo, &QComboBox::activated, this, &CSidePanel::OnResolutionChanged);
    connect(m_slider, &QSlider::valueChanged, this, &CSidePanel::OnThresholdChanged);
    connect(m_binCheck, &QCheckBox::stateChanged, this, &CSidePanel::OnBinChanged);

    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("resultsList"));
    m_resultsList = list;
    m_resultsList->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    // Keyboard selection highlights as a click does.
    connect(list, &QTreeWidget::itemSelectionChanged, this,
            [this] { Call(m_hooks.resultsClicked); });
}

void CSidePanel::Initialise()
{
    m_scaleCombo->setCurrentIndex(m_host.DisplayScale());
    m_host.RestartVideo();
    LoadBitmaps();
    SetUpResultsList();
    PlaceResultsList();
    SetToolTips();
    m_slider->setRange(0, 255);
    m_slider->setValue(m_host.Threshold());
    m_valLabel->setText(QString::number(m_host.Threshold()));
    m_binCheck->setChecked(m_host.Binarize());
    FillResolutionCombo();
    m_idleTimer->start();
}

void CSidePanel::LoadBitmaps()
{
    for (int id = 0; id < ButtonCount; ++id)
        m_buttons[id]->SetBitmap(Artwork(kButtonSpecs[id].icon));
    m_buttons[Video]->SetBitmap(Artwork(m_host.StillMode() ? "video-still" : "video-live"));
    m_buttons[Measure]->SetBitmap(Artwork(m_host.Measure() ? "measure-on" : "measure-off"));
}

void CSidePanel::SetUpResultsList()
{
    auto* list = qobject_cast<QTreeWidget*>(m_resultsList);
    if (!list)
        return;
    list->setColumnCount(4);
    list->setHeaderLabels({ tr("No."), tr("Type"), tr("Result"), tr("Unit") });
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    const int widths[] = { 42, 70, 85, 45 };
    for (int column = 0; column < 4; ++column)
        list->setColumnWidth(column, widths[column]);
}

void CSidePanel::SetResultsList(QWidget* list)
{
    if (!list || list == m_resultsList)
        return;
    delete m_resultsList;
    m_resultsList = list;
    list->setParent(this);
    list->installEventFilter(this);
    PlaceResultsList();
    list->show();
}

void CSidePanel::PlaceControls()
{
    // At full width the two columns sit at their usual places; a narrower panel (a vertical
    // scroll bar beside it) closes the gap between them rather than cutting the right one.
    const int w = width();
    const int groupWidth = std::clamp((w - 4) / 2, kButtonWidth + 4, kGroupWidth);
    m_loadGroup->setGeometry(1, 0, groupWidth, kGroupHeight);
    m_measureGroup->setGeometry(1 + groupWidth + 2, 0, groupWidth, kGroupHeight);
    for (CPanelButton* button : m_buttons)
        button->move((groupWidth - kButtonWidth) / 2, button->y());

    const int comboX = 82;
    const int comboWidth = std::max(60, std::min(w, kHostWidth) - comboX - 4);
    m_scaleLabel->setGeometry(4, 428, comboX - 6, 24);
    m_scaleCombo->setGeometry(comboX, 428, comboWidth, 24);
    m_resolutionLabel->setGeometry(4, 456, comboX - 6, 24);
    m_resolutionCombo->setGeometry(comboX, 456, comboWidth, 24);
    m_binCheck->setGeometry(4, 485, 64, 24);
    const int valX = comboX + comboWidth - 38;
    m_slider->setGeometry(70, 485, valX - 74, 24);
    m_valLabel->setGeometry(valX, 485, 38, 24);
    PlaceStatus();
    PlaceResultsList();
}

void CSidePanel::PlaceStatus()
{
    const int right = std::min(width(), kResultsWidth);
    const int storeWidth = m_storeButton->isHidden() ? 0 : m_storeButton->sizeHint().width();
    m_storeButton->setGeometry(right - storeWidth, kStatusTop, storeWidth, 24);
    const int labelWidth = right - 4 - (storeWidth ? storeWidth + 2 : 0);
    // The whole text, on as many lines as it takes (the results list moves down for them);
    // the tooltip repeats it for a look without scrolling.
    const QString full = m_calibrationStatus->toolTip();
    m_calibrationStatus->setText(full);
    const int textHeight = full.isEmpty() ? 0 : m_calibrationStatus->heightForWidth(labelWidth);
    const int statusHeight = std::max(kStatusHeight, textHeight);
    m_calibrationStatus->setGeometry(4, kStatusTop, labelWidth, statusHeight);
    const int resultsTop = kStatusTop + statusHeight + 4;
    if (resultsTop != m_resultsTop) {
        m_resultsTop = resultsTop;
        setMinimumSize(kMinimumWidth, m_resultsTop + kMinResultsHeight);
        PlaceResultsList();
    }
}

void CSidePanel::SetCalibrationStatus(const QString& text, bool offerStore)
{
    m_calibrationStatus->setToolTip(text);
    m_storeButton->setVisible(offerStore);
    PlaceStatus();
}

void CSidePanel::ShowDisplayScale(int scale)
{
    m_scaleCombo->setCurrentIndex(scale);
}

void CSidePanel::PlaceResultsList()
{
    // The list reaches the bottom of the panel; a short window keeps a few rows of it and
    // the panel scrolls instead.
    const int listHeight = std::max(kMinResultsHeight, height() - m_resultsTop);
    m_resultsList->setGeometry(0, m_resultsTop, std::min(width(), kResultsWidth), listHeight);
}

void CSidePanel::SetToolTips()
{
    for (int id = 0; id < ButtonCount; ++id)
        m_buttons[id]->setToolTip(tr(kButtonSpecs[id].toolTip));
}

CShortcutTable::Command CSidePanel::KeyOf(Button id)
{
    return kButtonSpecs[id].key;
}

void CSidePanel::FillResolutionCombo()
{
    m_resolutionCombo->clear();
    Call(m_hooks.fillVideoSizeCombo, m_resolutionCombo);
    const QSize size = m_host.CaptureSize();
    const int index = m_resolutionCombo->findText(
            CResolutionItem::Format(size.width(), size.height()), Qt::MatchExactly);
    if (index >= 0)
        m_resolutionCombo->setCurrentIndex(index);
}

void CSidePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}

bool CSidePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_resultsList && event->type() == QEvent::FocusOut)
        Call(m_hooks.resultsFocusLost);
    else if (event->type() == QEvent::MouseButtonRelease
            && m_resultsList->isAncestorOf(qobject_cast<QWidget*>(watched)))
        Call(m_hooks.resultsClicked);
    return QWidget::eventFilter(watched, event);
}

// Tool modes

int CSidePanel::ToolMode() const
{
    return m_hooks.toolMode ? m_hooks.toolMode() : m_nToolMode;
}

void CSidePanel::SetToolModeValue(int mode)
{
    m_nToolMode = mode;
}

void CSidePanel::MarkOnlyTool(Button button)
{
    for (Button tool : kToolButtons)
        m_buttons[tool]->SetActive(tool == button);
}

void CSidePanel::UnmarkToolButtons()
{
    for (Button tool : kToolButtons)
        m_buttons[tool]->SetActive(false);
}

void CSidePanel::CancelTool()
{
    SetToolModeValue(SelectMode);
    UnmarkToolButtons();
    Call(m_hooks.cancelTool);
}

void CSidePanel::OnToolEnded()
{
    UnmarkToolButtons();
}

void CSidePanel::SelectTool(Button button, int mode)
{
    // The tool each button makes.
    static const std::pair<Button, ToolFactory> kMakers[] = {
        { Line, &MakeTool<CLineTool> },
        { Angle3, &MakeTool<CAngle3Tool> },
        { Angle4, &MakeTool<CAngle4Tool> },
        { Circle, &MakeTool<CCircleTool> },
        { Distance, &MakeTool<CDistanceTool> },
        { Vertical, &MakeTool<CVerticalLinesTool> },
        { Area, &MakeTool<CAreaTool> },
        { Anotation, &MakeTool<CTextTool> },
    };
    const auto* maker = std::find_if(std::begin(kMakers), std::end(kMakers),
            [button](const auto& entry) { return entry.first == button; });
    if (maker == std::end(kMakers))
        return;
    int now = mode;
    if (m_hooks.chooseTool)
        now = m_hooks.chooseTool(mode, maker->second);
    else if (ToolMode() == mode && maker->second()->EndsWhenChosenAgain())
        now = SelectMode;
    SetToolModeValue(now);
    if (now == mode)
        MarkOnlyTool(button);
    else
        UnmarkToolButtons();
}

void CSidePanel::OnAnotation()
{
    SelectTool(Anotation, TextTool);
}

// Live and still

void CSidePanel::SetLiveControlsEnabled(bool enabled)
{
    m_resolutionCombo->setEnabled(enabled);
    m_binCheck->setEnabled(enabled);
    m_slider->setEnabled(enabled);
}

void CSidePanel::OnVideo()
{
    if (m_host.StillMode())
        m_host.RequestLive();
    else
        m_host.RequestStill();
}

void CSidePanel::OnLiveStateChanged(bool live, StillEntry how)
{
    m_buttons[Video]->setText(live ? tr("Video") : tr("Still"));
    m_buttons[Video]->SetBitmap(Artwork(live ? "video-live" : "video-still"));
    m_buttons[ImgCmp]->SetBitmap(Artwork(live ? "image-compare" : "image-compare-still"));
    m_buttons[ImgCmp]->setEnabled(live);
    // The still branch disabled them; live video needs them back.
    SetLiveControlsEnabled(live);
    if (live) {
        m_valLabel->setEnabled(true);
        return;
    }
    // An opened picture leaves "AHE", "Merge" and "Val" as they are.
    if (how == StillEntry::VideoButton) {
        m_buttons[AHE]->SetBitmap(Artwork("equalize"));
        m_buttons[AHE]->setEnabled(false);
        m_buttons[Merge]->SetBitmap(Artwork("merge"));
        m_buttons[Merge]->setEnabled(false);
        m_valLabel->setEnabled(false);
    }
}

void CSidePanel::UpdateIdle()
{
    // Every button has a command; "ImgCmp" compares with the live picture, so it waits for
    // live video.
    const bool still = m_host.StillMode();
    for (int id = 0; id < ButtonCount; ++id)
        m_buttons[id]->setEnabled(id != ImgCmp || !still);
}

// Combos, slider and check box

void CSidePanel::ApplyScale()
{
    m_host.ApplyDisplayScale(std::max(0, m_scaleCombo->currentIndex()));
}

void CSidePanel::OnScaleChanged(int)
{
    ApplyScale();
}

void CSidePanel::OnResolutionChanged(int index)
{
    CResolutionItem item;
    if (!CResolutionItem::Parse(m_resolutionCombo->itemText(index), item))
        return;
    if (m_hooks.chooseVideoFormat)
        m_hooks.chooseVideoFormat(m_resolutionCombo->itemData(index).toString());
    m_host.ChangeCaptureSize(
            QSize(item.width, item.height), std::max(0, m_scaleCombo->currentIndex()));
}

void CSidePanel::OnThresholdChanged(int value)
{
    m_host.SetThreshold(value);
    m_valLabel->setText(QString::number(value));
}

void CSidePanel::OnBinChanged(int state)
{
    if (state == Qt::Checked)
        m_host.SetBinarize(true);
    else if (state == Qt::Unchecked)
        m_host.SetBinarize(false);
}

// Commands

void CSidePanel::RunHook(const std::function<void()>& hook)
{
    CancelTool();
    Call(hook);
}

void CSidePanel::OnSetting()
{
    CancelTool();
    if (m_host.StillMode())
        Call(m_hooks.deviceSetting);
    else
        Call(m_hooks.videoPropertyPages);
    m_host.Repaint();
}

void CSidePanel::OnSave()
{
    RunHook(m_hooks.saveSnapshot);
}

void CSidePanel::OnSaveSetting()
{
    RunHook(m_hooks.saveSetting);
}

void CSidePanel::OnSaveAs()
{
    RunHook(m_hooks.saveAs);
}

void CSidePanel::OnMeasure()
{
    CancelTool();
    const bool measure = !m_host.Measure();
    m_host.SetMeasure(measure);
    m_buttons[Measure]->SetBitmap(Artwork(measure ? "measure-on" : "measure-off"));
}

void CSidePanel::OnThumb()
{
    RunHook(m_hooks.thumbView);
}

void CSidePanel::OnImgCmp()
{
    RunHook(m_hooks.imageCompare);
}

void CSidePanel::OnAnotationDB()
{
    RunHook(m_hooks.textsManager);
}

void CSidePanel::OnAHE()
{
    UnmarkToolButtons();
    const bool equalize = !m_host.Equalize();
    m_host.SetEqualize(equalize);
    m_buttons[AHE]->SetActive(equalize);
}

void CSidePanel::OnMerge()
{
    UnmarkToolButtons();
    const int scaleSelection = m_scaleCombo->currentIndex();
    m_host.RunMerge();
    m_scaleCombo->setCurrentIndex(scaleSelection);
}

void CSidePanel::OnWB()
{
    CancelTool();
    CWhiteBalanceDlg dialog(m_host.General(), this);
    dialog.exec();
}

void CSidePanel::OnClear()
{
    RunHook(m_hooks.clearMeasurements);
}

void CSidePanel::OnSaveCsv()
{
    RunHook(m_hooks.saveCsv);
}

void CSidePanel::OnColor()
{
    RunHook(m_hooks.colorSetting);
}

void CSidePanel::OnCAL()
{
    RunHook(m_hooks.showCalibration);
}

void CSidePanel::OnCrossLine()
{
    RunHook(m_hooks.crossLineDialog);
}
