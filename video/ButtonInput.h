#pragma once

#include <QString>

// An input device that reports button presses: the camera's evdev node, or a fake in tests.
class CButtonInput
{
public:
    enum class EOpen { Ok, Denied, Failed };

    virtual ~CButtonInput() = default;

    // Opens the device for reading without waiting; error says why when it fails.
    virtual EOpen Open(const QString& path, QString& error) = 0;
    virtual void Close() = 0;
    // The descriptor to watch for input; -1 when events arrive another way (fakes).
    virtual int Descriptor() const = 0;
    // Reads what is waiting and counts the snapshot key's presses; -1 once the device is gone.
    virtual int ReadPresses() = 0;
};
