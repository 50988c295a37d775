#pragma once

// What the measurement engine does (tool modes) and what its shapes are (shape kinds). The
// numbers coincide where a tool draws one kind of shape; both are kept and compared as int.
enum ToolModeId : int {
    NoTool = 0,
    LineTool = 2,
    Angle3Tool = 3,
    Angle4Tool = 4,
    AreaTool = 6,
    CircleTool = 8,
    DistanceTool = 9,
    VerticalLinesTool = 11,
    TextTool = 12,
    SelectMode = 13,
};

enum ShapeKindId : int {
    KindLine = 2,
    KindAngle3 = 3,
    KindAngle4 = 4,
    KindArea = 6,
    KindCircle = 8,
    KindDistanceCircle = 9,
    KindDistance = 10,
    KindPerpendicular = 11,
    KindVerticalLines = 12,
    KindCalibrationRuler = 14,
    KindTextLabel = 16,
};
