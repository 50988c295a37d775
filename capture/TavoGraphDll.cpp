#include "capture/TavoGraphDll.h"

#include "capture/CaptureDeviceSource.h"
#include "capture/CaptureGraph.h"
#include "capture/CaptureTrace.h"
#include "capture/ControlPage.h"
#include "capture/FormatPage.h"
#include "capture/FrameListeners.h"
#include "capture/PropertyForm.h"
#include "capture/ResolutionList.h"
#include "capture/VideoRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QtEndian>

#include <gst/gst.h>
#include <linux/videodev2.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxDevices = 256;
constexpr int kBmpHeaderBytes = 58;

// "Cap Property": the title names the capture source as the graph calls it; both words are
// the user's language.
QString PropertyTitle()
{
    return QCoreApplication::translate("CTavoGraphDll", "%1 Property")
            .arg(QCoreApplication::translate("CTavoGraphDll", "Cap"));
}

uint32_t VideoPropertyControl(VIDEOPROPERTY property)
{
    switch (property) {
    case VideoProperty_Brightness:
        return V4L2_CID_BRIGHTNESS;
    case VideoProperty_Contrast:
        return V4L2_CID_CONTRAST;
    case VideoProperty_Hue:
        return V4L2_CID_HUE;
    case VideoProperty_Saturation:
        return V4L2_CID_SATURATION;
    case VideoProperty_Sharpness:
        return V4L2_CID_SHARPNESS;
    case VideoProperty_Gamma:
        return V4L2_CID_GAMMA;
    case VideoProperty_WhiteBalance:
        return V4L2_CID_WHITE_BALANCE_TEMPERATURE;
    case VideoProperty_BacklightCompensation:
        return V4L2_CID_BACKLIGHT_COMPENSATION;
    case VideoProperty_Gain:
        return V4L2_CID_GAIN;
    case VideoProperty_ColorEnable: // V4L2 has no colour switch of this kind
        break;
    }
    return 0;
}

// The automatic mode that owns a picture property's value, where V4L2 has one.
uint32_t VideoPropertyAutoControl(VIDEOPROPERTY property)
{
    switch (property) {
    case VideoProperty_Hue:
        return V4L2_CID_HUE_AUTO;
    case VideoProperty_WhiteBalance:
        return V4L2_CID_AUTO_WHITE_BALANCE;
    case VideoProperty_Gain:
        return V4L2_CID_AUTOGAIN;
    default:
        return 0;
    }
}

uint32_t CameraControlId(CAMERACONTROL control)
{
    switch (control) {
    case CameraControl_Pan:
        return V4L2_CID_PAN_ABSOLUTE;
    case CameraControl_Tilt:
        return V4L2_CID_TILT_ABSOLUTE;
    case CameraControl_Zoom:
        return V4L2_CID_ZOOM_ABSOLUTE;
    case CameraControl_Exposure:
        return V4L2_CID_EXPOSURE_ABSOLUTE;
    case CameraControl_Iris:
        return V4L2_CID_IRIS_ABSOLUTE;
    case CameraControl_Focus:
        return V4L2_CID_FOCUS_ABSOLUTE;
    case CameraControl_Roll: // no absolute roll control in V4L2
        break;
    }
    return 0;
}

} // namespace

class CTavoGraphDll::Impl
{
public:
    // Graph state, touched by the controlling thread only.
    bool initialised = false;
    std::shared_ptr<CCaptureDeviceSource> source;
    ErrorSink errorSink;
    QList<CCaptureDevice> devices;
    std::optional<CCaptureDevice> device;
    std::unique_ptr<CCameraControls> controls;
    QString deviceName;
    int pinFormat = -1;
    QList<CCaptureFormat> sizes;
    int requestedWidth = 0;
    int requestedHeight = 0;
    QString requestedSubtype; // empty: the fastest at the requested size
    CFrameRate requestedRate; // invalid: the format's fastest
    QPointer<QWidget> parentWindow;

    // Shared with CaptureToBuf: replaced only under the exclusive lock.
    mutable std::shared_mutex grabberMutex;
    std::unique_ptr<CCaptureGraph> graph;
    std::atomic<bool> hasCamera { false };
    std::atomic<bool> running { false };
    // Handed to every graph built, so a listener outlives rebuilds.
    std::shared_ptr<CFrameListeners> frameListeners = std::make_shared<CFrameListeners>();

    // A recording of frames the program hands in, from any thread.
    mutable std::mutex frameRecorderMutex;
    std::unique_ptr<CVideoRecorder> frameRecorder;
    CRecordingFinisher frameFinisher;

    CCaptureDeviceSource& Source()
    {
        if (!source)
            source = CCaptureDeviceSource::CreateDefault();
        return *source;
    }

    void ReleaseGraph()
    {
        std::unique_ptr<CCaptureGraph> old;
        {
            std::unique_lock lock(grabberMutex);
            old = std::move(graph);
        }
        running = false;
        // Stopping the pipeline waits for its streaming thread; no frame copy waits on that.
        old.reset();
    }

    void ReleaseCamera()
    {
        ReleaseGraph();
        {
            std::unique_lock lock(grabberMutex);
            hasCamera = false;
        }
        device.reset();
        controls.reset();
        pinFormat = -1;
    }

    bool Bind(const CCaptureDevice& candidate)
    {
        // A camera unplugged since the enumeration cannot be opened.
        if (!Source().IsAvailable(candidate))
            return false;
        controls = Source().OpenControls(candidate);
        device = candidate;
        deviceName = candidate.name;
        pinFormat = -1;
        std::unique_lock lock(grabberMutex);
        hasCamera = true;
        return true;
    }

    // Reads the device list; Pending when there is no camera category at all.
    int32_t Enumerate()
    {
        QList<CCaptureDevice> found;
        if (Source().Enumerate(found) != CCaptureDeviceSource::EResult::Ok)
            return TavoStatus::Pending;
        devices = found.mid(0, kMaxDevices);
        return TavoStatus::Ok;
    }

    int32_t ChooseCapDevice(const QString& name)
    {
        if (Enumerate() != TavoStatus::Ok)
            return TavoStatus::Pending;
        const QString wanted = name.trimmed();
        for (const CCaptureDevice& candidate : std::as_const(devices)) {
            qCDebug(lcCaptureTrace) << "device" << candidate.name << "asked for" << name;
            if (candidate.name.trimmed() == wanted && Bind(candidate)) {
                qCDebug(lcCaptureTrace) << "chose device" << deviceName;
                return TavoStatus::Ok;
            }
        }
        return TavoStatus::Fail;
    }

    int32_t DefaultCapDevice()
    {
        if (Enumerate() != TavoStatus::Ok)
            return TavoStatus::Pending;
        for (const CCaptureDevice& candidate : std::as_const(devices)) {
            if (Bind(candidate)) {
                qCDebug(lcCaptureTrace) << "Start use default device...." << deviceName;
                return TavoStatus::Ok;
            }
        }
        return TavoStatus::Fail;
    }

    int32_t GetAllAvailSize()
    {
        // A camera released or lost leaves no sizes behind for the next one to list.
        sizes.clear();
        if (!device)
            return TavoStatus::Pointer;
        qCDebug(lcCaptureTrace) << "GetAllAvailSize";
        qCDebug(lcCaptureTrace).noquote()
                << QString::asprintf("cap num:%d", int(device->formats.size()));
        for (const CCaptureFormat& format : std::as_const(device->formats))
            sizes.append({ format.width, qAbs(format.height), format.subtype, format.frameRates });
        return TavoStatus::Ok;
    }

    static bool Matches(const CCaptureFormat& format, int width, int height)
    {
        return format.width == width && (format.height == height || -format.height == height);
    }

    // The format MakeGraph asks for: the requested format when the camera has it at the
    // requested size, else the page's choice when it has that size, else the fastest of that
    // size, else none (the camera keeps its own).
    const CCaptureFormat* ChooseFormat() const
    {
        const QList<CCaptureFormat>& formats = device->formats;
        const int requested =
                CResolutionList::Choose(formats, requestedWidth, requestedHeight, requestedSubtype);
        if (requested >= 0 && formats[requested].subtype == requestedSubtype)
            return &formats[requested];
        if (pinFormat >= 0 && pinFormat < formats.size()
                && Matches(formats[pinFormat], requestedWidth, requestedHeight))
            return &formats[pinFormat];
        if (requested >= 0)
            return &formats[requested];
        if (device->currentFormat >= 0 && device->currentFormat < formats.size())
            return &formats[device->currentFormat];
        return nullptr;
    }

    // The requested rate when the format offers it, else its fastest.
    CFrameRate ChooseRate(const CCaptureFormat& format) const
    {
        if (format.frameRates.contains(requestedRate))
            return requestedRate;
        return CResolutionList::FastestRate(format);
    }

    int CurrentPinFormat() const
    {
        const QList<CCaptureFormat>& formats = device->formats;
        if (pinFormat >= 0 && pinFormat < formats.size())
            return pinFormat;
        const CCaptureFormat* chosen = ChooseFormat();
        return chosen ? static_cast<int>(chosen - formats.constData()) : 0;
    }

    // Value, range and switch work shared by the control operations.
    int32_t ControlStatus(uint32_t id, CCameraControlInfo* info = nullptr)
    {
        if (!hasCamera)
            return TavoStatus::Fail;
        CCameraControlInfo scratch;
        if (!controls || id == 0 || !controls->Query(id, info ? *info : scratch))
            return TavoStatus::NoInterface;
        return TavoStatus::Ok;
    }

    bool HasControl(uint32_t id)
    {
        CCameraControlInfo info;
        return controls && id != 0 && controls->Query(id, info);
    }
};

CTavoGraphDll::CTavoGraphDll() : d(std::make_unique<Impl>()) { }

CTavoGraphDll::~CTavoGraphDll()
{
    ClearGraph();
}

void CTavoGraphDll::SetDeviceSource(std::shared_ptr<CCaptureDeviceSource> source)
{
    d->source = std::move(source);
}

void CTavoGraphDll::SetErrorSink(ErrorSink sink)
{
    d->errorSink = std::move(sink);
}

void CTavoGraphDll::Error(const QString& text) const
{
    const QString caption = QCoreApplication::translate("CTavoGraphDll", "Error!");
    if (d->errorSink) {
        d->errorSink(caption, text);
        return;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s: %s", qPrintable(caption), qPrintable(text));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

// Lifetime and graph control.

int32_t CTavoGraphDll::InitGraph()
{
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        qCDebug(lcCaptureTrace) << "gst_init:" << (error ? error->message : "");
        g_clear_error(&error);
        Error(QCoreApplication::translate("CTavoGraphDll", "Could not create filter graph"));
        return TavoStatus::Fail;
    }
    d->initialised = true;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::MakeGraph()
{
    if (!d->initialised)
        return TavoStatus::Fail;
    if (!d->device)
        return TavoStatus::Pointer;
    // A second build on a live graph would leave the first streaming: rebuild instead.
    if (d->graph)
        TearDownGraph();
    int32_t status = TavoStatus::Fail;
    QString message;
    std::optional<CCaptureFormat> format;
    if (const CCaptureFormat* chosen = d->ChooseFormat()) {
        format = *chosen;
        const CFrameRate rate = d->ChooseRate(*chosen);
        format->frameRates.clear();
        if (rate.IsValid())
            format->frameRates.append(rate);
    }
    std::unique_ptr<CCaptureGraph> graph =
            CCaptureGraph::Create(*d->device, format ? &*format : nullptr, status, message);
    if (!graph) {
        Error(message);
        return status;
    }
    graph->SetFrameListeners(d->frameListeners);
    {
        std::unique_lock lock(d->grabberMutex);
        d->graph = std::move(graph);
    }
    return Run();
}

int CTavoGraphDll::AddFrameListener(std::function<void()> listener)
{
    return d->frameListeners->Add(std::move(listener));
}

void CTavoGraphDll::RemoveFrameListener(int id)
{
    d->frameListeners->Remove(id);
}

int32_t CTavoGraphDll::Run()
{
    if (!d->initialised || !d->graph)
        return TavoStatus::Fail;
    const int32_t status = d->graph->Run();
    if (status >= 0)
        d->running = true;
    return status;
}

int32_t CTavoGraphDll::Pause()
{
    if (!d->initialised || !d->graph)
        return TavoStatus::Fail;
    d->running = false;
    // A paused pipeline carries no end of stream: a recording is finished while it still flows.
    d->graph->StopRecording();
    return d->graph->Pause();
}

int32_t CTavoGraphDll::Stop()
{
    if (!d->initialised || !d->graph)
        return TavoStatus::Fail;
    d->running = false;
    d->graph->StopRecording();
    return d->graph->Stop();
}

int32_t CTavoGraphDll::TearDownGraph()
{
    d->ReleaseGraph();
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::ClearGraph()
{
    qCDebug(lcCaptureTrace) << "Into ClearGraph";
    if (!d->initialised)
        return TavoStatus::Ok;
    Stop();
    TearDownGraph();
    qCDebug(lcCaptureTrace) << "Into ClearGraph Release";
    d->ReleaseCamera();
    d->devices.clear();
    d->sizes.clear();
    d->initialised = false;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::ChangeVideoSize(int32_t width, int32_t height)
{
    if (!d->hasCamera)
        return TavoStatus::Pointer;
    Stop();
    TearDownGraph();
    d->requestedWidth = width;
    d->requestedHeight = height;
    MakeGraph();
    return Run();
}

int32_t CTavoGraphDll::SetCaptureSize(int width, int height)
{
    d->requestedWidth = width;
    d->requestedHeight = height;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCaptureSize(int& width, int& height) const
{
    width = d->requestedWidth;
    height = d->requestedHeight;
    return TavoStatus::Ok;
}

bool CTavoGraphDll::HasCamera() const
{
    return d->hasCamera;
}

// Frame access.

int32_t CTavoGraphDll::CaptureToBuf(int32_t* byteCount, uint8_t* buffer)
{
    return CaptureToBuf(byteCount, buffer, nullptr);
}

int32_t CTavoGraphDll::CaptureToBuf(int32_t* byteCount, uint8_t* buffer, TavoFrameStamp* stamp)
{
    if (!byteCount)
        return TavoStatus::Pointer;
    std::shared_lock lock(d->grabberMutex);
    if (!d->hasCamera || !d->graph)
        return TavoStatus::Pointer;
    if (!buffer)
        return d->graph->Grabber().FrameBytes(*byteCount);
    if (!d->running)
        return TavoStatus::AccessDenied;
    return d->graph->Grabber().CopyTo(buffer, *byteCount, nullptr, nullptr,
            stamp ? &stamp->sequence : nullptr, stamp ? &stamp->arrivalNs : nullptr);
}

int32_t CTavoGraphDll::GetNewestFrameStamp(TavoFrameStamp* stamp) const
{
    if (!stamp)
        return TavoStatus::Pointer;
    std::shared_lock lock(d->grabberMutex);
    if (!d->hasCamera || !d->graph)
        return TavoStatus::Pointer;
    return d->graph->Grabber().NewestStamp(stamp->sequence, stamp->arrivalNs);
}

int32_t CTavoGraphDll::HoldNewestFrame(TavoHeldFrame* frame) const
{
    if (!frame)
        return TavoStatus::Pointer;
    std::shared_lock lock(d->grabberMutex);
    if (!d->hasCamera || !d->graph)
        return TavoStatus::Pointer;
    if (!d->running)
        return TavoStatus::AccessDenied;
    return d->graph->Grabber().Hold(*frame);
}

int32_t CTavoGraphDll::CaptureToBuf(void*, uint8_t**)
{
    return TavoStatus::Pointer;
}

int32_t CTavoGraphDll::CaptureOneFrame(const QString& path)
{
    std::vector<uint8_t> file;
    int width = 0;
    int height = 0;
    {
        std::shared_lock lock(d->grabberMutex);
        if (!d->hasCamera || !d->graph)
            return TavoStatus::Pointer;
        const CFrameGrabber& grabber = d->graph->Grabber();
        int32_t bytes = 0;
        int32_t status = grabber.FrameBytes(bytes);
        if (status < 0)
            return status;
        file.resize(kBmpHeaderBytes + static_cast<size_t>(bytes));
        status = grabber.CopyTo(file.data() + kBmpHeaderBytes, bytes, &width, &height);
        if (status < 0)
            return status;
        file.resize(kBmpHeaderBytes + static_cast<size_t>(bytes));
    }
    const uint32_t imageBytes = static_cast<uint32_t>(file.size() - kBmpHeaderBytes);
    uint8_t* h = file.data();
    std::fill(h, h + kBmpHeaderBytes, uint8_t(0));
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(file.size()), h + 2);
    qToLittleEndian<uint32_t>(kBmpHeaderBytes, h + 10);
    // Bitmap-info header of the delivered format; the colour-table slot after it stays zero.
    qToLittleEndian<uint32_t>(40, h + 14);
    qToLittleEndian<int32_t>(width, h + 18);
    qToLittleEndian<int32_t>(height, h + 22);
    qToLittleEndian<uint16_t>(1, h + 26);
    qToLittleEndian<uint16_t>(24, h + 28);
    qToLittleEndian<uint32_t>(imageBytes, h + 34);

    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return TavoStatus::Fail;
    const qint64 written =
            out.write(reinterpret_cast<const char*>(file.data()), static_cast<qint64>(file.size()));
    out.close();
    if (written != static_cast<qint64>(file.size()) || out.error() != QFileDevice::NoError)
        return TavoStatus::Fail;
    return TavoStatus::Ok;
}

// Video window: the graph draws nothing.

int32_t CTavoGraphDll::SetParentWindow(QWidget* window)
{
    d->parentWindow = window;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::MoveVideoWindow(int, int, int, int)
{
    return TavoStatus::Fail;
}

int32_t CTavoGraphDll::ResizeVideoWindow(int, int)
{
    return TavoStatus::Fail;
}

QPaintDevice* CTavoGraphDll::RepaintVideoWindow()
{
    return nullptr;
}

int32_t CTavoGraphDll::ReadyForPaint()
{
    return TavoStatus::Fail;
}

int32_t CTavoGraphDll::EndForPaint()
{
    return TavoStatus::Fail;
}

int32_t CTavoGraphDll::SetAlphaBitmap(QPaintDevice*)
{
    return TavoStatus::Fail;
}

int32_t CTavoGraphDll::SetAlphaBitmapToVMR(QPaintDevice*, const QRect&)
{
    return TavoStatus::Ok;
}

// Devices and sizes.

int32_t CTavoGraphDll::SpecifyCapDevice(const QString& name)
{
    qCDebug(lcCaptureTrace) << "choosing device" << name;
    if (!d->initialised)
        return TavoStatus::Pointer;
    d->ReleaseCamera();
    int32_t status = d->ChooseCapDevice(name);
    if (status < 0)
        status = d->DefaultCapDevice();
    if (status != TavoStatus::Ok) {
        qCDebug(lcCaptureTrace) << "no device chosen for" << name;
        return status;
    }
    qCDebug(lcCaptureTrace) << "bound device" << d->deviceName;
    d->GetAllAvailSize();

    // Keep the requested size only when the camera offers it; else take the nearest it offers
    // (its first when none was asked for).
    const QList<CCaptureFormat>& formats = d->device->formats;
    qCDebug(lcCaptureTrace).noquote()
            << QString::asprintf("%d formats offered", int(formats.size()));
    if (!formats.isEmpty()) {
        const int64_t w = d->requestedWidth;
        const int64_t h = d->requestedHeight;
        const auto distance = [w, h](const CCaptureFormat& format) {
            return w <= 0 || h <= 0
                    ? 0
                    : std::abs(format.width - w) + std::abs(qAbs(format.height) - h);
        };
        const CCaptureFormat* nearest = &formats[0];
        for (const CCaptureFormat& format : formats)
            if (distance(format) < distance(*nearest))
                nearest = &format;
        d->requestedWidth = nearest->width;
        d->requestedHeight = qAbs(nearest->height);
    }
    qCDebug(lcCaptureTrace) << "chosen device" << name;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCurCapDeviceName(QString& name) const
{
    name = d->device ? d->deviceName : QString();
    qCDebug(lcCaptureTrace) << "device in use" << name;
    return TavoStatus::Ok;
}

std::vector<QString> CTavoGraphDll::GetVideoDeviceNames(QString* error)
{
    if (error)
        error->clear();
    QList<CCaptureDevice> found;
    QString problem;
    switch (d->Source().Enumerate(found)) {
    case CCaptureDeviceSource::EResult::NoEnumerator:
        problem = QCoreApplication::translate("CTavoGraphDll", "Error Creating Device Enumerator");
        break;
    case CCaptureDeviceSource::EResult::NoDevices:
        problem = QCoreApplication::translate("CTavoGraphDll",
                "Sorry, you have no video capture hardware.\n\n"
                "Video capture will not function properly.");
        break;
    case CCaptureDeviceSource::EResult::Ok:
        break;
    }
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    d->devices = found.mid(0, kMaxDevices);
    std::vector<QString> names;
    for (const CCaptureDevice& device : std::as_const(d->devices)) {
        if (!device.name.isEmpty())
            names.push_back(device.name);
    }
    return names;
}

int32_t CTavoGraphDll::InitVideoDevsCombo(QListWidget* list)
{
    QString error;
    const std::vector<QString> names = GetVideoDeviceNames(&error);
    if (!error.isEmpty())
        Error(error);
    if (list) {
        for (const QString& name : names)
            list->addItem(name);
    }
    return names.empty() ? TavoStatus::Fail : TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetVideoSizeEntries(std::vector<CResolutionEntry>& entries, int* chosen)
{
    entries.clear();
    d->GetAllAvailSize();
    qCDebug(lcCaptureTrace) << "listing the sizes";
    QString subtype;
    QString rate;
    GetCaptureFormat(subtype, rate);
    const QString chosenKey = CResolutionEntry { 0, 0, subtype, CFrameRate::Parse(rate) }.Key();
    int firstOfSize = -1;
    int exact = -1;
    for (const CResolutionEntry& entry : CResolutionList::Build(d->sizes)) {
        entries.push_back(entry);
        const int index = int(entries.size()) - 1;
        if (entry.width == d->requestedWidth && entry.height == d->requestedHeight) {
            if (firstOfSize < 0)
                firstOfSize = index;
            if (exact < 0 && entry.Key() == chosenKey)
                exact = index;
        }
        qCDebug(lcCaptureTrace) << entry.Label();
    }
    if (chosen)
        *chosen = exact >= 0 ? exact : firstOfSize;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::InitVideoSizeCombo(QComboBox* combo)
{
    if (!combo)
        return TavoStatus::Pointer;
    std::vector<CResolutionEntry> entries;
    int chosen = -1;
    GetVideoSizeEntries(entries, &chosen);
    const int first = combo->count();
    for (const CResolutionEntry& entry : entries)
        combo->addItem(entry.Label(), entry.Key());
    if (chosen >= 0)
        combo->setCurrentIndex(first + chosen);
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::SetCaptureFormat(const QString& subtype, const QString& rate)
{
    d->requestedSubtype = subtype.trimmed();
    d->requestedRate = CFrameRate::Parse(rate);
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCaptureFormat(QString& subtype, QString& rate) const
{
    subtype = d->requestedSubtype;
    rate = d->requestedRate.Text();
    if (!d->device)
        return TavoStatus::Ok;
    const CCaptureFormat* chosen = d->ChooseFormat();
    if (!chosen)
        return TavoStatus::Ok;
    subtype = chosen->subtype;
    rate = d->ChooseRate(*chosen).Text();
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCurCapDevicePath(QString& path) const
{
    path = d->device ? d->device->path : QString();
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCurCapDeviceIdentity(QString& identity) const
{
    identity = d->device ? d->device->Identity() : QString();
    return TavoStatus::Ok;
}

QString CTavoGraphDll::CapDeviceProblem(const QString& name)
{
    const QString notConnected =
            QCoreApplication::translate("CTavoGraphDll", "the camera is not connected");
    QList<CCaptureDevice> found;
    if (d->Source().Enumerate(found) != CCaptureDeviceSource::EResult::Ok)
        return notConnected;
    for (const CCaptureDevice& candidate : std::as_const(found))
        if (candidate.name.trimmed() == name.trimmed())
            return d->Source().OpenProblem(candidate);
    return notConnected;
}

CCameraControls* CTavoGraphDll::CameraControls() const
{
    return d->hasCamera ? d->controls.get() : nullptr;
}

bool CTavoGraphDll::WatchDevices()
{
    return d->Source().StartWatching();
}

int32_t CTavoGraphDll::TakeDeviceChanges(QList<CDeviceChange>& changes)
{
    changes = d->Source().TakeChanges();
    return TavoStatus::Ok;
}

QString CTavoGraphDll::GraphError() const
{
    std::shared_lock lock(d->grabberMutex);
    return d->graph && d->graph->Failed() ? d->graph->ErrorText() : QString();
}

QStringList CTavoGraphDll::AvailableDeviceIdentities()
{
    QStringList identities;
    QList<CCaptureDevice> found;
    if (d->Source().Enumerate(found) != CCaptureDeviceSource::EResult::Ok)
        return identities;
    for (const CCaptureDevice& device : std::as_const(found))
        if (!device.name.isEmpty() && d->Source().IsAvailable(device))
            identities.append(device.Identity());
    return identities;
}

bool CTavoGraphDll::IsDeviceLost()
{
    if (!d->device)
        return false;
    {
        std::shared_lock lock(d->grabberMutex);
        if (d->graph && d->graph->Failed())
            return true;
    }
    return !d->Source().IsAvailable(*d->device);
}

// Picture and camera controls.

int32_t CTavoGraphDll::GetRange(
        VIDEOPROPERTY property, int32_t* minimum, int32_t* maximum, int32_t* defaultValue, int32_t*)
{
    if (!minimum || !maximum || !defaultValue)
        return TavoStatus::Fail;
    CCameraControlInfo info;
    const int32_t status = d->ControlStatus(VideoPropertyControl(property), &info);
    if (status < 0)
        return status;
    *minimum = info.minimum;
    *maximum = info.maximum;
    *defaultValue = info.defaultValue;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::SetVideoProperty(VIDEOPROPERTY property, int32_t value, int32_t flags)
{
    const uint32_t id = VideoPropertyControl(property);
    const int32_t status = d->ControlStatus(id);
    if (status < 0)
        return status;
    const uint32_t autoId = VideoPropertyAutoControl(property);
    const bool hasAuto = d->HasControl(autoId);
    if ((flags & TAVO_PROPERTY_FLAG_AUTO) && hasAuto)
        return d->controls->Set(autoId, 1) ? TavoStatus::Ok : TavoStatus::Fail;
    // The automatic mode holds the value read-only: switch it off first.
    if (hasAuto)
        d->controls->Set(autoId, 0);
    return d->controls->Set(id, value) ? TavoStatus::Ok : TavoStatus::Fail;
}

int32_t CTavoGraphDll::GetVideoProperty(VIDEOPROPERTY property, int32_t* value, int32_t* flags)
{
    if (!value)
        return TavoStatus::Fail;
    const uint32_t id = VideoPropertyControl(property);
    const int32_t status = d->ControlStatus(id);
    if (status < 0)
        return status;
    if (!d->controls->Get(id, *value))
        return TavoStatus::Fail;
    if (flags) {
        int32_t automatic = 0;
        const uint32_t autoId = VideoPropertyAutoControl(property);
        const bool isAuto =
                d->HasControl(autoId) && d->controls->Get(autoId, automatic) && automatic != 0;
        *flags = isAuto ? TAVO_PROPERTY_FLAG_AUTO : TAVO_PROPERTY_FLAG_MANUAL;
    }
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetCameraControlRange(
        CAMERACONTROL control, int32_t* minimum, int32_t* maximum, int32_t* defaultValue)
{
    if (!minimum || !maximum || !defaultValue)
        return TavoStatus::Fail;
    CCameraControlInfo info;
    const int32_t status = d->ControlStatus(CameraControlId(control), &info);
    if (status < 0)
        return status;
    *minimum = info.minimum;
    *maximum = info.maximum;
    *defaultValue = info.defaultValue;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::SetCameraControl(CAMERACONTROL control, int32_t value)
{
    const uint32_t id = CameraControlId(control);
    const int32_t status = d->ControlStatus(id);
    if (status < 0)
        return status;
    // Set by hand: the device's automatic exposure or focus would overwrite the value.
    if (control == CameraControl_Exposure && d->HasControl(V4L2_CID_EXPOSURE_AUTO))
        d->controls->Set(V4L2_CID_EXPOSURE_AUTO, V4L2_EXPOSURE_MANUAL);
    if (control == CameraControl_Focus && d->HasControl(V4L2_CID_FOCUS_AUTO))
        d->controls->Set(V4L2_CID_FOCUS_AUTO, 0);
    return d->controls->Set(id, value) ? TavoStatus::Ok : TavoStatus::Fail;
}

int32_t CTavoGraphDll::GetCameraControl(CAMERACONTROL control, int32_t* value)
{
    if (!value)
        return TavoStatus::Fail;
    const uint32_t id = CameraControlId(control);
    const int32_t status = d->ControlStatus(id);
    if (status < 0)
        return status;
    return d->controls->Get(id, *value) ? TavoStatus::Ok : TavoStatus::Fail;
}

int32_t CTavoGraphDll::SetFlip(FLIPTYPE type, bool on)
{
    if (!d->hasCamera)
        return TavoStatus::Pointer;
    const uint32_t id = type == FlipType_Horizontal ? V4L2_CID_HFLIP : V4L2_CID_VFLIP;
    if (!d->HasControl(id))
        return TavoStatus::NoInterface;
    return d->controls->Set(id, on ? 1 : 0) ? TavoStatus::Ok : TavoStatus::Fail;
}

int32_t CTavoGraphDll::GetFlip(FLIPTYPE type, int* on)
{
    if (!d->hasCamera)
        return TavoStatus::Pointer;
    if (!on)
        return TavoStatus::Pointer;
    const uint32_t id = type == FlipType_Horizontal ? V4L2_CID_HFLIP : V4L2_CID_VFLIP;
    if (!d->HasControl(id))
        return TavoStatus::NoInterface;
    int32_t value = 0;
    if (!d->controls->Get(id, value))
        return TavoStatus::Fail;
    *on = value != 0 ? 1 : 0;
    return TavoStatus::Ok;
}

// Frame statistics.

int32_t CTavoGraphDll::GetAvgFrameRate(float* framesPerSecond)
{
    if (!d->initialised)
        return TavoStatus::Pointer;
    if (!d->graph)
        return TavoStatus::NoInterface;
    if (!framesPerSecond)
        return TavoStatus::Pointer;
    // Hundredths of a frame per second, as the rate was always reported.
    const int hundredths = static_cast<int>(d->graph->Grabber().AverageRate() * 100.0);
    *framesPerSecond = static_cast<float>(hundredths) * 0.01f;
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::GetNumNotDropped(int32_t* frames)
{
    if (!d->initialised)
        return TavoStatus::Pointer;
    if (!d->graph)
        return TavoStatus::NoInterface;
    if (!frames)
        return TavoStatus::Pointer;
    *frames = static_cast<int32_t>(d->graph->Grabber().Frames());
    return TavoStatus::Ok;
}

// Property pages.

int32_t CTavoGraphDll::ShowVideoPropertyPages(QWidget* owner)
{
    if (!d->hasCamera)
        return TavoStatus::Fail;
    CPropertyForm form(PropertyTitle(), owner);
    const QList<CControlPage*> pages = CControlPage::CreatePages(d->controls.get());
    for (CControlPage* page : pages)
        form.AddPage(page);
    if (!pages.isEmpty())
        form.AddResetButton();
    if (pages.isEmpty()) {
        // A camera without controls (the built-in pattern, some cheap cameras): say so, and
        // show what it does offer. The running graph keeps its format, so the list only shows.
        form.AddPage(new CControlPage(
                d->controls.get(), QCoreApplication::translate("CControlPage", "Controls"), {}));
        if (!d->device->formats.isEmpty())
            form.AddPage(new CFormatPage(d->device->formats, d->CurrentPinFormat(), nullptr));
    }
    form.exec();
    return TavoStatus::Fail;
}

int32_t CTavoGraphDll::ShowCapPinPropertyPage(const QString& name, QWidget* owner)
{
    if (name != d->deviceName || !d->hasCamera) {
        if (!d->initialised)
            return TavoStatus::Fail;
        d->ReleaseCamera();
        if (d->ChooseCapDevice(name) != TavoStatus::Ok)
            return TavoStatus::Fail;
    }
    if (d->device->formats.isEmpty())
        return TavoStatus::NoInterface;

    const QList<CCaptureFormat> formats = d->device->formats;
    int chosen = d->CurrentPinFormat();
    CPropertyForm form(PropertyTitle(), owner);
    form.AddPage(new CFormatPage(formats, chosen, [&chosen](int index) { chosen = index; }));
    form.exec();

    // The pin's format after the page closed becomes the size the next graph asks for.
    d->pinFormat = chosen;
    d->requestedSubtype = formats[chosen].subtype;
    d->requestedRate = {};
    d->requestedWidth = formats[chosen].width;
    d->requestedHeight = qAbs(formats[chosen].height);
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::StartRecording(
        const QString& path, bool ownFrames, int framesPerSecond, QString* reason)
{
    QString why;
    const auto fail = [&](int32_t status, const QString& text) {
        if (reason)
            *reason = text;
        return status;
    };
    if (IsRecording())
        return fail(TavoStatus::Fail,
                QCoreApplication::translate("CTavoGraphDll", "A recording is already running."));
    if (!ownFrames) {
        if (!d->graph || !d->running)
            return fail(TavoStatus::Pointer,
                    QCoreApplication::translate(
                            "CTavoGraphDll", "There is no live video to record."));
        const int32_t status = d->graph->StartRecording(path, why);
        return status < 0 ? fail(status, why) : status;
    }
    d->frameFinisher.Wait();
    std::unique_ptr<CVideoRecorder> recorder =
            CVideoRecorder::FromFrames(path, framesPerSecond, why);
    if (!recorder)
        return fail(TavoStatus::Fail, why);
    const std::lock_guard lock(d->frameRecorderMutex);
    d->frameRecorder = std::move(recorder);
    return TavoStatus::Ok;
}

int32_t CTavoGraphDll::PushRecordingFrame(const uint8_t* frame, int width, int height)
{
    const std::lock_guard lock(d->frameRecorderMutex);
    return d->frameRecorder && d->frameRecorder->Push(frame, width, height) ? TavoStatus::Ok
                                                                            : TavoStatus::Fail;
}

int32_t CTavoGraphDll::StopRecording(QString* reason)
{
    std::unique_ptr<CVideoRecorder> recorder;
    {
        const std::lock_guard lock(d->frameRecorderMutex);
        recorder = std::move(d->frameRecorder);
    }
    if (recorder)
        return d->frameFinisher.Finish(std::move(recorder), reason) ? TavoStatus::Ok
                                                                    : TavoStatus::Fail;
    return d->graph && d->graph->StopRecording(reason) ? TavoStatus::Ok : TavoStatus::Fail;
}

int32_t CTavoGraphDll::StopRecordingLater(RecordingDone done)
{
    std::unique_ptr<CVideoRecorder> recorder;
    {
        const std::lock_guard lock(d->frameRecorderMutex);
        recorder = std::move(d->frameRecorder);
    }
    const auto report = [done = std::move(done)](bool finished, const QString& reason) {
        if (done)
            done(finished ? TavoStatus::Ok : TavoStatus::Fail, reason);
    };
    if (recorder) {
        d->frameFinisher.FinishLater(std::move(recorder), report);
        return TavoStatus::Ok;
    }
    return d->graph && d->graph->StopRecordingLater(report) ? TavoStatus::Ok : TavoStatus::Fail;
}

bool CTavoGraphDll::IsRecording() const
{
    {
        const std::lock_guard lock(d->frameRecorderMutex);
        if (d->frameRecorder)
            return true;
    }
    return d->graph && d->graph->IsRecording();
}

bool CTavoGraphDll::RecordingFailed(QString* reason) const
{
    QString why;
    bool failed = false;
    {
        const std::lock_guard lock(d->frameRecorderMutex);
        if (d->frameRecorder && d->frameRecorder->Failed()) {
            failed = true;
            why = d->frameRecorder->FailureText();
        }
    }
    failed = failed || (d->graph && d->graph->RecordingFailed(why));
    if (failed && reason)
        *reason = why;
    return failed;
}

QString CTavoGraphDll::RecordingSuffix()
{
    return CVideoRecorder::Suffix();
}
