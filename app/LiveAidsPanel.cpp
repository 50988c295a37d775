#include "app/LiveAidsPanel.h"

#include "app/HistogramView.h"
#include "app/TimeLapse.h"
#include "app/WheelGuard.h"
#include "base/UserMessages.h"
#include "video/LiveAids.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Percent(double share)
{
    return QString::number(share * 100.0, 'f', 1) + QLatin1Char('%');
}

QIcon Swatch(uint32_t rgb)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor::fromRgb(rgb));
    return QIcon(pixmap);
}

} // namespace

CLiveAidsPanel::CLiveAidsPanel(
        CLiveAids& aids, CTimeLapse& timeLapse, CLiveAidsHooks hooks, QWidget* parent)
    : QWidget(parent), m_aids(aids), m_timeLapse(timeLapse), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("liveAidsPanel"));
    CreateControls();

    connect(m_header, &QToolButton::toggled, this, [this](bool open) {
        m_bodyScroll->setVisible(open);
        m_header->setArrowType(open ? Qt::DownArrow : Qt::LeftArrow);
        Place();
    });
    connect(m_peaking, &QCheckBox::toggled, this, [this](bool on) { m_aids.SetPeaking(on); });
    connect(m_peakColour, &QToolButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(
                QColor::fromRgb(m_aids.PeakColour()), this, tr("Focus peaking colour"));
        if (!chosen.isValid())
            return;
        m_aids.SetPeakColour(chosen.rgb() & 0x00FFFFFFu);
        m_peakColour->setIcon(Swatch(m_aids.PeakColour()));
    });
    connect(m_meter, &QCheckBox::toggled, this, [this](bool on) {
        m_aids.SetMeter(on);
        m_meterLabel->setText(on ? tr("Sharpness: measuring...") : QString());
        UpdateTimers();
    });
    connect(m_liveStack, &QCheckBox::toggled, this, [this](bool on) {
        if (m_hooks.setLiveStack)
            m_hooks.setLiveStack(on);
        m_stackReset->setEnabled(on);
        ShowNewStack();
        UpdateTimers();
    });
    connect(m_stackReset, &QPushButton::clicked, this, [this] {
        if (m_hooks.resetLiveStack)
            m_hooks.resetLiveStack();
        ShowNewStack();
    });
    connect(m_histogram, &QCheckBox::toggled, this, [this](bool on) {
        m_aids.SetHistogram(on);
        m_histogramView->setVisible(on);
        m_channel->setEnabled(on);
        if (!on) {
            m_histogramView->Clear();
            m_clipped->clear();
        }
        UpdateTimers();
    });
    connect(m_channel, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        m_shownSerial = 0;
        ShowReadings();
    });
    connect(m_end, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_count->setVisible(index == 0);
        m_stopTime->setVisible(index == 1);
    });
    connect(m_timeLapseButton, &QPushButton::clicked, this, &CLiveAidsPanel::OnTimeLapse);
    connect(m_recordButton, &QPushButton::clicked, this, &CLiveAidsPanel::OnRecord);
    connect(m_readingsTimer, &QTimer::timeout, this, &CLiveAidsPanel::ShowReadings);
    connect(m_recordingTimer, &QTimer::timeout, this, &CLiveAidsPanel::OnRecordingTick);

    connect(&m_timeLapse, &CTimeLapse::progress, this, [this](int taken, int seconds) {
        m_timeLapseLabel->setText(tr("Next picture in %1 s (%n taken)", "", taken).arg(seconds));
    });
    connect(&m_timeLapse, &CTimeLapse::stopped, this, [this](bool failed, const QString& text) {
        m_timeLapseButton->setText(tr("Start time-lapse"));
        m_timeLapseLabel->setText(text);
        if (failed)
            Message(text);
    });
}

void CLiveAidsPanel::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_header = new QToolButton(this);
    m_header->setObjectName(QStringLiteral("liveAidsHeader"));
    m_header->setText(tr("Live aids"));
    m_header->setCheckable(true);
    m_header->setArrowType(Qt::LeftArrow);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setAutoRaise(true);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(m_header);

    // A short window scrolls the aids rather than cutting them.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    m_bodyScroll = scroll;
    m_body = new QWidget(scroll);
    auto* body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(m_body);
    layout->addWidget(scroll);

    auto* focus = new QGroupBox(tr("Focus"), m_body);
    auto* focusLayout = new QVBoxLayout(focus);
    auto* peakRow = new QHBoxLayout;
    m_peaking = new QCheckBox(tr("Focus peaking"), focus);
    m_peaking->setToolTip(tr("Marks the sharpest edges of the live picture"));
    m_peakColour = new QToolButton(focus);
    m_peakColour->setToolTip(tr("Colour of the marks"));
    m_peakColour->setIcon(Swatch(m_aids.PeakColour()));
    peakRow->addWidget(m_peaking);
    peakRow->addStretch();
    peakRow->addWidget(m_peakColour);
    focusLayout->addLayout(peakRow);
    m_meter = new QCheckBox(tr("Sharpness meter"), focus);
    m_meter->setToolTip(tr("Turn the focus until the number peaks"));
    m_meterLabel = new QLabel(focus);
    m_meterLabel->setWordWrap(true);
    focusLayout->addWidget(m_meter);
    focusLayout->addWidget(m_meterLabel);
    auto* stackRow = new QHBoxLayout;
    m_liveStack = new QCheckBox(tr("Live stack"), focus);
    m_liveStack->setObjectName(QStringLiteral("liveStackCheck"));
    m_liveStack->setToolTip(tr("Turn the focus knob through the object: the picture keeps what "
                               "was sharpest at every point"));
    m_stackReset = new QPushButton(tr("Reset"), focus);
    m_stackReset->setObjectName(QStringLiteral("liveStackReset"));
    m_stackReset->setToolTip(tr("Starts the live stack again from the next frame"));
    m_stackReset->setEnabled(false);
    stackRow->addWidget(m_liveStack);
    stackRow->addStretch();
    stackRow->addWidget(m_stackReset);
    focusLayout->addLayout(stackRow);
    m_stackLabel = new QLabel(focus);
    m_stackLabel->setObjectName(QStringLiteral("liveStackLabel"));
    m_stackLabel->setWordWrap(true);
    focusLayout->addWidget(m_stackLabel);
    body->addWidget(focus);

    auto* histogram = new QGroupBox(tr("Histogram"), m_body);
    auto* histogramLayout = new QVBoxLayout(histogram);
    auto* histogramRow = new QHBoxLayout;
    m_histogram = new QCheckBox(tr("Show"), histogram);
    m_channel = new QComboBox(histogram);
    m_channel->addItems({ tr("Luminance"), tr("Red"), tr("Green"), tr("Blue") });
    m_channel->setEnabled(false);
    histogramRow->addWidget(m_histogram);
    histogramRow->addWidget(m_channel, 1);
    histogramLayout->addLayout(histogramRow);
    m_histogramView = new CHistogramView(histogram);
    m_histogramView->hide();
    histogramLayout->addWidget(m_histogramView);
    m_clipped = new QLabel(histogram);
    m_clipped->setWordWrap(true);
    histogramLayout->addWidget(m_clipped);
    body->addWidget(histogram);

    auto* lapse = new QGroupBox(tr("Time-lapse"), m_body);
    auto* lapseLayout = new QFormLayout(lapse);
    m_interval = new QSpinBox(lapse);
    m_interval->setRange(1, CTimeLapseSchedule::kMaxIntervalSeconds);
    m_interval->setValue(10);
    m_interval->setSuffix(tr(" s"));
    lapseLayout->addRow(tr("Every"), m_interval);
    m_end = new QComboBox(lapse);
    m_end->addItems({ tr("Number of pictures"), tr("Until") });
    lapseLayout->addRow(tr("End"), m_end);
    auto* endRow = new QHBoxLayout;
    m_count = new QSpinBox(lapse);
    m_count->setRange(1, 100000);
    m_count->setValue(10);
    m_stopTime = new QTimeEdit(QTime::currentTime().addSecs(3600), lapse);
    m_stopTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_stopTime->hide();
    endRow->addWidget(m_count);
    endRow->addWidget(m_stopTime);
    lapseLayout->addRow(QString(), endRow);
    m_timeLapseButton = new QPushButton(tr("Start time-lapse"), lapse);
    m_timeLapseLabel = new QLabel(lapse);
    m_timeLapseLabel->setWordWrap(true);
    lapseLayout->addRow(m_timeLapseButton);
    lapseLayout->addRow(m_timeLapseLabel);
    body->addWidget(lapse);

    auto* video = new QGroupBox(tr("Video"), m_body);
    auto* videoLayout = new QVBoxLayout(video);
    m_withDrawing = new QCheckBox(tr("With the drawing"), video);
    m_withDrawing->setToolTip(tr("Records the measurements and overlays with the picture"));
    m_recordButton = new QPushButton(tr("Record"), video);
    m_recordLabel = new QLabel(video);
    m_recordLabel->setWordWrap(true);
    videoLayout->addWidget(m_withDrawing);
    videoLayout->addWidget(m_recordButton);
    videoLayout->addWidget(m_recordLabel);
    body->addWidget(video);
    m_bodyScroll->hide();
    setAutoFillBackground(true);
    CWheelGuard::Guard(m_body);
    // A reading or a status that takes another line grows the panel with it.
    m_body->installEventFilter(this);

    m_readingsTimer = new QTimer(this);
    m_readingsTimer->setInterval(kReadingsMs);
    m_recordingTimer = new QTimer(this);
    m_recordingTimer->setInterval(kRecordingTickMs);
}

void CLiveAidsPanel::FloatOverParent()
{
    if (QWidget* host = parentWidget())
        host->installEventFilter(this);
    Place();
}

bool CLiveAidsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == parentWidget() && event->type() == QEvent::Resize)
            || (watched == m_body && event->type() == QEvent::LayoutRequest))
        Place();
    return QWidget::eventFilter(watched, event);
}

void CLiveAidsPanel::Place()
{
    QWidget* host = parentWidget();
    if (!host)
        return;
    constexpr int kMargin = 6;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (m_bodyWidth == 0) {
        // Wide enough for the controls and for a sharpness reading on one line.
        const QString reading = tr("Sharpness: %1 (highest %2)")
                                        .arg(QStringLiteral("8888.8"), QStringLiteral("8888.8"));
        m_bodyWidth = std::max({ m_body->sizeHint().width(), 228 - scrollBar,
                m_meterLabel->fontMetrics().horizontalAdvance(reading) + 30 });
    }
    const int width =
            m_header->isChecked() ? m_bodyWidth + scrollBar + 12 : m_header->sizeHint().width() + 8;
    const int bodyHeight = m_body->hasHeightForWidth() ? m_body->heightForWidth(m_bodyWidth)
                                                       : m_body->sizeHint().height();
    const int wanted =
            m_header->sizeHint().height() + 8 + (m_header->isChecked() ? bodyHeight + 4 : 0);
    const int height = std::max(
            m_header->sizeHint().height() + 8, std::min(wanted, host->height() - 2 * kMargin));
    setGeometry(std::max(0, host->width() - width - kMargin), kMargin, width, height);
    raise();
}

void CLiveAidsPanel::UpdateTimers()
{
    // Nothing to show: no timer wakes the program.
    if (m_aids.Meter() || m_aids.Histogram() || m_liveStack->isChecked())
        m_readingsTimer->start();
    else
        m_readingsTimer->stop();
}

void CLiveAidsPanel::TogglePeaking()
{
    m_peaking->toggle();
}

void CLiveAidsPanel::ToggleLiveStack()
{
    m_liveStack->toggle();
}

void CLiveAidsPanel::ShowNewStack()
{
    // Frames skipped from the stack before belong to it alone.
    m_shownSkipped = 0;
    m_mergedAtSkip = -1;
    ShowStack();
}

void CLiveAidsPanel::ShowStack()
{
    const std::optional<CLiveStackSource::CStatus> status =
            m_liveStack->isChecked() && m_hooks.liveStackStatus ? m_hooks.liveStackStatus()
                                                                : std::nullopt;
    if (!status) {
        m_stackLabel->clear();
        m_header->setText(tr("Live aids"));
        return;
    }
    QString text =
            status->merged == 1 ? tr("1 frame merged") : tr("%1 frames merged").arg(status->merged);
    // A frame left out is told of until the next one is merged.
    if (status->skipped > m_shownSkipped) {
        m_shownSkipped = status->skipped;
        m_mergedAtSkip = status->merged;
    }
    if (m_mergedAtSkip == status->merged)
        text += QLatin1Char('\n')
                + tr("Frame skipped: it does not line up with the stack (was "
                     "the stage moved? Reset starts again here)");
    m_stackLabel->setText(text);
    // Folded away, the header still tells that the picture is a stack.
    m_header->setText(tr("Live aids (stack: %1)").arg(status->merged));
}

void CLiveAidsPanel::ShowReadings()
{
    ShowStack();
    const CLiveReadings readings = m_aids.Readings();
    if (readings.serial == 0 || readings.serial == m_shownSerial)
        return;
    m_shownSerial = readings.serial;
    if (m_aids.Meter())
        m_meterLabel->setText(tr("Sharpness: %1 (highest %2)")
                                      .arg(readings.sharpness, 0, 'f', 1)
                                      .arg(readings.recentMax, 0, 'f', 1));
    if (m_aids.Histogram() && readings.hasHistogram) {
        const auto channel = static_cast<CLiveHistogram::Channel>(m_channel->currentIndex());
        m_histogramView->SetHistogram(readings.histogram, channel);
        m_clipped->setText(
                tr("Clipped: %1 dark, %2 bright")
                        .arg(Percent(readings.histogram.DarkClippedShare(channel)),
                                Percent(readings.histogram.BrightClippedShare(channel))));
    }
}

int64_t CLiveAidsPanel::NextOccurrenceMs(const QTime& time, const QDateTime& now)
{
    QDateTime at(now.date(), QTime(time.hour(), time.minute()));
    if (at <= now)
        at = at.addDays(1);
    return at.toMSecsSinceEpoch();
}

void CLiveAidsPanel::OnTimeLapse()
{
    if (m_timeLapse.Running()) {
        m_timeLapse.Stop();
        return;
    }
    CTimeLapseSchedule::CPlan plan;
    plan.intervalSeconds = m_interval->value();
    if (m_end->currentIndex() == 0)
        plan.count = m_count->value();
    else
        plan.stopAtMs = NextOccurrenceMs(m_stopTime->time(), QDateTime::currentDateTime());
    QString reason;
    // The first picture is taken at once, and may already end it.
    m_timeLapseButton->setText(tr("Stop time-lapse"));
    if (!m_timeLapse.Start(plan, &reason)) {
        m_timeLapseButton->setText(tr("Start time-lapse"));
        Message(reason);
    }
}

void CLiveAidsPanel::OnRecord()
{
    if (m_recording) {
        StopRecording(QString());
        return;
    }
    QString path;
    QString reason;
    if (!m_hooks.startRecording
            || !m_hooks.startRecording(m_withDrawing->isChecked(), path, reason)) {
        Message(tr("The recording could not be started.") + QStringLiteral("\n\n") + reason);
        return;
    }
    m_recording = true;
    m_recordingPath = path;
    m_recordingClock.start();
    m_withDrawing->setEnabled(false);
    m_recordButton->setText(tr("Stop recording"));
    m_recordLabel->setText(ElapsedText(0));
    m_recordingTimer->start();
}

void CLiveAidsPanel::OnRecordingTick()
{
    if (!m_recording)
        return;
    QString reason;
    if (m_hooks.recordingFailed && m_hooks.recordingFailed(reason)) {
        StopRecording(reason.isEmpty() ? tr("The video file could not be written.") : reason);
        return;
    }
    // A new capture size rebuilds the camera's graph, and its recording ends with it.
    if (m_hooks.recording && !m_hooks.recording()) {
        StopRecording(tr("The live video was rebuilt."));
        return;
    }
    m_recordLabel->setText(ElapsedText(m_recordingClock.elapsed()));
}

void CLiveAidsPanel::StopRecording(const QString& why)
{
    m_recording = false;
    m_finishing = true;
    m_recordingTimer->stop();
    m_recordButton->setText(tr("Record"));
    m_recordButton->setEnabled(false);
    m_recordLabel->setText(tr("Finishing the video file..."));
    const QString name = QFileInfo(m_recordingPath).fileName();
    const qint64 elapsed = m_recordingClock.elapsed();
    QPointer<CLiveAidsPanel> self(this);
    const auto finished = [self, why, name, elapsed](bool whole, const QString& reason) {
        if (!self)
            return;
        self->m_finishing = false;
        self->m_withDrawing->setEnabled(true);
        self->m_recordButton->setEnabled(self->m_live);
        if (why.isEmpty() && whole) {
            self->m_recordLabel->setText(tr("Saved %1 (%2)").arg(name, ElapsedText(elapsed)));
            return;
        }
        const QString shown = why.isEmpty() ? reason : why;
        self->m_recordLabel->setText(tr("Recording stopped"));
        self->Message(tr("The recording stopped: %1 may be incomplete.").arg(name)
                + (shown.isEmpty() ? QString() : QStringLiteral("\n\n") + shown));
    };
    if (m_hooks.stopRecording)
        m_hooks.stopRecording(finished);
    else
        finished(false, QString());
}

void CLiveAidsPanel::OnLiveStateChanged(bool live)
{
    // Pictures and video come from the live camera only.
    m_live = live;
    m_timeLapseButton->setEnabled(live);
    m_recordButton->setEnabled(live && !m_finishing);
    if (live)
        return;
    if (m_timeLapse.Running())
        m_timeLapse.Stop();
    if (m_recording)
        StopRecording(QString());
}

QString CLiveAidsPanel::ElapsedText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    const QString clock = seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                                    .arg(seconds / 3600)
                                                    .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                                    .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                          : QStringLiteral("%1:%2")
                                                    .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                                                    .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return tr("Elapsed %1").arg(clock);
}

void CLiveAidsPanel::Message(const QString& text)
{
    UserMessages().Error({ .text = text, .caption = tr("Live aids") });
}
