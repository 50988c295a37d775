// The main window's live aids: peaking and the meter and histogram on the pump's frames,
// time-lapse through the snapshot saver, and video through the capture object.
#include "app/TavoMeasureDlg.h"

#include "app/LiveAidsPanel.h"
#include "app/CommandTable.h"
#include "app/SnapshotSaver.h"
#include "app/TimeLapse.h"
#include "base/FrameLayout.h"
#include "base/SnapshotNamer.h"
#include "base/UserMessages.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "video/LiveAids.h"
#include "video/RecordingFeed.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QPointer>

#include <cmath>
#include <vector>

void CTavoMeasureDlg::CreateLiveAids()
{
    m_liveAids = std::make_unique<CLiveAids>();
    m_recordingFeed = std::make_unique<CRecordingFeed>(*m_graph);
    m_liveAids->Attach(*m_pump);
    CLiveAids* aids = m_liveAids.get();
    CRecordingFeed* feed = m_recordingFeed.get();
    m_pump->SetFrameTap(
            [aids, feed](const uint8_t* frame, int width, int height, const CPumpState& state) {
                aids->OnFrame(frame, width, height, state);
                feed->OnFrame(frame, width, height);
            });

    m_timeLapse = new CTimeLapse(
            [this](QString& reason) { return TakeTimeLapsePicture(reason); }, {}, this);
    CLiveAidsHooks hooks;
    hooks.startRecording = [this](bool withDrawing, QString& path, QString& reason) {
        return StartRecording(withDrawing, path, reason);
    };
    hooks.stopRecording = [this](CLiveAidsHooks::Finished finished) {
        StopRecording(std::move(finished));
    };
    hooks.recordingFailed = [this](QString& reason) { return m_graph->RecordingFailed(&reason); };
    hooks.recording = [this] { return m_graph->IsRecording(); };
    m_liveAidsPanel = new CLiveAidsPanel(*m_liveAids, *m_timeLapse, std::move(hooks), m_videoHost);
    m_liveAidsPanel->FloatOverParent();
    m_liveAidsPanel->show();
    connect(this, &CTavoMeasureDlg::liveStateChanged, m_liveAidsPanel,
            [this](bool live, StillEntry) { m_liveAidsPanel->OnLiveStateChanged(live); });
    m_liveAidsPanel->OnLiveStateChanged(!m_bStill);

    m_commands->Bind(CCommandTable::FocusPeaking, [this] { m_liveAidsPanel->TogglePeaking(); });
    QWidget* peaking = m_liveAidsPanel->PeakingCheck();
    peaking->setToolTip(CCommandTable::WithKey(peaking->toolTip(), CCommandTable::FocusPeaking));
}

QString CTavoMeasureDlg::TakeTimeLapsePicture(QString& reason)
{
    if (m_bStill) {
        reason = tr("Time-lapse needs the live video.");
        return {};
    }
    // One message for the whole time-lapse, from its end, instead of one box per picture.
    CKeptMessage kept(reason);
    const CUserMessagesScope scope(kept);
    return m_saver->Save();
}

bool CTavoMeasureDlg::StartRecording(bool withDrawing, QString& path, QString& reason)
{
    if (m_bStill) {
        reason = tr("Recording needs the live video.");
        return false;
    }
    QString folder = m_general.m_strImagePath;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!CSnapshotNamer::MakeFolder(folder, &reason))
        return false;
    path = CSnapshotNamer::JoinPath(folder,
            CSnapshotNamer().UniqueName(
                    folder, QLatin1Char('.') + CTavoGraphDll::RecordingSuffix()));
    float rate = 0.0f;
    const int framesPerSecond = m_graph->GetAvgFrameRate(&rate) >= 0 && rate >= 1.0f
            ? static_cast<int>(std::lround(rate))
            : 15;
    if (m_graph->StartRecording(path, withDrawing, framesPerSecond, &reason) < 0)
        return false;
    if (withDrawing) {
        // The drawing at 1:1, burnt in as a snapshot with "Measure" gets it.
        CShapeManager* manager = &m_canvas->Manager();
        m_recordingFeed->Start([manager, scratch = std::vector<uint8_t>()](
                                       uint8_t* frame, int width, int height) mutable {
            scratch.resize(FrameBytes(width, height));
            manager->RenderOnto(scratch.data(), width, height);
            CShapeManager::MergeRendered(frame, scratch.data(), width, height);
        });
    }
    return true;
}

void CTavoMeasureDlg::StopRecording(
        std::function<void(bool finished, const QString& reason)> finished)
{
    m_recordingFeed->Stop();
    // Going to still takes the graph down, which already finished a camera recording.
    if (!m_graph->IsRecording()) {
        finished(true, QString());
        return;
    }
    // The end of stream can take seconds on a loaded machine: the window goes on meanwhile.
    QPointer<CTavoMeasureDlg> self(this);
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
    if (m_graph->StopRecordingLater(done) < 0)
        finished(false, tr("The video file could not be finished."));
}
