#include "imgproc/LiveStacker.h"

#include "imgproc/StackAligner.h"
#include "imgproc/StackResampler.h"

namespace {

cv::Mat Wrap(const CImageView& image)
{
    return cv::Mat(
            image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.bits), image.stride);
}

} // namespace

void CLiveStacker::Reset()
{
    m_sharpest.reset();
    m_merged = 0;
    m_skipped = 0;
}

CImageView CLiveStacker::Result() const
{
    return m_sharpest ? m_sharpest->Result().View() : CImageView {};
}

CLiveStacker::EAdded CLiveStacker::Add(const CImageView& frame)
{
    if (frame.bits == nullptr || frame.width <= 0 || frame.height <= 0
            || frame.stride < static_cast<std::size_t>(frame.width) * 3)
        return EAdded::Invalid;
    if (m_sharpest && (frame.width != m_width || frame.height != m_height))
        Reset();
    if (!m_sharpest) {
        m_width = frame.width;
        m_height = frame.height;
        m_sharpest = std::make_unique<CSharpestSoFar>(frame.width, frame.height);
        m_sharpest->Add(0, Wrap(frame), {});
        m_merged = 1;
        return EAdded::Started;
    }
    // Each frame is lined up with the stack itself, which is on the first frame's grid: a chain
    // of frame-to-frame maps would drift without end while the knob goes back and forth.
    CStackAligner aligner;
    aligner.Add(m_sharpest->Result().View());
    const CAffineMap map = aligner.Add(frame);
    if (aligner.LastDifference() > kMaxDifference) {
        ++m_skipped;
        return EAdded::Skipped;
    }
    if (CStackResampler::NearlyIdentity(map, m_width, m_height)) {
        m_sharpest->Add(m_merged, Wrap(frame), {});
    } else {
        CStackResampler::Resample(frame, map, m_warped);
        m_sharpest->Add(m_merged, m_warped, map);
    }
    ++m_merged;
    return EAdded::Merged;
}
