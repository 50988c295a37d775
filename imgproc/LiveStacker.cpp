#include "imgproc/LiveStacker.h"

#include "imgproc/StackAligner.h"

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
        m_sharpest->AddAligned(0, frame, {});
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
    m_sharpest->AddAligned(m_merged, frame, map);
    ++m_merged;
    return EAdded::Merged;
}
