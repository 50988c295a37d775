#include "count/ShownCount.h"

#include "count/CountOverlay.h"

#include <memory>

void CShownCount::Show(const CParticleCounter::Result& result, const QString& summary)
{
    m_summary = { summary };
    m_overlay = !result.particles.empty();
    if (!m_hook)
        return;
    if (!m_overlay) {
        m_hook({});
        return;
    }
    // The layer keeps its own copy: it may be drawn after this count is replaced. No tint of
    // the object pixels: a saved picture takes only opaque colours.
    auto overlay = std::make_shared<CCountOverlay>();
    overlay->SetResult(result);
    m_hook([overlay](QPainter& painter, const QTransform& imageToTarget) {
        overlay->Draw(painter, imageToTarget);
    });
}

void CShownCount::Forget()
{
    m_summary.clear();
    const bool had = m_overlay;
    m_overlay = false;
    if (had && m_hook)
        m_hook({});
}
