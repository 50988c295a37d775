#pragma once

#include "base/ToolModes.h"
#include "measure/MeasureTool.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QAction;

// What the enabled rules of the commands read.
struct CCommandState
{
    bool still = false; // a still picture is shown, no live video
};

// The main window's commands, one row each: the caption of its panel button or menu entry, its
// tooltip and artwork, its keys and what the shortcut list says of them, where it sits, the tool
// it chooses and when it can run. Each row makes one action; the panel's buttons, the keys and
// the window menu all trigger that action, so a disabled command is disabled everywhere. What a
// command does is bound by whoever owns the things it acts on.
class CCommandTable : public QObject
{
    Q_OBJECT
public:
    enum Command {
        // The panel's "Load images" column, top to bottom.
        Video,
        Setting,
        Save,
        SaveSetting,
        SaveAs,
        Measure,
        Thumb,
        ImgCmp,
        Anotation,
        AnotationDB,
        AHE,
        Merge,
        WB,
        // Its "Measurement" column.
        Line,
        Angle3,
        Angle4,
        Circle,
        Distance,
        Vertical,
        Area,
        Clear,
        SaveCsv,
        Color,
        CAL,
        CrossLine,
        // No panel button: keys, the window menu, and commands other commands call.
        Undo,
        Redo,
        DeleteSelection,
        CancelInProgress, // Escape
        MoveLeft,
        MoveRight,
        MoveUp,
        MoveDown,
        MoveLeftFar,
        MoveRightFar,
        MoveUpFar,
        MoveDownFar,
        CopyPicture,
        Snapshot,
        ZoomIn,
        ZoomOut,
        ZoomFit,
        FocusPeaking,
        // Mouse gestures, listed with the keys; no key of their own.
        PanPicture,
        ScrollPicture,
        ZoomAtPointer,
        About,
        ShortcutList,
        DirectedAngles,
        VideoSetting, // "Setting" while live: the camera's property pages
        DeviceSetting, // "Setting" on a still picture: the device dialog
        StoreCalibration, // the opened picture's scale into a slot
        Report, // the inspection report as a PDF
        Count, // objects counted and sized on the picture
        SnapToEdges, // the measuring tools' points go onto edges
        LiveStack, // the live picture grows sharp everywhere while the focus turns
        CommandCount
    };
    // The commands with a panel button come first, in the order of their columns.
    static constexpr int kPanelCount = CrossLine + 1;

    // Window: anywhere in the main window. Picture: while the picture has the focus (after a
    // click on it), so lists and combos keep their own arrow and Delete keys.
    enum class Scope { Window, Picture };
    // Menu: the window's menu; MenuSection: the same, after a separator.
    enum class Place { None, LoadColumn, MeasureColumn, Menu, MenuSection };

    struct CEntry
    {
        Command command;
        Place place = Place::None;
        // The caption of the button or menu entry and the button's tooltip, in context.
        const char* caption = nullptr;
        const char* toolTip = nullptr;
        const char* context = "CSidePanel";
        const char* icon = nullptr; // the panel button's artwork, res/icons/NAME.svg
        QList<QKeySequence> keys {}; // the first one is the one shown
        Scope scope = Scope::Window;
        const char* description = nullptr; // the shortcut list's text, context CShortcutTable
        // Shown in the list instead of the keys; null: the keys. Commands listed under
        // another's row (the four arrows) have listed false.
        const char* keysShown = nullptr;
        bool listed = true;
        // A tool command: the tool it chooses and what makes it. Choosing runs the table's one
        // tool chooser.
        int toolMode = NoTool;
        ToolFactory tool = nullptr;
        bool endsTool = false; // the tool in progress is cancelled before the command runs
        bool checkable = false;
        bool (*enabled)(const CCommandState&) = nullptr; // null: always
        const char* objectName = nullptr; // of the action, for a menu entry tests look for
    };

    explicit CCommandTable(QObject* parent = nullptr);

    static const std::vector<CEntry>& Entries();
    static const CEntry& Entry(Command command);
    // The command whose row chooses the tool mode; CommandCount: none.
    static Command ToolCommand(int mode);

    // In the user's language: the caption (the description without one), the tooltip followed
    // by the key ("Draw line (L)"), the first key ("Ctrl+S").
    static QString Caption(Command command);
    static QString ToolTip(Command command);
    static QString KeyText(Command command);
    static QString Description(Command command);
    static QString WithKey(const QString& toolTip, Command command);
    // The rows of the "Keyboard shortcuts" list: a rich-text table of the commands with keys.
    static QString ListHtml();
    static bool InList(Command command);

    QAction* Action(Command command) const { return m_actions[size_t(command)]; }
    // The actions to add to the window or to the picture; their shortcut contexts are set.
    QList<QAction*> Actions(Scope scope) const;
    // The window menu's actions in order; a null entry stands for a separator.
    QList<QAction*> MenuActions() const;

    // What the command does; several bindings run in the order they were made. A binding
    // with an owner goes with the owner.
    void Bind(Command command, std::function<void()> run, const QObject* owner = nullptr);
    // Runs the command as its button would: nothing when it is disabled.
    void Trigger(Command command);
    // The one entry every tool command calls with its row's tool mode.
    void SetToolChooser(std::function<void(int mode, ToolFactory make)> choose)
    {
        m_chooseTool = std::move(choose);
    }
    // Runs before the commands that end the tool in progress.
    void SetToolEnder(std::function<void()> end) { m_endTool = std::move(end); }
    // Every command as its rule says in this state.
    void UpdateEnabled(const CCommandState& state);

private:
    std::array<QAction*, CommandCount> m_actions {};
    std::function<void(int mode, ToolFactory make)> m_chooseTool;
    std::function<void()> m_endTool;
};
