#include "app/CommandTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using T = CCommandTable;

bool InPanel(T::Place place)
{
    return place == T::Place::LoadColumn || place == T::Place::MeasureColumn;
}

} // namespace

TEST(CommandTable, PanelRowsComeFirstColumnByColumnWithCaptionTipAndArtwork)
{
    for (int i = 0; i < T::CommandCount; ++i) {
        const T::CEntry& entry = T::Entry(T::Command(i));
        SCOPED_TRACE(i);
        ASSERT_EQ(entry.command, i);
        EXPECT_EQ(InPanel(entry.place), i < T::kPanelCount);
        if (i > 0 && InPanel(entry.place))
            EXPECT_FALSE(entry.place == T::Place::LoadColumn
                    && T::Entry(T::Command(i - 1)).place == T::Place::MeasureColumn)
                    << "one column after the other";
        if (!InPanel(entry.place))
            continue;
        EXPECT_TRUE(entry.caption && entry.toolTip);
        EXPECT_STREQ(entry.context, "CSidePanel");
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/%1.svg").arg(entry.icon))) << entry.icon;
    }
    // Every command with a key is listed with words, and the list shows the key.
    for (const T::CEntry& entry : T::Entries()) {
        if (!T::InList(entry.command))
            continue;
        ASSERT_TRUE(entry.description) << entry.command;
        EXPECT_TRUE(T::ListHtml().contains(T::KeyText(entry.command).toHtmlEscaped()));
    }
    EXPECT_FALSE(T::InList(T::Setting)) << "a button without a key is not in the list";
    EXPECT_FALSE(T::InList(T::MoveRight)) << "listed under the arrow keys";
    EXPECT_TRUE(T::InList(T::PanPicture)) << "a gesture names its keys in words";
    EXPECT_EQ(T::Caption(T::Undo), QStringLiteral("Undo the last change of the drawing"));
    EXPECT_EQ(T::ToolTip(T::Save), QStringLiteral("Save image (Ctrl+S)"));
    EXPECT_EQ(T::ToolTip(T::Thumb), QStringLiteral("Thumbnail view"));
}

TEST(CommandTable, EachToolHasOneRowAndReachesTheOneChooser)
{
    T table;
    std::vector<int> chosen;
    int ended = 0;
    table.SetToolChooser([&chosen](int mode, ToolFactory make) {
        // Each row's factory makes the tool of its own mode.
        ASSERT_TRUE(make);
        EXPECT_EQ(make()->Mode(), mode);
        chosen.push_back(mode);
    });
    table.SetToolEnder([&ended] { ++ended; });
    std::vector<int> expected;
    for (const T::CEntry& entry : T::Entries()) {
        if (entry.toolMode == NoTool)
            continue;
        EXPECT_EQ(T::ToolCommand(entry.toolMode), entry.command) << "one row per tool";
        EXPECT_FALSE(entry.endsTool) << "a tool command chooses, it does not cancel first";
        expected.push_back(entry.toolMode);
        table.Trigger(entry.command);
    }
    EXPECT_EQ(chosen,
            (std::vector<int> { TextTool, LineTool, Angle3Tool, Angle4Tool, CircleTool,
                    DistanceTool, VerticalLinesTool, AreaTool }));
    EXPECT_EQ(chosen, expected);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(T::ToolCommand(SelectMode), T::CommandCount);
    EXPECT_EQ(T::ToolCommand(NoTool), T::CommandCount);
}

TEST(CommandTable, TheToolEndsBeforeTheCommandAndADisabledCommandDoesNothing)
{
    T table;
    std::vector<std::string> calls;
    table.SetToolEnder([&calls] { calls.emplace_back("end tool"); });
    table.Bind(T::Save, [&calls] { calls.emplace_back("save"); });
    table.Bind(T::Save, [&calls] { calls.emplace_back("and then"); });
    table.Bind(T::AHE, [&calls] { calls.emplace_back("equalize"); });
    table.Trigger(T::Save);
    table.Trigger(T::AHE);
    EXPECT_EQ(calls, (std::vector<std::string> { "end tool", "save", "and then", "equalize" }));

    calls.clear();
    table.Action(T::Save)->setEnabled(false);
    table.Trigger(T::Save);
    EXPECT_TRUE(calls.empty());

    // The rules: only image compare waits for live video.
    table.UpdateEnabled({ .still = true });
    for (int i = 0; i < T::CommandCount; ++i)
        EXPECT_EQ(table.Action(T::Command(i))->isEnabled(), i != T::ImgCmp) << i;
    table.UpdateEnabled({ .still = false });
    EXPECT_TRUE(table.Action(T::ImgCmp)->isEnabled());
    EXPECT_TRUE(table.Action(T::Save)->isEnabled()) << "the rule puts it back";

    // A binding goes with its owner.
    auto owner = std::make_unique<QObject>();
    table.Bind(
            T::Thumb, [&calls] { calls.emplace_back("thumb"); }, owner.get());
    owner.reset();
    table.Trigger(T::Thumb);
    EXPECT_EQ(calls, (std::vector<std::string> { "end tool" }));
}

TEST(CommandTable, ActionsCarryTheRowAndTheMenuItsOrder)
{
    T table;
    const QList<QAction*> window = table.Actions(T::Scope::Window);
    const QList<QAction*> picture = table.Actions(T::Scope::Picture);
    EXPECT_EQ(window.size() + picture.size(), T::CommandCount);
    for (int i = 0; i < T::CommandCount; ++i) {
        const auto command = T::Command(i);
        QAction* action = table.Action(command);
        SCOPED_TRACE(i);
        EXPECT_EQ(action->shortcuts(), T::Entry(command).keys);
        EXPECT_EQ(action->text(), T::Caption(command));
        const bool onPicture = T::Entry(command).scope == T::Scope::Picture;
        EXPECT_EQ(picture.contains(action), onPicture);
        EXPECT_EQ(action->shortcutContext(), onPicture ? Qt::WidgetShortcut : Qt::WindowShortcut);
    }
    EXPECT_TRUE(picture.contains(table.Action(T::DeleteSelection)));
    EXPECT_EQ(table.MenuActions(),
            (QList<QAction*> { table.Action(T::About), table.Action(T::ShortcutList), nullptr,
                    table.Action(T::DirectedAngles), nullptr, table.Action(T::Report),
                    table.Action(T::Count), table.Action(T::SnapToEdges) }));
    EXPECT_TRUE(table.Action(T::DirectedAngles)->isCheckable());
    EXPECT_EQ(table.Action(T::DirectedAngles)->objectName(), QStringLiteral("directedAngles"));
    EXPECT_EQ(table.Action(T::About)->text(), QStringLiteral("&About Kalvex..."));
}

TEST(CommandTable, EveryCaptionAndTipReadsInChinese)
{
    // Each row's texts are looked up in the context its row names.
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/keys_zh_CN.qm")));
    QCoreApplication::installTranslator(&translator);
    for (const T::CEntry& entry : T::Entries()) {
        SCOPED_TRACE(entry.command);
        if (entry.caption)
            EXPECT_NE(T::Caption(entry.command), QString::fromUtf8(entry.caption));
        if (entry.toolTip)
            EXPECT_FALSE(T::ToolTip(entry.command).startsWith(QString::fromUtf8(entry.toolTip)));
        if (entry.description)
            EXPECT_NE(T::Description(entry.command), QString::fromUtf8(entry.description));
    }
    const QString line = T::ToolTip(T::Line);
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(line, QStringLiteral("绘制直线 (L)"));
}
