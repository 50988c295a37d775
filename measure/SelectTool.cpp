#include "measure/SelectTool.h"

#include "measure/CalibrationRuler.h"
#include "measure/DrawingEdit.h"
#include "measure/NewestFirst.h"
#include "measure/TextLabel.h"

#include <ranges>
#include <vector>

namespace {

// A press on one perpendicular (or its label) of a baseline takes that one.
uint32_t PressedPart(const CMeasureShape& shape)
{
    if (shape.Kind() != KindVerticalLines || shape.IsSelected())
        return 0;
    for (int c = 0; c < shape.ChildCount(); ++c) {
        const CMeasureShape* part = shape.Child(c);
        const bool labelHeld = part->ChildCount() > 0 && part->Child(0)->IsSelected();
        if (part->IsSelected() || labelHeld)
            return part->Id();
    }
    return 0;
}

} // namespace

void CSelectTool::Press(CDrawingEdit& edit, QPoint p)
{
    for (CMeasureShape* shape : NewestFirst(edit.Shapes())) {
        if (shape->OnLButtonDown(p.x(), p.y(), Mode()) != -1) {
            edit.Select(shape->Id(), PressedPart(*shape), 0);
            return;
        }
    }
    for (CTextLabel* text : NewestFirst(edit.TextLabels())) {
        if (text->OnLButtonDown(p.x(), p.y(), Mode()) != -1) {
            edit.Select(0, 0, text->Id());
            return;
        }
    }
    if (CCalibrationRuler* ruler = edit.Ruler())
        ruler->OnLButtonDown(p.x(), p.y(), Mode());
}
