#include "app/SidePanel.h"

#include "app/PanelButton.h"
#include "app/ResolutionItem.h"
#include "base/Trace.h"
#include "video/WhiteBalanceDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
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
constexpr int kButtonWidth = 108;
constexpr int kButtonHeight = 30;
constexpr int kButtonPitch = 33;
constexpr int kGroupWidth = 124;
constexpr int kGroupHeight = 422;

using C = CCommandTable;

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

CSidePanel::CSidePanel(CPanelHost& host, CCommandTable& commands, QWidget* parent)
    : QWidget(parent), m_host(host), m_commands(commands)
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

    // What the panel carries out itself; the window binds the rest.
    const std::pair<C::Command, void (CSidePanel::*)()> own[] = {
        { C::Video, &CSidePanel::OnVideo },
        { C::Setting, &CSidePanel::OnSetting },
        { C::Measure, &CSidePanel::OnMeasure },
        { C::AHE, &CSidePanel::OnAHE },
        { C::Merge, &CSidePanel::OnMerge },
        { C::WB, &CSidePanel::OnWB },
    };
    for (const auto& [command, slot] : own)
        m_commands.Bind(
                command, [this, slot = slot] { (this->*slot)(); }, this);
    m_commands.SetToolChooser([this](int mode, ToolFactory make) { ChooseTool(mode, make); });
    m_commands.SetToolEnder([this] { CancelTool(); });
}

CSidePanel::~CSidePanel()
{
    m_commands.SetToolChooser({});
    m_commands.SetToolEnder({});
}

void CSidePanel::CreateControls()
{
    m_loadGroup = new QGroupBox(tr("Load images"), this);
    m_loadGroup->setObjectName(QStringLiteral("loadImagesGroup"));
    m_measureGroup = new QGroupBox(tr("Measurement"), this);
    m_measureGroup->setObjectName(QStringLiteral("measurementGroup"));

    int loadRow = 0;
    int measureRow = 0;
    for (int id = 0; id < ButtonCount; ++id) {
        const C::CEntry& entry = C::Entry(Button(id));
        const bool left = entry.place == C::Place::LoadColumn;
        int& row = left ? loadRow : measureRow;
        auto* button =
                new CPanelButton(C::Caption(entry.command), left ? m_loadGroup : m_measureGroup);
        button->setObjectName(QStringLiteral("btn%1").arg(QString::fromLatin1(entry.caption)
                                                                  .remove(QLatin1Char('\n'))
                                                                  .remove(QLatin1Char(' '))));
        button->setGeometry(0, 20 + row * kButtonPitch, kButtonWidth, kButtonHeight);
        button->SetAction(m_commands.Action(entry.command));
        m_buttons[id] = button;
        if (id != WB)
            ++row;
    }
    // "WB" shares the slot under "Merge" and is never shown; its values come from the
    // settings file.
    m_buttons[WB]->hide();

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

    // The command's own action carries the state, so the key and the menu show it too.
    QAction* snap = m_commands.Action(C::SnapToEdges);
    m_snapCheck = new QCheckBox(C::Caption(C::SnapToEdges), this);
    m_snapCheck->setObjectName(QStringLiteral("snapToEdgesCheck"));
    m_snapCheck->setToolTip(C::ToolTip(C::SnapToEdges));
    m_snapCheck->setChecked(snap->isChecked());
    connect(m_snapCheck, &QCheckBox::toggled, snap, &QAction::setChecked);
    connect(snap, &QAction::toggled, m_snapCheck, &QCheckBox::setChecked);

    m_calibrationStatus = new QLabel(this);
    m_calibrationStatus->setObjectName(QStringLiteral("calibrationStatus"));
    m_calibrationStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_calibrationStatus->setWordWrap(true);
    m_calibrationStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_storeButton = new QToolButton(this);
    m_storeButton->setObjectName(QStringLiteral("storeCalibrationButton"));
    m_storeButton->setText(C::Caption(C::StoreCalibration));
    m_storeButton->setToolTip(C::ToolTip(C::StoreCalibration));
    m_storeButton->hide();
    connect(m_storeButton, &QToolButton::clicked, m_commands.Action(C::StoreCalibration),
            &QAction::trigger);

    // Only the user's choices count: filling the combos at initialisation changes nothing.
    connect(m_scaleCombo, &QComboBox::activated, this, &CSidePanel::OnScaleChanged);
    connect(m_resolutionCombo, &QComboBox::activated, this, &CSidePanel::OnResolutionChanged);
    connect(m_slider, &QSlider::valueChanged, this, &CSidePanel::OnThresholdChanged);
    connect(m_binCheck, &QCheckBox::stateChanged, this, &CSidePanel::OnBinChanged);

    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("resultsList"));
    m_resultsList = list;
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
    PostIdleUpdate();
}

void CSidePanel::LoadBitmaps()
{
    for (int id = 0; id < ButtonCount; ++id)
        m_buttons[id]->SetBitmap(Artwork(C::Entry(Button(id)).icon));
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
    m_snapCheck->setGeometry(4, kSnapTop, comboX + comboWidth - 4, 24);
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
        m_buttons[id]->setToolTip(C::ToolTip(Button(id)));
}

void CSidePanel::FillResolutionCombo()
{
    m_resolutionCombo->clear();
    if (m_hooks.videoSizeEntries) {
        std::vector<CResolutionEntry> entries;
        int chosen = -1;
        m_hooks.videoSizeEntries(entries, chosen);
        for (const CResolutionEntry& entry : entries)
            m_resolutionCombo->addItem(entry.Label(), entry.Key());
        if (chosen >= 0 && chosen < m_resolutionCombo->count())
            m_resolutionCombo->setCurrentIndex(chosen);
    }
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
    for (int id = 0; id < ButtonCount; ++id) {
        if (C::Entry(Button(id)).toolMode != NoTool)
            m_buttons[id]->SetActive(id == button);
    }
}

void CSidePanel::UnmarkToolButtons()
{
    MarkOnlyTool(C::CommandCount);
}

void CSidePanel::ChooseTool(int mode, ToolFactory make)
{
    SelectTool(C::ToolCommand(mode), mode, make);
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

void CSidePanel::SelectTool(Button button, int mode, ToolFactory make)
{
    if (!make)
        return;
    int now = mode;
    if (m_hooks.chooseTool)
        now = m_hooks.chooseTool(mode, make);
    else if (ToolMode() == mode && make()->EndsWhenChosenAgain())
        now = SelectMode;
    SetToolModeValue(now);
    if (now == mode)
        MarkOnlyTool(button);
    else
        UnmarkToolButtons();
}

void CSidePanel::OnAnotation()
{
    SelectTool(Anotation, TextTool, C::Entry(C::Anotation).tool);
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
    m_commands.Action(C::ImgCmp)->setEnabled(live);
    // The still branch disabled them; live video needs them back.
    SetLiveControlsEnabled(live);
    PostIdleUpdate();
    if (live) {
        m_valLabel->setEnabled(true);
        return;
    }
    // An opened picture leaves "AHE", "Merge" and "Val" as they are.
    if (how == StillEntry::VideoButton) {
        m_buttons[AHE]->SetBitmap(Artwork("equalize"));
        m_commands.Action(C::AHE)->setEnabled(false);
        m_buttons[Merge]->SetBitmap(Artwork("merge"));
        m_commands.Action(C::Merge)->setEnabled(false);
        m_valLabel->setEnabled(false);
    }
}

void CSidePanel::PostIdleUpdate()
{
    // Once the events of the change are handled, as an idle pass would come after them.
    QTimer::singleShot(0, this, &CSidePanel::UpdateIdle);
}

void CSidePanel::UpdateIdle()
{
    CCommandState state;
    state.still = m_host.StillMode();
    m_commands.UpdateEnabled(state);
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

// Commands; those that end the tool say so in their rows.

void CSidePanel::OnSetting()
{
    m_commands.Trigger(m_host.StillMode() ? C::DeviceSetting : C::VideoSetting);
    m_host.Repaint();
}

void CSidePanel::OnMeasure()
{
    const bool measure = !m_host.Measure();
    m_host.SetMeasure(measure);
    m_buttons[Measure]->SetBitmap(Artwork(measure ? "measure-on" : "measure-off"));
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
    CWhiteBalanceDlg dialog(m_host.General(), this);
    connect(&dialog, &CWhiteBalanceDlg::changed, this, [this] { m_host.FiltersChanged(); });
    dialog.exec();
}
