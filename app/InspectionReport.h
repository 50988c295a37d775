#pragma once

#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// What an inspection report shows, gathered by the window when the user asks for one.
struct CReportContent
{
    QString title;
    QString note; // as typed, several lines allowed
    QDateTime when;
    QImage picture; // with its drawing when the drawing is wanted
    QString scaleLine; // the scale the numbers are in, as the results CSV states it
    QString slotName; // the calibration slot in use, empty without one
    std::vector<std::array<QString, 4>> rows; // number, type, result, unit
    QStringList countSummary; // the counting summary's lines, empty without a count
};

// The report as a PDF to mail or print: title, note, date and time, the picture at a readable
// size, the scale, the results table and the counting summary. Its text is real text, so a
// viewer can search it.
class CInspectionReport
{
public:
    // A4, or Letter where the locale measures in the US customary system.
    static QPageSize PageSizeFor(const QLocale& locale);
    // Writes the whole file or nothing; error receives the reason.
    static bool WritePdf(const CReportContent& content, const QString& path, const QPageSize& page,
            QString& error);
    // The proposed file name: the title's letters and digits, else "report", and the time.
    static QString ProposedFileName(const QString& title, const QDateTime& when);
};
