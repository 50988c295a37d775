#include "measure/DrawContext.h"
#include "measure/LineShape.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

#include "ShapeDrivers.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

// Tools and shapes driven with plain calls, without a window: the tool box of a shape
// manager, and single shapes on a host of their own.
namespace {

class Tools : public testing::Test
{
protected:
    void SetUp() override
    {
        m.SetClientSize({ 640, 480 });
        m.Tools().SetEndedHook([this](int mode) { ended.push_back(mode); });
    }
    int Choose(int mode) { return ChooseTool(m.Tools(), mode); }

    CShapeManager m;
    std::vector<int> ended;
};

TEST_F(Tools, LineEndsWithItsRelease)
{
    EXPECT_EQ(Choose(LineTool), LineTool);
    m.OnLButtonDown(100, 100);
    m.OnMouseMove(200, 150);
    EXPECT_FALSE(m.Tools().EndIfFinished()) << "pressed, not released";
    m.OnLButtonUp(200, 150);
    m.Tools().Settle({ 200, 150 });
    EXPECT_EQ(ended, std::vector<int> { LineTool });
    EXPECT_EQ(m.ToolMode(), SelectMode);
    EXPECT_EQ(m.ShapeCount(), 1);
    ASSERT_EQ(m.ResultRows().size(), 1u);
    EXPECT_EQ(m.ResultRows()[0].type, QStringLiteral("length"));
}

TEST_F(Tools, ClickToolsEndOnTheirLastRelease)
{
    struct Case
    {
        int mode;
        std::vector<QPoint> clicks;
        const char* row;
    };
    const Case cases[] = {
        { Angle3Tool, { { 100, 100 }, { 200, 100 }, { 200, 200 } }, "degree" },
        { CircleTool, { { 100, 200 }, { 200, 100 }, { 300, 200 } }, "diameter" },
        { Angle4Tool, { { 100, 100 }, { 200, 100 }, { 100, 150 }, { 200, 250 } }, "degree" },
        { DistanceTool,
                { { 100, 200 }, { 150, 150 }, { 200, 200 }, { 300, 200 }, { 350, 150 },
                        { 400, 200 } },
                "distance" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        m.RemoveAll();
        ended.clear();
        Choose(c.mode);
        for (size_t i = 0; i < c.clicks.size(); ++i) {
            EXPECT_TRUE(ended.empty()) << "ended before click " << i + 1;
            Click(m, c.clicks[i].x(), c.clicks[i].y());
            m.Tools().Settle(c.clicks[i]);
        }
        EXPECT_EQ(ended, std::vector<int> { c.mode });
        EXPECT_EQ(m.ToolMode(), SelectMode);
        ASSERT_EQ(m.ShapeCount(), 1);
        ASSERT_FALSE(m.ResultRows().empty());
        EXPECT_EQ(m.ResultRows()[0].type, QString::fromLatin1(c.row));
    }
}

TEST_F(Tools, AreaEndsOnTheDoubleClickAndNeverOnAClick)
{
    Choose(AreaTool);
    for (QPoint p : { QPoint(100, 100), QPoint(300, 100), QPoint(300, 300), QPoint(100, 300) }) {
        Click(m, p.x(), p.y());
        m.Tools().Settle(p);
    }
    EXPECT_EQ(m.ToolMode(), AreaTool);
    m.OnLButtonDblClk(100, 300);
    EXPECT_TRUE(m.Tools().EndIfFinished());
    EXPECT_EQ(ended, std::vector<int> { AreaTool });
    ASSERT_EQ(m.ResultRows().size(), 1u);
    EXPECT_EQ(m.ResultRows()[0].type, QStringLiteral("acreage"));
}

TEST_F(Tools, TheSameToolAgainEndsItAndDropsItsShape)
{
    Choose(Angle3Tool);
    ClickAll(m, { { 100, 100 }, { 200, 100 } });
    ASSERT_TRUE(m.HasWorkInProgress());
    EXPECT_EQ(Choose(Angle3Tool), SelectMode);
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_FALSE(m.CanUndo()) << "an abandoned shape was never a step";
    EXPECT_TRUE(ended.empty()) << "only a tool that finishes by itself reports it";
}

TEST_F(Tools, EscAndAnotherToolDropTheUnfinishedShape)
{
    Choose(CircleTool);
    Click(m, 100, 200);
    m.Tools().Cancel();
    EXPECT_EQ(m.ToolMode(), SelectMode);
    EXPECT_EQ(m.ShapeCount(), 0);

    DrawLine(m, { 10, 10 }, { 100, 10 });
    Choose(Angle4Tool);
    ClickAll(m, { { 100, 100 }, { 200, 100 }, { 100, 150 } });
    EXPECT_EQ(Choose(DistanceTool), DistanceTool);
    EXPECT_EQ(m.ShapeCount(), 1) << "the finished line stays, the angle goes";
}

TEST_F(Tools, BaselinesStayOnceTheyHaveAPerpendicular)
{
    Choose(VerticalLinesTool);
    ClickAll(m, { { 10, 100 }, { 300, 100 } });
    Choose(LineTool);
    EXPECT_EQ(m.ShapeCount(), 0) << "a baseline alone is abandoned";

    Choose(VerticalLinesTool);
    ClickAll(m, { { 10, 100 }, { 300, 100 }, { 150, 40 } });
    ASSERT_TRUE(m.ShapeAt(0)->InConstruction());
    m.Tools().Cancel();
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_FALSE(m.ShapeAt(0)->InConstruction()) << "ended, not abandoned";
    EXPECT_EQ(m.ResultRows().size(), 1u);
}

TEST_F(Tools, UndoLeavesTheBaselineOpenOnlyForItsOwnTool)
{
    for (int after : { VerticalLinesTool, SelectMode }) {
        SCOPED_TRACE(after);
        m.RemoveAll();
        m.ResetHistory();
        UseTool(m, VerticalLinesTool);
        ClickAll(m, { { 10, 100 }, { 300, 100 }, { 150, 40 }, { 200, 40 } });
        UseTool(m, after);
        ASSERT_TRUE(m.Undo());
        ASSERT_EQ(m.ShapeCount(), 1);
        EXPECT_EQ(m.ShapeAt(0)->InConstruction(), after == VerticalLinesTool);
    }
}

TEST_F(Tools, TextIsAskedForAfterTheReleaseAndLeavesOtherWorkAlone)
{
    std::optional<QString> answer = QStringLiteral("scale bar");
    m.Tools().SetServices({ [&answer] { return answer; } });
    Choose(Angle3Tool);
    Click(m, 100, 100);
    EXPECT_EQ(Choose(TextTool), TextTool);
    EXPECT_EQ(Choose(TextTool), TextTool) << "chosen again it starts again";
    EXPECT_EQ(m.ShapeCount(), 1) << "the half-drawn angle is not the text tool's";
    Click(m, 50, 60);
    m.Tools().Settle({ 50, 60 });
    EXPECT_EQ(m.Texts(), QStringList { QStringLiteral("scale bar") });
    EXPECT_EQ(ended, std::vector<int> { TextTool });

    answer.reset();
    Choose(TextTool);
    Click(m, 50, 60);
    m.Tools().Settle({ 50, 60 });
    EXPECT_EQ(m.TextCount(), 1) << "Cancel adds nothing";
    EXPECT_EQ(m.ToolMode(), SelectMode);
}

TEST_F(Tools, OnlyTheirToolsSnapOrShowTheGrabCursor)
{
    Choose(LineTool);
    EXPECT_TRUE(m.Tools().Active().SnapsWithShift());
    EXPECT_FALSE(m.Tools().Active().ShowsGrabCursor());
    Choose(SelectMode);
    EXPECT_TRUE(m.Tools().Active().ShowsGrabCursor());
    EXPECT_FALSE(m.Tools().Active().SnapsWithShift());
}

// A host for shapes alone: no drawing, no lock.
class LoneHost : public CShapeHost
{
public:
    uint32_t NextShapeId() override { return ++id; }
    double ScaleX() const override { return 0.5; }
    double ScaleY() const override { return 0.5; }
    QString UnitText() const override { return QStringLiteral("mm"); }
    bool DirectedAngles() const override { return false; }
    bool ButtonHeld() const override { return true; }
    QSize HitCharSize() const override { return { 8, 16 }; }
    QPoint ImageToWindow(QPoint image) const override { return image; }
    float CanvasZoom() const override { return 1.0f; }
    void InvalidateWindowRect(const QRect&) override { ++invalidated; }
    void InvalidateAll() override { ++invalidated; }
    void DetachShape(CMeasureShape*) override { ++detached; }
    void Retire(std::unique_ptr<CMeasureShape>) override { }
    void CalibrationRulerMoved() override { }

    uint32_t id = 0;
    int invalidated = 0;
    int detached = 0;
};

TEST(Shapes, ALineOnAHostOfItsOwnGivesRowsDropsAndClones)
{
    LoneHost host;
    CLineShape line(&host);
    line.OnLButtonDown(10, 10, LineTool);
    line.OnMouseMove(70, 90, LineTool);
    EXPECT_TRUE(line.DropOnCancel()) << "still being drawn";
    EXPECT_FALSE(line.Settled());
    line.OnLButtonUp(70, 90, LineTool);
    EXPECT_FALSE(line.DropOnCancel());
    EXPECT_GT(host.invalidated, 0);

    std::vector<CResultRow> rows;
    line.AppendRows(rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].result, QStringLiteral("50.000")) << "100 pixels at 0.5 mm";
    EXPECT_EQ(rows[0].unit, QStringLiteral("mm"));
    EXPECT_EQ(rows[0].rowId, line.ValueLabel()->Id());

    const std::unique_ptr<CMeasureShape> copy = line.Clone();
    std::vector<CResultRow> copied;
    copy->AppendRows(copied);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].rowId, rows[0].rowId);
    EXPECT_EQ(copied[0].result, rows[0].result);
    double pixels = 0;
    QPoint centre;
    ASSERT_TRUE(copy->ReferenceLength(pixels, centre));
    EXPECT_DOUBLE_EQ(pixels, 100.0);
    EXPECT_EQ(centre, QPoint(40, 50));

    CLineShape tiny(&host);
    tiny.OnLButtonDown(10, 10, LineTool);
    tiny.OnLButtonUp(12, 12, LineTool);
    EXPECT_EQ(host.detached, 1) << "a line too short to see removes itself";
}

TEST(Shapes, DrawThroughTheContextOnly)
{
    LoneHost host;
    CLineShape line(&host);
    line.OnLButtonDown(10, 20, LineTool);
    line.OnMouseMove(60, 20, LineTool);
    line.OnLButtonUp(60, 20, LineTool);

    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDrawStyle style { QPen(Qt::green, 1), QFont(), Qt::white };
    CViewTransform view;
    view.zoom = 1.0f;
    view.panX = 10; // window pixels the picture is moved by
    {
        QPainter painter(&image);
        CDrawContext dc(painter, CDrawContext::Target::Canvas, view, style);
        line.Draw(dc, false);
    }
    EXPECT_EQ(image.pixel(20, 20), QColor(Qt::green).rgb()) << "image x 30 at pan 10";
    EXPECT_EQ(image.pixel(20, 40), QColor(Qt::black).rgb());

    QPainter painter(&image);
    CDrawContext screen(painter, CDrawContext::Target::Canvas, view, style);
    CDrawContext saved(painter, CDrawContext::Target::Image, view, style);
    screen.SetMarked(line.Id(), 0);
    saved.SetMarked(line.Id(), 0);
    EXPECT_TRUE(screen.IsMarked(line.Id()));
    EXPECT_FALSE(saved.IsMarked(line.Id())) << "saved pictures show nothing in hand";
}

} // namespace
