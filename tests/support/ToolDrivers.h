#pragma once

#include "measure/Angle3Tool.h"
#include "measure/Angle4Tool.h"
#include "measure/AreaTool.h"
#include "measure/CircleTool.h"
#include "measure/DistanceTool.h"
#include "measure/LineTool.h"
#include "measure/SelectTool.h"
#include "measure/ShapeManager.h"
#include "measure/TextTool.h"
#include "measure/ToolBox.h"
#include "measure/VerticalLinesTool.h"

#include <utility>

// The tool of a mode, as the command table names it: tests choose tools by their mode.
inline ToolFactory ToolOf(int mode)
{
    static const std::pair<int, ToolFactory> kTools[] = {
        { NoTool, &MakeTool<CMeasureTool> },
        { LineTool, &MakeTool<CLineTool> },
        { Angle3Tool, &MakeTool<CAngle3Tool> },
        { Angle4Tool, &MakeTool<CAngle4Tool> },
        { AreaTool, &MakeTool<CAreaTool> },
        { CircleTool, &MakeTool<CCircleTool> },
        { DistanceTool, &MakeTool<CDistanceTool> },
        { VerticalLinesTool, &MakeTool<CVerticalLinesTool> },
        { TextTool, &MakeTool<CTextTool> },
        { SelectMode, &MakeTool<CSelectTool> },
    };
    for (const auto& [toolMode, make] : kTools) {
        if (toolMode == mode)
            return make;
    }
    return &MakeTool<CMeasureTool>;
}

// The tool of the mode in use at once, ending nothing.
inline void UseTool(CShapeManager& m, int mode)
{
    m.Tools().Use(ToolOf(mode));
}

// The tool of the mode as its button chooses it; returns the mode now in force.
inline int ChooseTool(CToolBox& tools, int mode)
{
    return tools.Choose(mode, ToolOf(mode));
}
