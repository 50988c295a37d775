#include "app/CommandTable.h"

#include "measure/Angle3Tool.h"
#include "measure/Angle4Tool.h"
#include "measure/AreaTool.h"
#include "measure/CircleTool.h"
#include "measure/DistanceTool.h"
#include "measure/LineTool.h"
#include "measure/TextTool.h"
#include "measure/VerticalLinesTool.h"

#include <QAction>
#include <QCoreApplication>

namespace {

QString Translated(const char* context, const char* text)
{
    return text ? QCoreApplication::translate(context, text) : QString();
}

QList<QKeySequence> Keys(std::initializer_list<QKeyCombination> keys)
{
    QList<QKeySequence> list;
    for (QKeyCombination key : keys)
        list << QKeySequence(key);
    return list;
}

bool OnlyLive(const CCommandState& state)
{
    return !state.still;
}

std::vector<CCommandTable::CEntry> BuildEntries()
{
    using T = CCommandTable;
    using S = CCommandTable::Scope;
    using P = CCommandTable::Place;
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifier shift = Qt::ShiftModifier;
    constexpr const char* kWindow = "CTavoMeasureDlg";
    // In the order of the commands; every caption a whole word.
    return {
        { .command = T::Video,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Video"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Video source"),
                .icon = "video-live",
                .keys = Keys({ Qt::Key_P }),
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Switch between live video and still picture") },
        { .command = T::Setting,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Setting"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Video setting"),
                .icon = "setting",
                .endsTool = true },
        { .command = T::Save,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Save"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Save image"),
                .icon = "save",
                .keys = Keys({ ctrl | Qt::Key_S }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Save the picture"),
                .endsTool = true },
        { .command = T::SaveSetting,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Save setting"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Saving setting"),
                .icon = "save-setting",
                .endsTool = true },
        { .command = T::SaveAs,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "SaveAs"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Save as"),
                .icon = "save-as",
                .keys = Keys({ ctrl | shift | Qt::Key_S }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Save the picture as"),
                .endsTool = true },
        { .command = T::Measure,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Measure"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Enable or disable measure"),
                .icon = "measure-off",
                .endsTool = true },
        { .command = T::Thumb,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Thumb"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Thumbnail view"),
                .icon = "thumb",
                .endsTool = true },
        // Compares with the live picture, so it waits for live video.
        { .command = T::ImgCmp,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "ImgCmp"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Image compare"),
                .icon = "image-compare",
                .endsTool = true,
                .enabled = OnlyLive },
        { .command = T::Anotation,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Anotation"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw text"),
                .icon = "annotation",
                .keys = Keys({ Qt::Key_T }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw text"),
                .toolMode = TextTool,
                .tool = &MakeTool<CTextTool> },
        { .command = T::AnotationDB,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "AnotationDB"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Text management"),
                .icon = "annotation-db",
                .endsTool = true },
        { .command = T::AHE,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "AHE"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Brightness Equalize"),
                .icon = "equalize" },
        { .command = T::Merge,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Merge"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Image merge"),
                .icon = "merge" },
        { .command = T::WB,
                .place = P::LoadColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "WB"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "White balance"),
                .icon = "white-balance",
                .endsTool = true },
        { .command = T::Line,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Line"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw line"),
                .icon = "line",
                .keys = Keys({ Qt::Key_L }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw line"),
                .toolMode = LineTool,
                .tool = &MakeTool<CLineTool> },
        { .command = T::Angle3,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Angle3"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw three-point angle"),
                .icon = "angle3",
                .keys = Keys({ Qt::Key_A }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw three-point angle"),
                .toolMode = Angle3Tool,
                .tool = &MakeTool<CAngle3Tool> },
        { .command = T::Angle4,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Angle4"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw four-point angle"),
                .icon = "angle4",
                .keys = Keys({ Qt::Key_F }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw four-point angle"),
                .toolMode = Angle4Tool,
                .tool = &MakeTool<CAngle4Tool> },
        { .command = T::Circle,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Circle"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw circle"),
                .icon = "circle",
                .keys = Keys({ Qt::Key_C }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw circle"),
                .toolMode = CircleTool,
                .tool = &MakeTool<CCircleTool> },
        { .command = T::Distance,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Distance"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw Distance"),
                .icon = "distance",
                .keys = Keys({ Qt::Key_D }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw distance"),
                .toolMode = DistanceTool,
                .tool = &MakeTool<CDistanceTool> },
        { .command = T::Vertical,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Vertical"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw vertical lines"),
                .icon = "vertical",
                .keys = Keys({ Qt::Key_V }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw vertical lines"),
                .toolMode = VerticalLinesTool,
                .tool = &MakeTool<CVerticalLinesTool> },
        { .command = T::Area,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Area"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Draw area"),
                .icon = "area",
                .keys = Keys({ Qt::Key_R }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Draw area"),
                .toolMode = AreaTool,
                .tool = &MakeTool<CAreaTool> },
        { .command = T::Clear,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Clear"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Clear measurement"),
                .icon = "clear",
                .endsTool = true },
        { .command = T::SaveCsv,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "SaveCsv"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Save measurement"),
                .icon = "save-csv",
                .endsTool = true },
        { .command = T::Color,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Color"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Color setting"),
                .icon = "color",
                .endsTool = true },
        { .command = T::CAL,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "CAL"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Calibration"),
                .icon = "calibration",
                .endsTool = true },
        { .command = T::CrossLine,
                .place = P::MeasureColumn,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Cross\nLine"),
                .toolTip = QT_TRANSLATE_NOOP("CSidePanel", "Crossline"),
                .icon = "crossline",
                .endsTool = true },
        { .command = T::Undo,
                .keys = Keys({ ctrl | Qt::Key_Z }),
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Undo the last change of the drawing") },
        { .command = T::Redo,
                .keys = Keys({ ctrl | shift | Qt::Key_Z, ctrl | Qt::Key_Y }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Redo what was undone") },
        { .command = T::DeleteSelection,
                .keys = Keys({ Qt::Key_Delete }),
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Remove the selected shape") },
        { .command = T::CancelInProgress,
                .keys = Keys({ Qt::Key_Escape }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Cancel the tool in progress") },
        { .command = T::MoveLeft,
                .keys = Keys({ Qt::Key_Left }),
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Move the selected shape by one picture pixel"),
                .keysShown = QT_TRANSLATE_NOOP("CShortcutTable", "Arrow keys") },
        { .command = T::MoveRight,
                .keys = Keys({ Qt::Key_Right }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::MoveUp,
                .keys = Keys({ Qt::Key_Up }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::MoveDown,
                .keys = Keys({ Qt::Key_Down }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::MoveLeftFar,
                .keys = Keys({ shift | Qt::Key_Left }),
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Move the selected shape by ten picture pixels"),
                .keysShown = QT_TRANSLATE_NOOP("CShortcutTable", "Shift+Arrow keys") },
        { .command = T::MoveRightFar,
                .keys = Keys({ shift | Qt::Key_Right }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::MoveUpFar,
                .keys = Keys({ shift | Qt::Key_Up }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::MoveDownFar,
                .keys = Keys({ shift | Qt::Key_Down }),
                .scope = S::Picture,
                .listed = false },
        { .command = T::CopyPicture,
                .keys = Keys({ ctrl | Qt::Key_C }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable",
                        "Copy the picture (with the measurements when \"Measure\" is on)") },
        { .command = T::Snapshot,
                .keys = Keys({ Qt::Key_F12 }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable",
                        "Take a snapshot, as the camera's snapshot button does") },
        { .command = T::ZoomIn,
                .keys = Keys({ ctrl | Qt::Key_Plus, ctrl | Qt::Key_Equal }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Zoom in") },
        { .command = T::ZoomOut,
                .keys = Keys({ ctrl | Qt::Key_Minus }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Zoom out") },
        { .command = T::ZoomFit,
                .keys = Keys({ ctrl | Qt::Key_0 }),
                .description =
                        QT_TRANSLATE_NOOP("CShortcutTable", "Fit the picture in the window") },
        { .command = T::FocusPeaking,
                .keys = Keys({ Qt::Key_E }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Focus peaking on or off") },
        { .command = T::PanPicture,
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Pan the zoomed picture (or use the scroll bars)"),
                .keysShown = QT_TRANSLATE_NOOP("CShortcutTable", "Right-drag") },
        { .command = T::ScrollPicture,
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP("CShortcutTable",
                        "Scroll the zoomed picture up and down, "
                        "with Shift sideways"),
                .keysShown = QT_TRANSLATE_NOOP("CShortcutTable", "Wheel, Shift+Wheel") },
        { .command = T::ZoomAtPointer,
                .scope = S::Picture,
                .description =
                        QT_TRANSLATE_NOOP("CShortcutTable", "Zoom in or out about the pointer"),
                .keysShown = QT_TRANSLATE_NOOP("CShortcutTable", "Ctrl+Wheel") },
        { .command = T::About,
                .place = P::Menu,
                .caption = QT_TRANSLATE_NOOP("CTavoMeasureDlg", "&About Kalvex..."),
                .context = kWindow,
                .keys = Keys({ Qt::Key_F1 }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "About Kalvex") },
        { .command = T::ShortcutList,
                .place = P::Menu,
                .caption = QT_TRANSLATE_NOOP("CTavoMeasureDlg", "&Keyboard shortcuts..."),
                .context = kWindow },
        { .command = T::DirectedAngles,
                .place = P::MenuSection,
                .caption = QT_TRANSLATE_NOOP(
                        "CTavoMeasureDlg", "&Directed three-point angles (0 to 360 degrees)"),
                .context = kWindow,
                .checkable = true,
                .objectName = "directedAngles" },
        // Reached through "Setting", which ends the tool.
        { .command = T::VideoSetting },
        { .command = T::DeviceSetting },
        { .command = T::StoreCalibration,
                .caption = QT_TRANSLATE_NOOP("CSidePanel", "Store..."),
                .toolTip = QT_TRANSLATE_NOOP(
                        "CSidePanel", "Keep this picture's scale in a calibration slot") },
        { .command = T::Report,
                .place = P::MenuSection,
                .caption = QT_TRANSLATE_NOOP("CTavoMeasureDlg", "&Report..."),
                .context = kWindow,
                .keys = Keys({ ctrl | Qt::Key_P }),
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Write a report of the picture and its results (PDF)"),
                .endsTool = true,
                .objectName = "reportAction" },
        { .command = T::Count,
                .place = P::Menu,
                .caption = QT_TRANSLATE_NOOP("CTavoMeasureDlg", "&Count objects..."),
                .context = kWindow,
                .keys = Keys({ ctrl | shift | Qt::Key_C }),
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Count and size the objects on the picture"),
                .endsTool = true,
                .objectName = "countAction" },
        { .command = T::SnapToEdges,
                .place = P::Menu,
                .caption = QT_TRANSLATE_NOOP("CTavoMeasureDlg", "&Snap to edges"),
                .toolTip = QT_TRANSLATE_NOOP("CTavoMeasureDlg",
                        "Points of the measuring tools go onto the nearest edge, to a part of a "
                        "pixel; hold Shift to place one freely"),
                .context = kWindow,
                .keys = Keys({ Qt::Key_S }),
                .scope = S::Picture,
                .description = QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Snap to edges on or off (Shift places a point freely)"),
                .checkable = true,
                .objectName = "snapToEdges" },
        { .command = T::LiveStack,
                .keys = Keys({ Qt::Key_K }),
                .description = QT_TRANSLATE_NOOP("CShortcutTable", "Live stack on or off") },
    };
}

} // namespace

const std::vector<CCommandTable::CEntry>& CCommandTable::Entries()
{
    static const std::vector<CEntry> entries = BuildEntries();
    return entries;
}

const CCommandTable::CEntry& CCommandTable::Entry(Command command)
{
    // Built in the order of the commands.
    return Entries()[static_cast<size_t>(command)];
}

CCommandTable::Command CCommandTable::ToolCommand(int mode)
{
    for (const CEntry& entry : Entries()) {
        if (entry.toolMode != NoTool && entry.toolMode == mode)
            return entry.command;
    }
    return CommandCount;
}

QString CCommandTable::Caption(Command command)
{
    const CEntry& entry = Entry(command);
    return entry.caption ? Translated(entry.context, entry.caption) : Description(command);
}

QString CCommandTable::ToolTip(Command command)
{
    const CEntry& entry = Entry(command);
    const QString tip = Translated(entry.context, entry.toolTip);
    return entry.keys.isEmpty() || tip.isEmpty() ? tip : WithKey(tip, command);
}

QString CCommandTable::KeyText(Command command)
{
    const CEntry& entry = Entry(command);
    if (entry.keysShown)
        return Translated("CShortcutTable", entry.keysShown);
    return entry.keys.isEmpty() ? QString()
                                : entry.keys.constFirst().toString(QKeySequence::NativeText);
}

QString CCommandTable::Description(Command command)
{
    return Translated("CShortcutTable", Entry(command).description);
}

QString CCommandTable::WithKey(const QString& toolTip, Command command)
{
    return QStringLiteral("%1 (%2)").arg(toolTip, KeyText(command));
}

QString CCommandTable::ListHtml()
{
    QString html = QStringLiteral("<table cellspacing=\"2\" cellpadding=\"2\">");
    for (const CEntry& entry : Entries()) {
        if (!InList(entry.command))
            continue;
        QStringList keys;
        if (entry.keysShown)
            keys << Translated("CShortcutTable", entry.keysShown);
        else
            for (const QKeySequence& key : entry.keys)
                keys << key.toString(QKeySequence::NativeText);
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                        .arg(keys.join(QStringLiteral(", ")).toHtmlEscaped(),
                                Description(entry.command).toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

bool CCommandTable::InList(Command command)
{
    // Commands without a key are the panel's and the menu's only.
    const CEntry& entry = Entry(command);
    return entry.listed && (!entry.keys.isEmpty() || entry.keysShown);
}

CCommandTable::CCommandTable(QObject* parent) : QObject(parent)
{
    for (const CEntry& entry : Entries()) {
        auto* action = new QAction(Caption(entry.command), this);
        action->setToolTip(ToolTip(entry.command));
        action->setShortcuts(entry.keys);
        action->setShortcutContext(
                entry.scope == Scope::Picture ? Qt::WidgetShortcut : Qt::WindowShortcut);
        action->setCheckable(entry.checkable);
        if (entry.objectName)
            action->setObjectName(QLatin1String(entry.objectName));
        m_actions[size_t(entry.command)] = action;
        // Connected first, so it runs before what the command is bound to.
        if (entry.endsTool)
            connect(action, &QAction::triggered, this, [this] {
                if (m_endTool)
                    m_endTool();
            });
        if (entry.toolMode != NoTool)
            connect(action, &QAction::triggered, this,
                    [this, mode = entry.toolMode, make = entry.tool] {
                        if (m_chooseTool)
                            m_chooseTool(mode, make);
                    });
    }
}

QList<QAction*> CCommandTable::Actions(Scope scope) const
{
    QList<QAction*> actions;
    for (const CEntry& entry : Entries()) {
        if (entry.scope == scope)
            actions << Action(entry.command);
    }
    return actions;
}

QList<QAction*> CCommandTable::MenuActions() const
{
    QList<QAction*> actions;
    for (const CEntry& entry : Entries()) {
        if (entry.place == Place::MenuSection)
            actions << nullptr;
        if (entry.place == Place::Menu || entry.place == Place::MenuSection)
            actions << Action(entry.command);
    }
    return actions;
}

void CCommandTable::Bind(Command command, std::function<void()> run, const QObject* owner)
{
    connect(Action(command), &QAction::triggered, owner ? owner : this,
            [run = std::move(run)] { run(); });
}

void CCommandTable::Trigger(Command command)
{
    Action(command)->trigger();
}

void CCommandTable::UpdateEnabled(const CCommandState& state)
{
    for (const CEntry& entry : Entries())
        Action(entry.command)->setEnabled(!entry.enabled || entry.enabled(state));
}
