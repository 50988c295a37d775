#pragma once

#include "capture/CaptureDevice.h"
#include "capture/CameraControls.h"
#include "capture/TavoCapExport.h"

#include <memory>

/** @brief A camera that came or went, as the device monitor reports it. */
struct CDeviceChange
{
    enum class EKind { Added, Removed };
    EKind kind = EKind::Added;
    CCaptureDevice device;
};

/**
 * @brief Where the list of cameras comes from.
 *
 * The library's own source asks GstDeviceMonitor for "Video/Source" devices; tests hand the
 * graph a fake list through CTavoGraphDll::SetDeviceSource().
 */
class TAVOCAP_EXPORT CCaptureDeviceSource
{
public:
    enum class EResult {
        Ok, ///< the list was read (it may still be empty)
        NoEnumerator, ///< the device enumerator itself is missing
        NoDevices, ///< no video input device is installed
    };

    virtual ~CCaptureDeviceSource();

    /** @brief Fills @p devices in the order the platform reports them. */
    virtual EResult Enumerate(QList<CCaptureDevice>& devices) = 0;
    /** @brief Whether @p device can be opened now (a camera may be gone since the list was
     * read). By default: pattern sources always, cameras while their node exists. */
    virtual bool IsAvailable(const CCaptureDevice& device);
    /** @brief Opens the control set of @p device; null when it has none. */
    virtual std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice& device) = 0;
    /** @brief Why @p device cannot be opened now, in the user's words; empty when it can. By
     * default: a camera whose node is gone is not connected, one the user may not open says
     * so. */
    virtual QString OpenProblem(const CCaptureDevice& device);
    /** @brief Starts reporting cameras that come and go; false when this source cannot. */
    virtual bool StartWatching() { return false; }
    /** @brief The changes reported since the last call, oldest first; never waits. */
    virtual QList<CDeviceChange> TakeChanges() { return {}; }

    /** @brief The library's default source: connected cameras, plus the "Test Pattern" camera
     * when it is enabled. */
    static std::shared_ptr<CCaptureDeviceSource> CreateDefault();
    /** @brief True when KALVEX_TEST_CAMERA is "1" (the program's --test-camera sets it). */
    static bool TestCameraEnabled();
    /** @brief The built-in "Test Pattern" camera. */
    static CCaptureDevice TestPatternDevice();
    /** @brief What KALVEX_CAMERA_FILES names for the "Pictures" camera (the program's
     * --camera-files sets it); empty: no such camera. */
    static QString PictureFiles();
    /** @brief The "Pictures" camera's rate: KALVEX_CAMERA_FPS ("5", "2.5", "30000/1001"), 5
     * frames a second when it is unset or no rate from 0.1 to 120. */
    static CFrameRate PictureRate();
    /** @brief The "Pictures" camera playing @p files at @p rate, offering the size of its first
     * picture; no size when that picture cannot be read (opening it then says why). */
    static CCaptureDevice PicturesDevice(const QString& files, CFrameRate rate);
};
