#include "capture/GstDeviceSource.h"

#include "capture/CaptureTrace.h"
#include "capture/DeviceIdentity.h"
#include "capture/V4l2Controls.h"

#include <algorithm>

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

CFrameRate RateOf(const GValue* value)
{
    CFrameRate rate;
    if (value && GST_VALUE_HOLDS_FRACTION(value)) {
        rate.numerator = gst_value_get_fraction_numerator(value);
        rate.denominator = gst_value_get_fraction_denominator(value);
    }
    return rate;
}

// The rates of one caps structure: a fraction, a list of them, or a range (its two ends).
QList<CFrameRate> Rates(const GstStructure* structure)
{
    QList<CFrameRate> rates;
    const GValue* value = gst_structure_get_value(structure, "framerate");
    if (!value)
        return rates;
    if (GST_VALUE_HOLDS_FRACTION(value)) {
        rates.append(RateOf(value));
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i)
            rates.append(RateOf(gst_value_list_get_value(value, i)));
    } else if (GST_VALUE_HOLDS_FRACTION_RANGE(value)) {
        rates.append(RateOf(gst_value_get_fraction_range_max(value)));
        rates.append(RateOf(gst_value_get_fraction_range_min(value)));
    }
    rates.removeIf([](const CFrameRate& rate) { return !rate.IsValid(); });
    return rates;
}

void MergeRates(QList<CFrameRate>& into, const QList<CFrameRate>& more)
{
    for (const CFrameRate& rate : more)
        if (!into.contains(rate))
            into.append(rate);
    std::stable_sort(into.begin(), into.end(),
            [](const CFrameRate& a, const CFrameRate& b) { return a.Fps() > b.Fps(); });
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
        const QList<CFrameRate> rates = Rates(structure);
        for (const QString& name : FormatNames(structure)) {
            for (int k = 0; k < pairs; ++k) {
                // Caps repeat a size per frame-rate or colorimetry: one entry with every rate.
                auto same =
                        std::find_if(formats.begin(), formats.end(), [&](const CCaptureFormat& f) {
                            return f.width == widths[k] && f.height == heights[k]
                                    && f.subtype == name;
                        });
                if (same == formats.end()) {
                    formats.append({ widths[k], heights[k], name, {} });
                    same = formats.end() - 1;
                }
                MergeRates(same->frameRates, rates);
            }
        }
    }
    return formats;
}

namespace {

QMap<QString, QString> Properties(GstDevice* device)
{
    QMap<QString, QString> map;
    GstStructure* properties = gst_device_get_properties(device);
    if (!properties)
        return map;
    for (int i = 0; i < gst_structure_n_fields(properties); ++i) {
        const char* field = gst_structure_nth_field_name(properties, i);
        const GValue* value = gst_structure_get_value(properties, field);
        if (value && G_VALUE_HOLDS_STRING(value) && g_value_get_string(value))
            map.insert(QString::fromUtf8(field), QString::fromUtf8(g_value_get_string(value)));
    }
    gst_structure_free(properties);
    return map;
}

// A monitor's device as the list knows it; false for anything that is not a V4L2 camera.
bool DeviceOf(GstDevice* gstDevice, CCaptureDevice& device, bool withFormats)
{
    const QMap<QString, QString> properties = Properties(gstDevice);
    device.path = properties.value(
            QStringLiteral("device.path"), properties.value(QStringLiteral("api.v4l2.path")));
    if (device.path.isEmpty())
        return false; // only V4L2 nodes can be opened here
    gchar* name = gst_device_get_display_name(gstDevice);
    device.name = QString::fromUtf8(name ? name : "");
    g_free(name);
    if (device.name.isEmpty())
        return false;
    CDeviceIdentity::CUsbInfo usb;
    CDeviceIdentity::ReadSysfs(QStringLiteral("/sys"), device.path, usb);
    CDeviceIdentity::AddProperties(properties, usb);
    device.identity = CDeviceIdentity::Compose(device.name, usb);
    if (withFormats) {
        GstCaps* caps = gst_device_get_caps(gstDevice);
        device.formats = CGstDeviceSource::FormatsOfCaps(caps);
        if (caps)
            gst_caps_unref(caps);
    }
    return true;
}

} // namespace

CGstDeviceSource::~CGstDeviceSource()
{
    if (m_monitor) {
        gst_device_monitor_stop(m_monitor);
        gst_object_unref(m_monitor);
    }
}

bool CGstDeviceSource::StartWatching()
{
    if (m_monitor)
        return true;
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    if (!monitor)
        return false;
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    if (!gst_device_monitor_start(monitor)) {
        gst_object_unref(monitor);
        return false;
    }
    m_monitor = monitor;
    return true;
}

QList<CDeviceChange> CGstDeviceSource::TakeChanges()
{
    QList<CDeviceChange> changes;
    if (!m_monitor)
        return changes;
    GstBus* bus = gst_device_monitor_get_bus(m_monitor);
    while (GstMessage* message = gst_bus_pop(bus)) {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_DEVICE_ADDED || type == GST_MESSAGE_DEVICE_REMOVED) {
            GstDevice* gstDevice = nullptr;
            if (type == GST_MESSAGE_DEVICE_ADDED)
                gst_message_parse_device_added(message, &gstDevice);
            else
                gst_message_parse_device_removed(message, &gstDevice);
            CDeviceChange change;
            change.kind = type == GST_MESSAGE_DEVICE_ADDED ? CDeviceChange::EKind::Added
                                                           : CDeviceChange::EKind::Removed;
            // A removed node is gone from sysfs too: its identity is the name and bus alone.
            if (gstDevice && DeviceOf(gstDevice, change.device, false))
                changes.append(change);
            if (gstDevice)
                gst_object_unref(gstDevice);
        }
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return changes;
}

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
        CCaptureDevice device;
        if (!DeviceOf(GST_DEVICE(item->data), device, true))
            continue;
        qCDebug(lcCaptureTrace) << "camera" << device.name << device.path << device.identity
                                << device.formats.size() << "formats";
        devices.append(device);
    }
    g_list_free_full(found, gst_object_unref);
    gst_object_unref(monitor);
    if (TestCameraEnabled())
        devices.append(TestPatternDevice());
    if (const QString files = PictureFiles(); !files.isEmpty())
        devices.append(PicturesDevice(files, PictureRate()));
    return devices.isEmpty() ? EResult::NoDevices : EResult::Ok;
}

std::unique_ptr<CCameraControls> CGstDeviceSource::OpenControls(const CCaptureDevice& device)
{
    if (device.IsPatternSource())
        return nullptr;
    return CV4l2Controls::Open(device.path);
}
