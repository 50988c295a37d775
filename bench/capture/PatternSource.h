#pragma once

#include "capture/CaptureDeviceSource.h"

#include <QString>

#include <memory>

// One Test Pattern camera of the benchmark's size, so each run measures the same picture.
class CPatternSource : public CCaptureDeviceSource
{
public:
    CPatternSource(QString pattern, int width, int height)
        : m_pattern(std::move(pattern)), m_width(width), m_height(height)
    {
    }

    EResult Enumerate(QList<CCaptureDevice>& devices) override
    {
        CCaptureDevice device;
        device.name = QStringLiteral("Bench");
        device.pattern = m_pattern;
        device.formats = { { m_width, m_height, QStringLiteral("BGR") } };
        device.currentFormat = 0;
        devices = { device };
        return EResult::Ok;
    }
    std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice&) override
    {
        return nullptr;
    }

private:
    QString m_pattern;
    int m_width;
    int m_height;
};
