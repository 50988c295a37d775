#include "app/LiveAidsController.h"

#include "app/CommandTable.h"
#include "app/LiveAidsPanel.h"
#include "app/SnapshotSaver.h"
#include "app/TimeLapse.h"
#include "base/FrameLayout.h"
#include "base/GeneralSettings.h"
#include "base/SnapshotNamer.h"
#include "base/UserMessages.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "video/LiveAids.h"
#include "video/LiveStackSource.h"
#include "video/RecordingFeed.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>

#include <cmath>
#include <vector>

CLiveAidsController::CLiveAidsController(CContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_liveAids(std::make_unique<CLiveAids>()),
      m_recordingFeed(std::make_unique<CRecordingFeed>(m_context.graph))
{
    m_liveAids->Attach(m_context.pump);
    CLiveAids* aids = m_liveAids.get();
    CRecordingFeed* feed = m_recordingFeed.get();
    m_context.pump.SetFrameTap(
            [aids, feed](const uint8_t* frame, int width, int height, const CPumpState& state) {
                aids->OnFrame(frame, width, height, state);
                feed->OnFrame(frame, width, height);
            },
            [aids, feed] { return aids->WantsFrame() || feed->Active(); });

    m_timeLapse = new CTimeLapse(
            [this](QString& reason) { return TakeTimeLapsePicture(reason); }, {}, this);
    CLiveAidsHooks hooks;
    hooks.startRecording = [this](bool withDrawing, QString& path, QString& reason) {
        return StartRecording(withDrawing, path, reason);
    };
    hooks.stopRecording = [this](CLiveAidsHooks::Finished finished) {
        StopRecording(std::move(finished));
    };
    CTavoGraphDll* graph = &m_context.graph;
    hooks.recordingFailed = [graph](QString& reason) { return graph->RecordingFailed(&reason); };
    hooks.recording = [graph] { return graph->IsRecording(); };
    hooks.setLiveStack = m_context.setLiveStack;
    hooks.resetLiveStack = [this] {
        if (CLiveStackSource* stack = m_context.liveStack ? m_context.liveStack() : nullptr)
            stack->Reset();
    };
    hooks.liveStackStatus = [this]() -> std::optional<CLiveStackSource::CStatus> {
        if (CLiveStackSource* stack = m_context.liveStack ? m_context.liveStack() : nullptr)
            return stack->Status();
        return std::nullopt;
    };
    m_panel = new CLiveAidsPanel(*m_liveAids, *m_timeLapse, std::move(hooks), &m_context.videoHost);
    m_panel->FloatOverParent();
    m_panel->show();
    m_panel->OnLiveStateChanged(!m_context.still());

    m_context.commands.Bind(CCommandTable::FocusPeaking, [this] { m_panel->TogglePeaking(); });
    QWidget* peaking = m_panel->PeakingCheck();
    peaking->setToolTip(CCommandTable::WithKey(peaking->toolTip(), CCommandTable::FocusPeaking));
    m_context.commands.Bind(CCommandTable::LiveStack, [this] { m_panel->ToggleLiveStack(); });
    QWidget* stack = m_panel->LiveStackCheck();
    stack->setToolTip(CCommandTable::WithKey(stack->toolTip(), CCommandTable::LiveStack));
}

CLiveAidsController::~CLiveAidsController() = default;

void CLiveAidsController::OnLiveStateChanged(bool live)
{
    m_panel->OnLiveStateChanged(live);
}

QString CLiveAidsController::TakeTimeLapsePicture(QString& reason)
{
    if (m_context.still()) {
        reason = tr("Time-lapse needs the live video.");
        return {};
    }
    // One message for the whole time-lapse, from its end, instead of one box per picture.
    CKeptMessage kept(reason);
    const CUserMessagesScope scope(kept);
    return m_context.saver.Save();
}

bool CLiveAidsController::StartRecording(bool withDrawing, QString& path, QString& reason)
{
    if (m_context.still()) {
        reason = tr("Recording needs the live video.");
        return false;
    }
    CTavoGraphDll& graph = m_context.graph;
    QString folder = m_context.general.m_strImagePath;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!CSnapshotNamer::MakeFolder(folder, &reason))
        return false;
    path = CSnapshotNamer::JoinPath(folder,
            CSnapshotNamer().UniqueName(
                    folder, QLatin1Char('.') + CTavoGraphDll::RecordingSuffix()));
    float rate = 0.0f;
    const int framesPerSecond = graph.GetAvgFrameRate(&rate) >= 0 && rate >= 1.0f
            ? static_cast<int>(std::lround(rate))
            : 15;
    if (graph.StartRecording(path, withDrawing, framesPerSecond, &reason) < 0)
        return false;
    if (withDrawing) {
        // The drawing at 1:1, burnt in as a snapshot with "Measure" gets it.
        CShapeManager* manager = &m_context.canvas.Manager();
        m_recordingFeed->Start([manager, scratch = std::vector<uint8_t>()](
                                       uint8_t* frame, int width, int height) mutable {
            scratch.resize(FrameBytes(width, height));
            manager->RenderOnto(scratch.data(), width, height);
            CShapeManager::MergeRendered(frame, scratch.data(), width, height);
        });
    }
    return true;
}

void CLiveAidsController::StopRecording(
        std::function<void(bool finished, const QString& reason)> finished)
{
    m_recordingFeed->Stop();
    // Going to still takes the graph down, which already finished a camera recording.
    if (!m_context.graph.IsRecording()) {
        finished(true, QString());
        return;
    }
    // The end of stream can take seconds on a loaded machine: the window goes on meanwhile.
    QPointer<CLiveAidsController> self(this);
    const auto done = [self, finished](int32_t status, const QString& reason) {
        QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, finished, status, reason] {
                    if (!self)
                        return;
                    finished(status >= 0,
                            status >= 0 || !reason.isEmpty()
                                    ? reason
                                    : tr("The video file could not be finished."));
                },
                Qt::QueuedConnection);
    };
    if (m_context.graph.StopRecordingLater(done) < 0)
        finished(false, tr("The video file could not be finished."));
}
