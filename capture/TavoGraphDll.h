#pragma once

#include "capture/CaptureStatus.h"
#include "capture/HeldFrame.h"
#include "capture/TavoCapExport.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QListWidget;
class QPaintDevice;
class QWidget;
class CCameraControls;
class CCaptureDeviceSource;
struct CResolutionEntry;
struct CDeviceChange;

/** @brief Picture properties, numbered as the original library's video processing amplifier. */
enum VIDEOPROPERTY {
    VideoProperty_Brightness = 0,
    VideoProperty_Contrast = 1,
    VideoProperty_Hue = 2,
    VideoProperty_Saturation = 3,
    VideoProperty_Sharpness = 4,
    VideoProperty_Gamma = 5,
    VideoProperty_ColorEnable = 6,
    VideoProperty_WhiteBalance = 7,
    VideoProperty_BacklightCompensation = 8,
    VideoProperty_Gain = 9,
};

/** @brief Camera properties, numbered as the original library's camera control. */
enum CAMERACONTROL {
    CameraControl_Pan = 0,
    CameraControl_Tilt = 1,
    CameraControl_Roll = 2,
    CameraControl_Zoom = 3,
    CameraControl_Exposure = 4,
    CameraControl_Iris = 5,
    CameraControl_Focus = 6,
};

/** @brief 0 mirrors horizontally; any other value flips vertically. */
enum FLIPTYPE {
    FlipType_Horizontal = 0,
    FlipType_Vertical = 1,
};

/** @brief Which frame the grabber held: a sequence number that grows with every frame and is
 * never repeated in the process (0: no frame), and when the frame arrived, in nanoseconds of
 * the monotonic clock (std::chrono::steady_clock). */
struct TavoFrameStamp
{
    uint64_t sequence = 0;
    int64_t arrivalNs = 0;
};

/** @brief Property flag: the device controls the value itself. */
inline constexpr int32_t TAVO_PROPERTY_FLAG_AUTO = 1;
/** @brief Property flag: the value is set by hand. */
inline constexpr int32_t TAVO_PROPERTY_FLAG_MANUAL = 2;

/**
 * @brief The camera graph of TavoCap: one camera, a GStreamer pipeline ending in a grabber
 * that keeps the newest frame, and the camera's controls.
 *
 * Every operation returns a status of TavoStatus (negative is failure) and throws nothing.
 * All operations but CaptureToBuf() belong to one thread at a time; CaptureToBuf() may run on
 * any number of other threads and never sees a grabber that is being released.
 */
class TAVOCAP_EXPORT CTavoGraphDll
{
public:
    /** @brief Kept for callers written against the first interface. */
    static constexpr int32_t kFail = TavoStatus::Fail;

    /** @brief Shows or records one error message: caption and text. */
    using ErrorSink = std::function<void(const QString& caption, const QString& text)>;

    CTavoGraphDll();
    /** @brief Performs ClearGraph(). */
    virtual ~CTavoGraphDll();

    CTavoGraphDll(const CTavoGraphDll&) = delete;
    CTavoGraphDll& operator=(const CTavoGraphDll&) = delete;

    /** @brief Replaces the device list (tests hand in a fake one); takes effect at the next
     * enumeration. */
    void SetDeviceSource(std::shared_ptr<CCaptureDeviceSource> source);
    /** @brief Replaces where Error() sends its messages; an empty sink restores the message
     * box. */
    void SetErrorSink(ErrorSink sink);

    // Lifetime and graph control.

    /** @brief Prepares the graph; "Could not create filter graph" when GStreamer cannot start. */
    int32_t InitGraph();
    /** @brief Builds the pipeline on the selected camera at the requested size and runs it. */
    int32_t MakeGraph();
    /** @brief Plays the pipeline, waiting up to 1000 ms; Pending while still changing. */
    int32_t Run();
    /** @brief Pauses the pipeline; frame copies are refused until Run(). */
    int32_t Pause();
    /** @brief Stops the pipeline; frame copies are refused until Run(). */
    int32_t Stop();
    /** @brief Releases the pipeline and the grabber; the camera stays selected. Always Ok. */
    int32_t TearDownGraph();
    /** @brief Stops and releases everything, camera included. */
    int32_t ClearGraph();
    /** @brief Rebuilds the graph at a new requested size; Pointer without a camera. */
    int32_t ChangeVideoSize(int32_t width, int32_t height);
    /** @brief Stores the requested size for the next MakeGraph(). */
    int32_t SetCaptureSize(int width, int height);
    /** @brief The requested size (not necessarily the delivered one: trust the size query). */
    int32_t GetCaptureSize(int& width, int& height) const;
    /** @brief True while a camera is selected. */
    bool HasCamera() const;
    /** @brief Shows @p text with the caption "Error!" through the error sink. */
    void Error(const QString& text) const;

    // Frame access.

    /**
     * @brief Copies the newest frame: 24-bit BGR, rows bottom-up, each row padded to 4 bytes.
     *
     * With a null @p buffer only writes the frame's byte count to @p byteCount. Otherwise
     * @p byteCount is the buffer's capacity on entry and the bytes copied on return.
     * Pointer without camera or grabber, AccessDenied while not running, WrongState before the
     * first frame, OutOfMemory when the buffer is too small.
     */
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer);
    /** @brief CaptureToBuf() that also fills @p stamp (when not null) with the stamp of the
     * frame copied. */
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer, TavoFrameStamp* stamp);
    /**
     * @brief The stamp of the newest frame, without copying it: a caller that keeps the
     * sequence of the frame it copied last copies only frames it has not seen yet.
     *
     * Pointer without camera, grabber or @p stamp; WrongState before the first frame. A paused
     * graph keeps the stamp of its last frame.
     */
    int32_t GetNewestFrameStamp(TavoFrameStamp* stamp) const;
    /**
     * @brief Lends the newest frame as the graph holds it, without a copy (see TavoHeldFrame);
     * any thread, like CaptureToBuf(), with its statuses.
     */
    int32_t HoldNewestFrame(TavoHeldFrame* frame) const;
    /**
     * @brief Calls @p listener on a streaming thread each time a new frame becomes the newest
     * (GetNewestFrameStamp() already tells it), for every graph built until it is removed.
     *
     * A listener must return quickly and must not call the graph's controlling operations;
     * frame copies are fine. Any thread. Returns the listener's id.
     */
    int AddFrameListener(std::function<void()> listener);
    /** @brief Once this returns the listener is not running and is never called again. */
    void RemoveFrameListener(int id);
    /** @brief Not supported; always Pointer. */
    int32_t CaptureToBuf(void* bitmapInfoHeader, uint8_t** buffer);
    /** @brief Writes the newest frame as a BMP file with pixel data at offset 58. */
    int32_t CaptureOneFrame(const QString& path);

    // Video window: the graph has none.

    /** @brief Only stores the window; Ok. */
    int32_t SetParentWindow(QWidget* window);
    /** @brief Fail. */
    int32_t MoveVideoWindow(int left, int top, int width, int height);
    /** @brief Fail. */
    int32_t ResizeVideoWindow(int width, int height);
    /** @brief Null: nothing to paint on. */
    QPaintDevice* RepaintVideoWindow();
    /** @brief Fail. */
    int32_t ReadyForPaint();
    /** @brief Fail. */
    int32_t EndForPaint();
    /** @brief Fail. */
    int32_t SetAlphaBitmap(QPaintDevice* device);
    /** @brief Ok: there is no mixing renderer to hand the bitmap to. */
    int32_t SetAlphaBitmapToVMR(QPaintDevice* device, const QRect& source);

    // Devices and sizes.

    /** @brief Selects the camera named @p name (blanks around it ignored, letter case kept),
     * else the first camera; Pending when there is no camera at all. A requested size the
     * camera does not offer becomes the nearest one it offers (its first without a request). */
    int32_t SpecifyCapDevice(const QString& name);
    /** @brief The selected camera's friendly name (empty without one). */
    int32_t GetCurCapDeviceName(QString& name) const;
    /** @brief Reads the device list: the camera names in its order (at most 256, nameless
     * ones left out), and tells the user nothing. None when there is no camera or no list;
     * @p error (when not null) then says why in the user's words, and stays empty when
     * cameras were found but none has a name. */
    std::vector<QString> GetVideoDeviceNames(QString* error = nullptr);
    /** @brief Adds GetVideoDeviceNames() to @p list (none with a null list); Fail when there is
     * none, its error shown through Error(). */
    int32_t InitVideoDevsCombo(QListWidget* list);
    /** @brief The selected camera's "Resolution" list, in place of what @p entries held: each
     * size in its fastest format with one entry per rate; an entry's Label() is its text
     * ("1920 X 1080  MJPG 30 fps"), its Key() the format key ("MJPG 30/1"). None without a
     * camera. @p chosen (when not null) is the entry of the requested size in the requested
     * format and rate, else the size's first entry, -1 when the size is not listed. Ok. */
    int32_t GetVideoSizeEntries(std::vector<CResolutionEntry>& entries, int* chosen = nullptr);
    /** @brief Adds GetVideoSizeEntries() to @p combo, each entry's data its format key, and
     * selects the chosen entry. The combo box is not cleared first; Pointer without one. */
    int32_t InitVideoSizeCombo(QComboBox* combo);
    /** @brief The format and rate the next MakeGraph() asks for when the camera offers them at
     * the requested size (subtype "MJPG", rate "30/1"); empty texts: the fastest. */
    int32_t SetCaptureFormat(const QString& subtype, const QString& rate);
    /** @brief The format and rate taken at the requested size on the selected camera (what
     * MakeGraph() asks for); the requested ones without a camera. */
    int32_t GetCaptureFormat(QString& subtype, QString& rate) const;
    /** @brief The selected camera's node ("/dev/video0"; empty for a pattern or none). */
    int32_t GetCurCapDevicePath(QString& path) const;
    /** @brief What identifies the selected camera across replugs and restarts. */
    int32_t GetCurCapDeviceIdentity(QString& identity) const;
    /** @brief Why the camera named @p name cannot be opened now, in the user's words; empty
     * when it can. */
    QString CapDeviceProblem(const QString& name);
    /** @brief The selected camera's control set; null without a camera or controls. Valid until
     * the next device selection or ClearGraph(). */
    CCameraControls* CameraControls() const;

    // Cameras that come and go.

    /** @brief Starts the device monitor; false when the device list cannot report changes. */
    bool WatchDevices();
    /** @brief Moves the cameras added and removed since the last call into @p changes. */
    int32_t TakeDeviceChanges(QList<CDeviceChange>& changes);
    /** @brief What the camera's pipeline reported when it failed; empty while it runs well. */
    QString GraphError() const;
    /** @brief The identities of the cameras that could be opened now, without messages. */
    QStringList AvailableDeviceIdentities();
    /** @brief True when the selected camera is gone: its node vanished or its pipeline
     * reported an error. */
    bool IsDeviceLost();

    // Picture and camera controls (Fail without a camera or with a null out pointer).

    int32_t GetRange(VIDEOPROPERTY property, int32_t* minimum, int32_t* maximum,
            int32_t* defaultValue, int32_t* unused);
    int32_t SetVideoProperty(VIDEOPROPERTY property, int32_t value, int32_t flags);
    int32_t GetVideoProperty(VIDEOPROPERTY property, int32_t* value, int32_t* flags);
    int32_t GetCameraControlRange(
            CAMERACONTROL control, int32_t* minimum, int32_t* maximum, int32_t* defaultValue);
    /** @brief Sets the value by hand (the device's automatic mode is switched off). */
    int32_t SetCameraControl(CAMERACONTROL control, int32_t value);
    int32_t GetCameraControl(CAMERACONTROL control, int32_t* value);
    /** @brief Pointer without a camera, NoInterface when the device cannot flip. */
    int32_t SetFlip(FLIPTYPE type, bool on);
    int32_t GetFlip(FLIPTYPE type, int* on);

    // Frame statistics of the running graph (NoInterface without one; out value untouched).

    /** @brief Average frames per second since the graph was built, to 0.01. */
    int32_t GetAvgFrameRate(float* framesPerSecond);
    /** @brief Frames delivered to the grabber since the graph was built. */
    int32_t GetNumNotDropped(int32_t* frames);

    // Video recording.

    /**
     * @brief Starts writing a video file at @p path (suffix: RecordingSuffix()).
     *
     * With @p ownFrames false the camera's own frames go to the file through a branch of the
     * running graph; Pointer without one. With @p ownFrames true the file takes the frames
     * handed to PushRecordingFrame(), at the nominal @p framesPerSecond. Fail while a
     * recording runs or when the encoder or the file cannot be made; @p reason (when not null)
     * then says why.
     */
    int32_t StartRecording(const QString& path, bool ownFrames, int framesPerSecond = 15,
            QString* reason = nullptr);
    /** @brief One frame in the CaptureToBuf() layout for a recording of own frames; any thread.
     * Fail when no such recording runs, the size differs from its first frame or it failed. */
    int32_t PushRecordingFrame(const uint8_t* frame, int width, int height);
    /** @brief Finishes the file. Fail when it could not be finished, no picture reached it or
     * nothing was recording; @p reason then says why when it is known. */
    int32_t StopRecording(QString* reason = nullptr);
    /** @brief What StopRecording() answers, given later: status and reason. */
    using RecordingDone = std::function<void(int32_t status, const QString& reason)>;
    /** @brief StopRecording() on a thread of its own: returns at once, Fail when nothing was
     * recording; @p done then runs on that thread once the file is finished. The live picture
     * goes on meanwhile; a graph torn down waits for the file first. */
    int32_t StopRecordingLater(RecordingDone done);
    bool IsRecording() const;
    /** @brief True when the running recording failed while writing (a full disk); @p reason
     * (when not null) says why. The caller stops it. */
    bool RecordingFailed(QString* reason = nullptr) const;
    /** @brief "mp4" where the H.264 encoder is installed, else "webm". */
    static QString RecordingSuffix();

    // Property pages (user-interface thread).

    /** @brief Runs the camera's control pages modally; always Fail, as callers expect. */
    int32_t ShowVideoPropertyPages(QWidget* owner);
    /** @brief Switches to camera @p name when it differs, runs its format page modally and
     * adopts the chosen format as the requested size. */
    int32_t ShowCapPinPropertyPage(const QString& name, QWidget* owner);

private:
    class Impl;
    std::unique_ptr<Impl> d;
};
