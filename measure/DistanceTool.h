#pragma once

#include "measure/DistanceShape.h"
#include "measure/DrawingEdit.h"
#include "measure/MeasureTool.h"

#include <algorithm>

// Six clicks: three on each of two circles; the distance between their centres.
class CDistanceTool : public CMeasureTool
{
public:
    static constexpr int kClicks = 6;

    CDistanceTool() : CMeasureTool(DistanceTool) { }

    void Press(CDrawingEdit& edit, QPoint p) override
    {
        CMeasureShape* target = edit.Unfinished(KindDistance);
        // A distance left short of its clicks takes no new one beside it.
        const bool unfinished = std::ranges::any_of(edit.Shapes(), [](const auto& shape) {
            return shape->Kind() == KindDistance && shape->PointCount() < kClicks;
        });
        if (!target && !unfinished)
            target = edit.Add(std::make_unique<CDistanceShape>(&edit.Host()));
        if (target)
            target->OnLButtonDown(p.x(), p.y(), Mode());
    }
    bool Finished() const override { return Releases() >= kClicks; }
};
