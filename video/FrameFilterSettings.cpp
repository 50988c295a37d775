#include "video/FrameFilterSettings.h"

void CFrameFilterSettings::Apply(uint8_t* buffer, int width, int height) const
{
    // The filters themselves join here as they land.
    (void)buffer;
    (void)width;
    (void)height;
}
