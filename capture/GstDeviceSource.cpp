#include "capture/GstDeviceSource.h"

#include "capture/CaptureTrace.h"
#include "capture/V4l2Controls.h"

#include <gst/gst.h>

namespace {

QList<int> IntValues(const GstStructure* structure, const char* field)
{
    QList<int> values;
    const GValue* value = gst_structure_get_value(structure, field);
    if (!value)
        return values;
    if (G_VALUE_HOLDS_INT(value)) {
        values.append(g_value_get_int(value));
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            const GValue* item = gst_value_list_get_value(value, i);
            if (G_VALUE_HOLDS_INT(item))
                values.append(g_value_get_int(item));
        }
    } else if (GST_VALUE_HOLDS_INT_RANGE(value)) {
        // A stepwise camera: offer its largest size.
        values.append(gst_value_get_int_range_max(value));
    }
    return values;
}

QStringList FormatNames(const GstStructure* structure)
{
    if (gst_structure_has_name(structure, "image/jpeg"))
        return { QStringLiteral("MJPG") };
    if (!gst_structure_has_name(structure, "video/x-raw"))
        return {};
    const GValue* value = gst_structure_get_value(structure, "format");
    if (!value)
        return {};
    QStringList names;
    if (G_VALUE_HOLDS_STRING(value)) {
        names.append(QString::fromUtf8(g_value_get_string(value)));
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            const GValue* item = gst_value_list_get_value(value, i);
            if (G_VALUE_HOLDS_STRING(item))
                names.append(QString::fromUtf8(g_value_get_string(item)));
        }
    }
    return names;
}

} // namespace

QList<CCaptureFormat> CGstDeviceSource::FormatsOfCaps(GstCaps* caps)
{
    QList<CCaptureFormat> formats;
    if (!caps)
        return formats;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure* structure = gst_caps_get_structure(caps, i);
        const QList<int> widths = IntValues(structure, "width");
        const QList<int> heights = IntValues(structure, "height");
        const int pairs = static_cast<int>(qMin(widths.size(), heights.size()));
        for (const QString& name : FormatNames(structure)) {
            for (int k = 0; k < pairs; ++k) {
                const CCaptureFormat format { widths[k], heights[k], name };
                // Caps repeat a size per frame-rate or colorimetry; one entry each is enough.
                if (!formats.contains(format))
                    formats.append(format);
            }
        }
    }
    return formats;
}

namespace {

QString DevicePath(GstDevice* device)
{
    GstStructure* properties = gst_device_get_properties(device);
    if (!properties)
        return {};
    const char* path = gst_structure_get_string(properties, "device.path");
    if (!path)
        path = gst_structure_get_string(properties, "api.v4l2.path");
    const QString result = path ? QString::fromUtf8(path) : QString();
    gst_structure_free(properties);
    return result;
}

} // namespace

CCaptureDeviceSource::EResult CGstDeviceSource::Enumerate(QList<CCaptureDevice>& devices)
{
    devices.clear();
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return EResult::NoEnumerator;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    if (!monitor)
        return EResult::NoEnumerator;
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* found = gst_device_monitor_get_devices(monitor);
    for (GList* item = found; item; item = item->next) {
        GstDevice* gstDevice = GST_DEVICE(item->data);
        CCaptureDevice device;
        device.path = DevicePath(gstDevice);
        if (device.path.isEmpty())
            continue; // only V4L2 nodes can be opened here
        gchar* name = gst_device_get_display_name(gstDevice);
        device.name = QString::fromUtf8(name ? name : "");
        g_free(name);
        if (device.name.isEmpty())
            continue;
        GstCaps* caps = gst_device_get_caps(gstDevice);
        device.formats = FormatsOfCaps(caps);
        if (caps)
            gst_caps_unref(caps);
        qCDebug(lcCaptureTrace) << "camera" << device.name << device.path << device.formats.size()
                                << "formats";
        devices.append(device);
    }
    g_list_free_full(found, gst_object_unref);
    gst_object_unref(monitor);
    if (TestCameraEnabled())
        devices.append(TestPatternDevice());
    return devices.isEmpty() ? EResult::NoDevices : EResult::Ok;
}

std::unique_ptr<CCameraControls> CGstDeviceSource::OpenControls(const CCaptureDevice& device)
{
    if (device.IsPatternSource())
        return nullptr;
    return CV4l2Controls::Open(device.path);
}
