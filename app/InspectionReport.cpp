#include "app/InspectionReport.h"

#include <QCoreApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

namespace {

// Document pixels (96 per inch): the picture fills the text width of either page size and
// leaves room for the table on the first page.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 560;

QString Tr(const char* text)
{
    return QCoreApplication::translate("CInspectionReport", text);
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString Html(const CReportContent& content, QSize pictureSize)
{
    QString html = QStringLiteral("<html><body style=\"font-size:10pt\">");
    html += QStringLiteral("<h1>%1</h1>").arg(Escaped(content.title));
    html += QStringLiteral("<p>%1</p>")
                    .arg(Escaped(QLocale().toString(content.when, QLocale::LongFormat)));
    if (!content.note.trimmed().isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(Escaped(content.note.trimmed()));
    if (!content.picture.isNull())
        html += QStringLiteral("<p><img src=\"report-picture\" width=\"%1\" height=\"%2\"></p>")
                        .arg(pictureSize.width())
                        .arg(pictureSize.height());
    // The CSV's comment line without its comment mark.
    QString scale = content.scaleLine;
    if (scale.startsWith(QStringLiteral("# scale:")))
        scale = scale.mid(8).trimmed();
    html += QStringLiteral("<p><b>%1</b> %2").arg(Escaped(Tr("Scale:")), Escaped(scale));
    if (!content.slotName.isEmpty())
        html += QStringLiteral(" (%1 %2)")
                        .arg(Escaped(Tr("calibration")), Escaped(content.slotName));
    html += QStringLiteral("</p>");

    if (content.rows.empty()) {
        html += QStringLiteral("<p>%1</p>").arg(Escaped(Tr("No measurements.")));
    } else {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\"><tr>");
        for (const char* head : { QT_TRANSLATE_NOOP("CInspectionReport", "No."),
                     QT_TRANSLATE_NOOP("CInspectionReport", "Type"),
                     QT_TRANSLATE_NOOP("CInspectionReport", "Result"),
                     QT_TRANSLATE_NOOP("CInspectionReport", "Unit") })
            html += QStringLiteral("<th>%1</th>").arg(Escaped(Tr(head)));
        html += QStringLiteral("</tr>");
        for (const auto& row : content.rows) {
            html += QStringLiteral("<tr>");
            for (const QString& cell : row)
                html += QStringLiteral("<td>%1</td>").arg(Escaped(cell));
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    if (!content.countSummary.isEmpty()) {
        html += QStringLiteral("<h2>%1</h2>").arg(Escaped(Tr("Counting")));
        for (const QString& line : content.countSummary)
            html += QStringLiteral("<p>%1</p>").arg(Escaped(line));
    }
    return html + QStringLiteral("</body></html>");
}

} // namespace

QPageSize CInspectionReport::PageSizeFor(const QLocale& locale)
{
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

bool CInspectionReport::WritePdf(
        const CReportContent& content, const QString& path, const QPageSize& page, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(content.title);
        writer.setCreator(QStringLiteral("Kalvex"));
        writer.setPageSize(page);
        writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
        writer.setResolution(300);

        QSize shown;
        if (!content.picture.isNull())
            shown = content.picture.size().scaled(
                    QSize(kPictureWidth, kPictureHeight), Qt::KeepAspectRatio);
        QTextDocument document;
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("report-picture")),
                content.picture);
        document.setHtml(Html(content, shown));
        document.print(&writer);
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QString CInspectionReport::ProposedFileName(const QString& title, const QDateTime& when)
{
    QString stem;
    for (const QChar c : title.simplified()) {
        if (c.isLetterOrNumber())
            stem += c;
        else if (!stem.isEmpty() && !stem.endsWith(QLatin1Char('-')))
            stem += QLatin1Char('-');
    }
    while (stem.endsWith(QLatin1Char('-')))
        stem.chop(1);
    if (stem.isEmpty())
        stem = QStringLiteral("report");
    return stem.left(60) + when.toString(QStringLiteral("-yyyyMMdd-HHmmss"))
            + QStringLiteral(".pdf");
}
