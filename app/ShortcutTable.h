#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

// The main window's keyboard commands: their keys, where they act and what the shortcut list
// calls them. The one place the keys are written down; actions, tooltips and the list read it.
class CShortcutTable
{
public:
    enum Command {
        Undo,
        Redo,
        DeleteSelection,
        CancelTool,
        MoveLeft,
        MoveRight,
        MoveUp,
        MoveDown,
        MoveLeftFar,
        MoveRightFar,
        MoveUpFar,
        MoveDownFar,
        CopyPicture,
        Save,
        SaveAs,
        Snapshot,
        VideoStill,
        ZoomIn,
        ZoomOut,
        ZoomFit,
        LineTool,
        Angle3Tool,
        Angle4Tool,
        CircleTool,
        DistanceTool,
        VerticalLinesTool,
        AreaTool,
        TextTool,
        FocusPeaking,
        // Mouse gestures, listed with the keys; no key of their own.
        PanPicture,
        ScrollPicture,
        ZoomAtPointer,
        CommandCount
    };
    // Window: anywhere in the main window. Picture: while the picture has the focus (after a
    // click on it), so lists and combos keep their own arrow and Delete keys.
    enum class Scope { Window, Picture };

    struct CEntry
    {
        Command command;
        QList<QKeySequence> keys; // the first one is the one shown
        Scope scope;
        const char* description; // untranslated
        // Shown in the list instead of the keys; null: the keys. Commands listed under
        // another's row (the four arrows) have listed false.
        const char* keysShown = nullptr;
        bool listed = true;
    };

    static const std::vector<CEntry>& Entries();
    static const CEntry& Entry(Command command);

    // The first key as the user reads it ("Ctrl+S"), in the user's language.
    static QString KeyText(Command command);
    static QString Description(Command command);
    // A tooltip followed by the command's key: "Draw line (L)".
    static QString WithKey(const QString& toolTip, Command command);
    // The rows of the "Keyboard shortcuts" list: a rich-text table.
    static QString ListHtml();
};
