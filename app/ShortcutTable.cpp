#include "app/ShortcutTable.h"

#include <QCoreApplication>

namespace {

QString Translated(const char* text)
{
    return QCoreApplication::translate("CShortcutTable", text);
}

QList<QKeySequence> Keys(std::initializer_list<QKeyCombination> keys)
{
    QList<QKeySequence> list;
    for (QKeyCombination key : keys)
        list << QKeySequence(key);
    return list;
}

std::vector<CShortcutTable::CEntry> BuildEntries()
{
    using T = CShortcutTable;
    using S = CShortcutTable::Scope;
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifier shift = Qt::ShiftModifier;
    return {
        { T::Undo, Keys({ ctrl | Qt::Key_Z }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Undo the last change of the drawing") },
        { T::Redo, Keys({ ctrl | shift | Qt::Key_Z, ctrl | Qt::Key_Y }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Redo what was undone") },
        { T::DeleteSelection, Keys({ Qt::Key_Delete }), S::Picture,
                QT_TRANSLATE_NOOP("CShortcutTable", "Remove the selected shape") },
        { T::CancelTool, Keys({ Qt::Key_Escape }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Cancel the tool in progress") },
        { T::MoveLeft, Keys({ Qt::Key_Left }), S::Picture,
                QT_TRANSLATE_NOOP("CShortcutTable", "Move the selected shape by one picture pixel"),
                QT_TRANSLATE_NOOP("CShortcutTable", "Arrow keys") },
        { T::MoveRight, Keys({ Qt::Key_Right }), S::Picture, "", nullptr, false },
        { T::MoveUp, Keys({ Qt::Key_Up }), S::Picture, "", nullptr, false },
        { T::MoveDown, Keys({ Qt::Key_Down }), S::Picture, "", nullptr, false },
        { T::MoveLeftFar, Keys({ shift | Qt::Key_Left }), S::Picture,
                QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Move the selected shape by ten picture pixels"),
                QT_TRANSLATE_NOOP("CShortcutTable", "Shift+Arrow keys") },
        { T::MoveRightFar, Keys({ shift | Qt::Key_Right }), S::Picture, "", nullptr, false },
        { T::MoveUpFar, Keys({ shift | Qt::Key_Up }), S::Picture, "", nullptr, false },
        { T::MoveDownFar, Keys({ shift | Qt::Key_Down }), S::Picture, "", nullptr, false },
        { T::CopyPicture, Keys({ ctrl | Qt::Key_C }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable",
                        "Copy the picture (with the measurements when \"Measure\" is on)") },
        { T::Save, Keys({ ctrl | Qt::Key_S }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Save the picture") },
        { T::SaveAs, Keys({ ctrl | shift | Qt::Key_S }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Save the picture as") },
        { T::Snapshot, Keys({ Qt::Key_F12 }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable",
                        "Take a snapshot, as the camera's snapshot button does") },
        { T::VideoStill, Keys({ Qt::Key_P }), S::Window,
                QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Switch between live video and still picture") },
        { T::ZoomIn, Keys({ ctrl | Qt::Key_Plus, ctrl | Qt::Key_Equal }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Zoom in") },
        { T::ZoomOut, Keys({ ctrl | Qt::Key_Minus }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Zoom out") },
        { T::ZoomFit, Keys({ ctrl | Qt::Key_0 }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Fit the picture in the window") },
        { T::LineTool, Keys({ Qt::Key_L }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw line") },
        { T::Angle3Tool, Keys({ Qt::Key_A }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw three-point angle") },
        { T::Angle4Tool, Keys({ Qt::Key_F }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw four-point angle") },
        { T::CircleTool, Keys({ Qt::Key_C }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw circle") },
        { T::DistanceTool, Keys({ Qt::Key_D }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw distance") },
        { T::VerticalLinesTool, Keys({ Qt::Key_V }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw vertical lines") },
        { T::AreaTool, Keys({ Qt::Key_R }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw area") },
        { T::TextTool, Keys({ Qt::Key_T }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Draw text") },
        { T::FocusPeaking, Keys({ Qt::Key_E }), S::Window,
                QT_TRANSLATE_NOOP("CShortcutTable", "Focus peaking on or off") },
        { T::PanPicture, {}, S::Picture,
                QT_TRANSLATE_NOOP(
                        "CShortcutTable", "Pan the zoomed picture (or use the scroll bars)"),
                QT_TRANSLATE_NOOP("CShortcutTable", "Right-drag") },
        { T::ScrollPicture, {}, S::Picture,
                QT_TRANSLATE_NOOP("CShortcutTable",
                        "Scroll the zoomed picture up and down, "
                        "with Shift sideways"),
                QT_TRANSLATE_NOOP("CShortcutTable", "Wheel, Shift+Wheel") },
        { T::ZoomAtPointer, {}, S::Picture,
                QT_TRANSLATE_NOOP("CShortcutTable", "Zoom in or out about the pointer"),
                QT_TRANSLATE_NOOP("CShortcutTable", "Ctrl+Wheel") },
    };
}

} // namespace

const std::vector<CShortcutTable::CEntry>& CShortcutTable::Entries()
{
    static const std::vector<CEntry> entries = BuildEntries();
    return entries;
}

const CShortcutTable::CEntry& CShortcutTable::Entry(Command command)
{
    // Built in the order of the commands.
    return Entries()[static_cast<size_t>(command)];
}

QString CShortcutTable::KeyText(Command command)
{
    const CEntry& entry = Entry(command);
    if (entry.keysShown)
        return Translated(entry.keysShown);
    return entry.keys.isEmpty() ? QString()
                                : entry.keys.constFirst().toString(QKeySequence::NativeText);
}

QString CShortcutTable::Description(Command command)
{
    return Translated(Entry(command).description);
}

QString CShortcutTable::WithKey(const QString& toolTip, Command command)
{
    return QStringLiteral("%1 (%2)").arg(toolTip, KeyText(command));
}

QString CShortcutTable::ListHtml()
{
    QString html = QStringLiteral("<table cellspacing=\"2\" cellpadding=\"2\">");
    for (const CEntry& entry : Entries()) {
        if (!entry.listed)
            continue;
        QStringList keys;
        if (entry.keysShown)
            keys << Translated(entry.keysShown);
        else
            for (const QKeySequence& key : entry.keys)
                keys << key.toString(QKeySequence::NativeText);
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                        .arg(keys.join(QStringLiteral(", ")).toHtmlEscaped(),
                                Description(entry.command).toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}
