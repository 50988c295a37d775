#include "app/InspectionReport.h"
#include "app/ReportDlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

CReportContent KnownReport()
{
    CReportContent content;
    content.title = QStringLiteral("Solder joint 3");
    content.note = QStringLiteral("Board 17, left edge.\nVoids under the pad.");
    content.when = QDateTime(QDate(2026, 12, 9), QTime(10, 15));
    content.picture = QImage(800, 600, QImage::Format_RGB32);
    content.picture.fill(Qt::darkGray);
    QPainter(&content.picture).drawLine(100, 300, 700, 300);
    content.scaleLine = QStringLiteral("# scale: 1.25000 um/pixel");
    content.slotName = QStringLiteral("10X");
    content.rows = { { "1", "length", "750.0", "um" }, { "2", "degree", "45.0", "deg" },
        { "3", "acreage", "1234.5", "um2" } };
    content.countSummary = { QStringLiteral("Count 42, mean area 17.3 um2") };
    return content;
}

// The PDF's text and page size as a viewer reads them; empty without Poppler's tools.
QString ReadPdf(const QString& program, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(InspectionReport, PdfTextHoldsEveryRowTheScaleAndTheNoteOnTheLocalesPage)
{
    QTemporaryDir dir;
    const QString a4 = dir.filePath("a4.pdf"), letter = dir.filePath("letter.pdf");
    QString error;
    ASSERT_TRUE(CInspectionReport::WritePdf(KnownReport(), a4,
            CInspectionReport::PageSizeFor(QLocale(QLocale::German, QLocale::Germany)), error))
            << error.toStdString();
    ASSERT_TRUE(CInspectionReport::WritePdf(KnownReport(), letter,
            CInspectionReport::PageSizeFor(QLocale(QLocale::English, QLocale::UnitedStates)),
            error));
    EXPECT_EQ(
            CInspectionReport::PageSizeFor(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(),
            QPageSize::A4);

    const QString text = ReadPdf("pdftotext", { "-layout", a4, "-" });
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const char* want :
            { "Solder joint 3", "Voids under the pad.", "Scale:", "1.25000 um/pixel", "10X",
                    "750.0", "45.0", "1234.5", "acreage", "um2", "Count 42, mean area 17.3 um2" })
        EXPECT_TRUE(text.contains(want)) << want << " not in\n" << text.toStdString();
    EXPECT_FALSE(text.contains("# scale")) << "the CSV's comment mark";
    EXPECT_TRUE(ReadPdf("pdfinfo", { a4 }).contains("(A4)"));
    EXPECT_TRUE(ReadPdf("pdfinfo", { letter }).contains("(letter)"));
}

TEST(InspectionReport, AFileThatCannotBeWrittenSaysWhyAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/folder/r.pdf");
    QString error;
    EXPECT_FALSE(CInspectionReport::WritePdf(KnownReport(), path, QPageSize(QPageSize::A4), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(InspectionReport, DialogProposesANameFromTheTitleInTheLastFolder)
{
    const QDateTime when(QDate(2026, 12, 9), QTime(10, 15, 30));
    EXPECT_EQ(CInspectionReport::ProposedFileName(" Solder joint #3 ", when),
            "Solder-joint-3-20261209-101530.pdf");
    EXPECT_EQ(CInspectionReport::ProposedFileName("//", when), "report-20261209-101530.pdf");

    CReportDlg dialog("/tmp/reports", "Batch 7");
    EXPECT_EQ(dialog.Title(), "Batch 7");
    EXPECT_TRUE(dialog.FileEdit()->text().startsWith("/tmp/reports/Batch-7-"));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.TitleEdit()->clear();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.TitleEdit()->setText("x");
    dialog.FileEdit()->setText("/tmp/reports/out");
    EXPECT_EQ(dialog.FilePath(), "/tmp/reports/out.pdf");
    dialog.FileEdit()->setText("/tmp/reports/");
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
}
