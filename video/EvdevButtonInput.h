#pragma once

#include "video/ButtonInput.h"

#include <cstddef>

struct input_event;

// The camera's evdev node: KEY_CAMERA presses (auto-repeat and releases do not count).
class CEvdevButtonInput : public CButtonInput
{
public:
    ~CEvdevButtonInput() override { Close(); }

    EOpen Open(const QString& path, QString& error) override;
    void Close() override;
    int Descriptor() const override { return m_fd; }
    int ReadPresses() override;

    // Presses of the snapshot key among count events.
    static int CountPresses(const input_event* events, size_t count);

private:
    int m_fd = -1;
};
