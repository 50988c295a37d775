#pragma once

#include "imgproc/ParticleCounter.h"

#include <QStringList>

#include <functional>

class QPainter;
class QTransform;

// The last count of the picture shown: its outlines and numbers over that picture (on the
// canvas and in pictures saved with the drawing) and its summary for the next report. A new
// count replaces it; a change of picture (live video, another picture) forgets it.
class CShownCount
{
public:
    using Layer = std::function<void(QPainter& painter, const QTransform& imageToTarget)>;
    // Puts a layer over the picture, or takes it away when given an empty one.
    using LayerHook = std::function<void(Layer layer)>;

    void SetLayerHook(LayerHook hook) { m_hook = std::move(hook); }

    // A result without objects shows nothing but still gives its summary.
    void Show(const CParticleCounter::Result& result, const QString& summary);
    void Forget();

    bool HasOverlay() const { return m_overlay; }
    const QStringList& Summary() const { return m_summary; }

private:
    LayerHook m_hook;
    QStringList m_summary;
    bool m_overlay = false;
};
