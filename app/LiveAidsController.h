#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CCommandTable;
class CFramePump;
class CLiveAids;
class CLiveAidsPanel;
class CLiveStackSource;
class CMeasureCanvas;
class CRecordingFeed;
class CSnapshotSaver;
class CTavoGraphDll;
class CTimeLapse;
struct CGeneralSettings;
class QWidget;

// The live aids under the side panel: peaking, the sharpness meter and the histogram on the
// pump's frames, the live stack's switch and count, time-lapse through the snapshot saver, and
// video through the capture object. Its aids and feed are used on the pump's thread: the pump must
// stop before this goes.
class CLiveAidsController : public QObject
{
    Q_OBJECT
public:
    struct CContext
    {
        CTavoGraphDll& graph;
        CGeneralSettings& general;
        CFramePump& pump;
        CMeasureCanvas& canvas;
        QWidget& videoHost;
        CSnapshotSaver& saver;
        CCommandTable& commands;
        std::function<bool()> still;
        // The live stack between the camera and the pump: switched, and null while off.
        std::function<void(bool on)> setLiveStack;
        std::function<CLiveStackSource*()> liveStack;
    };

    explicit CLiveAidsController(CContext context, QObject* parent = nullptr);
    ~CLiveAidsController() override;

    CLiveAids& LiveAids() const { return *m_liveAids; }
    CLiveAidsPanel* Panel() const { return m_panel; }
    const CRecordingFeed* RecordingFeed() const { return m_recordingFeed.get(); }
    void OnLiveStateChanged(bool live);

private:
    QString TakeTimeLapsePicture(QString& reason);
    bool StartRecording(bool withDrawing, QString& path, QString& reason);
    // Ends the file off the window's thread; finished runs on the window's thread afterwards.
    void StopRecording(std::function<void(bool finished, const QString& reason)> finished);

    CContext m_context;
    std::unique_ptr<CLiveAids> m_liveAids;
    std::unique_ptr<CRecordingFeed> m_recordingFeed;
    CTimeLapse* m_timeLapse = nullptr;
    CLiveAidsPanel* m_panel = nullptr;
};
