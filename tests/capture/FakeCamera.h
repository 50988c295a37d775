#pragma once

#include "capture/CaptureDeviceSource.h"

#include <QMap>

#include <linux/videodev2.h>

#include <memory>
#include <utility>

// A control set in memory; every fake opened for one camera shares the same values.
struct CFakeControlState
{
    QList<CCameraControlInfo> controls;
    QMap<uint32_t, int32_t> values;

    void Add(uint32_t id, uint32_t type, const QString& name, int32_t min, int32_t max, int32_t def,
            QStringList menu = {})
    {
        CCameraControlInfo info;
        info.id = id;
        info.type = type;
        info.name = name;
        info.minimum = min;
        info.maximum = max;
        info.defaultValue = def;
        info.menu = menu;
        controls.append(info);
        if (type != V4L2_CTRL_TYPE_CTRL_CLASS)
            values[id] = def;
    }
};

class CFakeControls : public CCameraControls
{
public:
    explicit CFakeControls(std::shared_ptr<CFakeControlState> state) : m_state(std::move(state)) { }

    bool Query(uint32_t id, CCameraControlInfo& info) override
    {
        for (const CCameraControlInfo& c : m_state->controls)
            if (c.id == id && c.type != V4L2_CTRL_TYPE_CTRL_CLASS) {
                info = c;
                return true;
            }
        return false;
    }
    bool Get(uint32_t id, int32_t& value) override
    {
        if (!m_state->values.contains(id))
            return false;
        value = m_state->values[id];
        return true;
    }
    bool Set(uint32_t id, int32_t value) override
    {
        if (!m_state->values.contains(id))
            return false;
        m_state->values[id] = value;
        return true;
    }
    QList<CCameraControlInfo> List() override { return m_state->controls; }

private:
    std::shared_ptr<CFakeControlState> m_state;
};

// A device list the test writes; devices with a path get the fake controls of that path.
class CFakeDeviceSource : public CCaptureDeviceSource
{
public:
    EResult result = EResult::Ok;
    QList<CCaptureDevice> devices;
    QMap<QString, std::shared_ptr<CFakeControlState>> controls;
    QStringList unavailable;
    // What the device monitor reports next; TakeChanges() hands it over once watching.
    QList<CDeviceChange> changes;
    bool watching = false;

    EResult Enumerate(QList<CCaptureDevice>& out) override
    {
        out = result == EResult::Ok ? devices : QList<CCaptureDevice>();
        return result;
    }
    bool IsAvailable(const CCaptureDevice& device) override
    {
        return !unavailable.contains(device.name);
    }
    bool StartWatching() override
    {
        watching = true;
        return true;
    }
    QList<CDeviceChange> TakeChanges() override
    {
        if (!watching)
            return {};
        return std::exchange(changes, {});
    }
    // The camera named name goes (it stays in the list, as an enumeration that raced the
    // unplug would have it) or comes back, with the monitor's message.
    void Unplug(const QString& name)
    {
        unavailable.append(name);
        changes.append({ CDeviceChange::EKind::Removed, Named(name) });
    }
    void Replug(const QString& name)
    {
        unavailable.removeAll(name);
        changes.append({ CDeviceChange::EKind::Added, Named(name) });
    }
    CCaptureDevice Named(const QString& name) const
    {
        for (const CCaptureDevice& device : devices)
            if (device.name == name)
                return device;
        return {};
    }
    std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice& device) override
    {
        if (!controls.contains(device.path))
            return nullptr;
        return std::make_unique<CFakeControls>(controls[device.path]);
    }

    static CCaptureDevice Camera(
            const QString& name, const QString& path, QList<CCaptureFormat> formats)
    {
        CCaptureDevice device;
        device.name = name;
        device.path = path;
        device.formats = std::move(formats);
        return device;
    }
    static CCaptureDevice Pattern(
            const QString& name, const QString& pattern, QList<CCaptureFormat> formats)
    {
        CCaptureDevice device;
        device.name = name;
        device.pattern = pattern;
        device.formats = std::move(formats);
        device.currentFormat = 0;
        return device;
    }
};
