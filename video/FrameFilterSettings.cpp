#include "video/FrameFilterSettings.h"

#include "imgproc/FrameFilters.h"
#include "imgproc/WhiteBalance.h"

void CFrameFilterSettings::Apply(uint8_t* buffer, int width, int height) const
{
    if (whiteBalance)
        ApplyWhiteBalance(buffer, width, height, redGain, blueGain);
    if (equalize)
        ApplyContrastCurve(buffer, width, height);
    if (binarize)
        ApplyBinarization(buffer, width, height, threshold);
}
