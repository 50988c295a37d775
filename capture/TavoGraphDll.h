#pragma once

#include "capture/TavoCapExport.h"

#include <QString>

#include <cstdint>

class QWidget;

// Placeholder until the capture graph lands: every camera step reports failure,
// so the program runs without a live picture.
class TAVOCAP_EXPORT CTavoGraphDll
{
public:
    static constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);

    CTavoGraphDll();
    ~CTavoGraphDll();

    int32_t InitGraph();
    int32_t SpecifyCapDevice(const QString &name);
    int32_t SetCaptureSize(int width, int height);
    int32_t SetParentWindow(QWidget *window);
    int32_t MakeGraph();
    int32_t GetCurCapDeviceName(QString &name) const;
    int32_t GetCaptureSize(int &width, int &height) const;
};
