#include "capture/TavoGraphDll.h"

CTavoGraphDll::CTavoGraphDll() = default;
CTavoGraphDll::~CTavoGraphDll() = default;

int32_t CTavoGraphDll::InitGraph() { return kFail; }
int32_t CTavoGraphDll::SpecifyCapDevice(const QString &) { return kFail; }
int32_t CTavoGraphDll::SetCaptureSize(int, int) { return kFail; }
int32_t CTavoGraphDll::SetParentWindow(QWidget *) { return kFail; }
int32_t CTavoGraphDll::MakeGraph() { return kFail; }
int32_t CTavoGraphDll::GetCurCapDeviceName(QString &) const { return kFail; }
int32_t CTavoGraphDll::GetCaptureSize(int &, int &) const { return kFail; }
