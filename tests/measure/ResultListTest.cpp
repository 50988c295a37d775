#include "measure/ResultCsv.h"
#include "measure/ResultListCtrl.h"

#include "FileSizeLimit.h"
#include "RecordingMessages.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {
// Stands in for the canvas and its shape manager: rows sharing an id belong to one shape.
struct CFakeCanvas
{
    std::vector<CResultRow> rows;
    std::vector<uint32_t> removed;
    std::vector<std::pair<uint32_t, bool>> highlights;
    int removeAlls = 0;
    int toolCancels = 0;
    int invalidates = 0;
    QString folder;

    CResultListCtrl::CHooks Hooks()
    {
        CResultListCtrl::CHooks h;
        h.resultRows = [this] { return rows; };
        h.removeByRowId = [this](uint32_t id) {
            removed.push_back(id);
            std::erase_if(rows, [id](const CResultRow& r) { return r.rowId == id; });
        };
        h.removeAll = [this] {
            ++removeAlls;
            rows.clear();
        };
        h.highlightByRowId = [this](uint32_t id, bool on) { highlights.push_back({ id, on }); };
        h.cancelTool = [this] { ++toolCancels; };
        h.invalidateCanvas = [this] { ++invalidates; };
        h.measureFolder = [this] { return folder; };
        return h;
    }
};

class ResultListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        canvas.rows = { { 11, "length", "1.234", "mm" }, { 22, "degree", "45.0", "deg." },
            { 33, "acreage", "2.5000", "mm^2" } };
        list.SetHooks(canvas.Hooks());
        list.resize(260, 200);
        list.Refill();
    }
    void ClickRow(int row)
    {
        const QRect r = list.visualItemRect(list.topLevelItem(row));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, r.center());
    }

    CFakeCanvas canvas;
    CResultListCtrl list;
    CRecordingMessages recorder;

    // The questions as "caption: text", and the errors shown.
    QStringList Questions() const
    {
        QStringList asked;
        for (size_t i = 0; i < recorder.All().size(); ++i)
            if (recorder.Kinds()[i] == CRecordingMessages::Kind::Ask)
                asked << recorder.All()[i].caption + ": " + recorder.All()[i].text;
        return asked;
    }
    QStringList Messages() const { return recorder.Texts(CRecordingMessages::Kind::Error); }
};
} // namespace

TEST_F(ResultListTest, ReportColumnsAndRows)
{
    const QStringList headings { "No.", "Type", "Result", "Unit" };
    const int widths[] = { 42, 70, 85, 45 };
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.headerItem()->text(c), headings[c]);
        if (c == CResultListCtrl::ColUnit)
            EXPECT_GE(list.header()->sectionSize(c), widths[c]) << "widened for mm^2";
        else
            EXPECT_EQ(list.header()->sectionSize(c), widths[c]);
    }
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(2)->text(0), "3");
    EXPECT_EQ(list.RowIds(), (std::vector<uint32_t> { 11, 22, 33 }));
}

// The width the list's style leaves for the text of a cell, as the item view draws it.
int TextRoom(CResultListCtrl& list, int row, int column)
{
    const QModelIndex index = list.model()->index(row, column);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = list.visualRect(index);
    option.text = index.data().toString();
    option.features |= QStyleOptionViewItem::HasDisplay;
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return list.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &list).width()
            - 2 * margin;
}

TEST_F(ResultListTest, EveryCellAndHeadingShowsItsWholeText)
{
    canvas.rows.push_back({ 44, "acreage", "123456.7890", "inch^2" });
    canvas.rows.push_back({ 55, "diameter", "12345.678", "um" });
    list.show();
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 5);
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        for (int c = 0; c < 4; ++c) {
            const QString text = list.topLevelItem(row)->text(c);
            EXPECT_LE(list.fontMetrics().horizontalAdvance(text), TextRoom(list, row, c))
                    << text.toStdString() << " is cut short";
        }
    }
    for (int c = 0; c < 4; ++c) {
        EXPECT_GE(list.header()->sectionSize(c), list.header()->sectionSizeHint(c));
        EXPECT_GE(list.header()->sectionSize(c), CResultListCtrl::kColumnWidths[c]);
    }

    canvas.rows = { { 11, "length", "1.234", "mm" } };
    list.Refill();
    EXPECT_EQ(list.header()->sectionSize(CResultListCtrl::ColNumber), 42)
            << "short texts keep the list's own widths";
}

TEST_F(ResultListTest, ClickHighlightsAndFocusLossUnhighlights)
{
    list.show();
    ClickRow(1);
    ASSERT_EQ(canvas.highlights.size(), 1u);
    EXPECT_EQ(canvas.highlights[0], std::make_pair(22u, true));
    EXPECT_EQ(canvas.invalidates, 1);

    ClickRow(2); // the previous row goes off before the new one comes on
    ASSERT_EQ(canvas.highlights.size(), 3u);
    EXPECT_EQ(canvas.highlights[1], std::make_pair(22u, false));
    EXPECT_EQ(canvas.highlights[2], std::make_pair(33u, true));

    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(&list, &out);
    ASSERT_EQ(canvas.highlights.size(), 4u);
    EXPECT_EQ(canvas.highlights[3], std::make_pair(33u, false));
    EXPECT_EQ(canvas.invalidates, 2); // no repaint for the focus loss
}

TEST_F(ResultListTest, ClearAllAsksFirst)
{
    recorder.AnswerYes(false);
    list.OnClear();
    EXPECT_EQ(
            Questions(), QStringList { "Warnning: Are you going to delete all measure objects?" });
    EXPECT_TRUE(recorder.All()[0].yesByDefault) << "Return clears";
    EXPECT_TRUE(canvas.removed.empty());
    EXPECT_EQ(canvas.removeAlls, 0);
    EXPECT_EQ(list.topLevelItemCount(), 3);

    recorder.AnswerYes(true);
    list.OnClear();
    EXPECT_EQ(canvas.removed, (std::vector<uint32_t> { 33, 22, 11 })); // last first
    EXPECT_EQ(canvas.removeAlls, 1);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_TRUE(list.RowIds().empty());

    recorder.Clear();
    list.OnClear(); // nothing left: no question, nothing removed
    EXPECT_TRUE(Questions().isEmpty());
    EXPECT_EQ(canvas.removeAlls, 1);
}

TEST_F(ResultListTest, SaveCsvProposesTheTimeInTheMeasureFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A fresh profile: the measure folder does not exist until the first export.
    canvas.folder = dir.filePath("Documents/measure");
    list.SetClock([] { return QDateTime(QDate(2026, 3, 9), QTime(7, 5, 1)); });
    QString proposed;
    list.SetSaveFileChooser([&](const QString& p) {
        proposed = p;
        return p;
    });
    ASSERT_TRUE(list.OnSaveCsv());
    EXPECT_EQ(proposed, dir.filePath("Documents/measure/20260309070501.csv"));
    QFile f(proposed);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
            QByteArray("No.,Type,Result,Unit\n1,length,1.234,mm\n"
                       "2,degree,45.0,deg.\n3,acreage,2.5000,mm^2\n"));

    // Cancelling the dialog writes nothing.
    list.SetSaveFileChooser([](const QString&) { return QString(); });
    EXPECT_FALSE(list.OnSaveCsv());
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ResultListTest, SaveCsvReportsAFileThatCannotBeCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/folder/out.csv");
    list.SetSaveFileChooser([&](const QString&) { return path; });
    EXPECT_FALSE(list.OnSaveCsv());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(path)) << Messages()[0].toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ResultListTest, SaveCsvOntoAFullDiskKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    const QByteArray before("No.,Type,Result,Unit\n1,length,9.999,mm\n");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    list.SetSaveFileChooser([&](const QString&) { return path; });
    bool saved = true;
    {
        const CFileSizeLimit full(16);
        ASSERT_TRUE(full.Active());
        saved = list.OnSaveCsv();
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("File too large")) << Messages()[0].toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { "results.csv" });
}

TEST(ResultCsv_Bytes, EmptyListIsTheHeaderOnly)
{
    const QByteArray bytes = CResultCsv::Format({});
    EXPECT_EQ(bytes, QByteArray("No.,Type,Result,Unit\n"));
    EXPECT_EQ(bytes.size(), 21);
}

TEST(ResultCsv_Bytes, ThreeRowsAreFourLines)
{
    const QByteArray bytes = CResultCsv::Format({ { "1", "length", "1.234", "mm" },
            { "2", "degree", "45.0", "deg." }, { "3", "diameter", "0.500", "um" } });
    EXPECT_EQ(bytes.count('\n'), 4);
    EXPECT_TRUE(bytes.endsWith("um\n"));
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_FALSE(bytes.contains("\n\n"));
    EXPECT_EQ(bytes.split('\n')[1], "1,length,1.234,mm");
}

TEST(ResultCsv_Bytes, Utf8WithoutMarkOrQuoting)
{
    const QByteArray bytes =
            CResultCsv::Format({ { "1", QString::fromUtf8("长度"), "1,5", "µm" } });
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.split('\n')[1], QByteArray("1,\xE9\x95\xBF\xE5\xBA\xA6,1,5,\xC2\xB5m"));
    // Cells are cut to 255 characters, as the list hands them over.
    const QByteArray longCell = CResultCsv::Format({ { QString(300, 'x'), "", "", "" } });
    EXPECT_EQ(longCell.split('\n')[1], QByteArray(255, 'x') + ",,,");
}

TEST(ResultCsv_Bytes, ScaleLineClosesTheFileOnOneLine)
{
    const QByteArray bytes = CResultCsv::Format(
            { { "1", "length", "1.234", "mm" } }, "# scale: 0.01 x 0.01 mm/pixel;\nsecond");
    EXPECT_EQ(bytes,
            QByteArray("No.,Type,Result,Unit\n1,length,1.234,mm\n"
                       "# scale: 0.01 x 0.01 mm/pixel; second\n"));
}
