#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

// The measurement CSV file: a header line, then one line per results row with the list's
// four cell texts joined by commas, and a closing comment line ("# scale: ...") that says
// which calibration the numbers are in. UTF-8, no byte-order mark, no quoting, 0x0A line
// ends. The header stays the first line, so readers that know only the rows still work.
class CResultCsv
{
public:
    using Row = std::array<QString, 4>; // number, type, result, unit
    static constexpr int kMaxCellLength = 255;

    static QByteArray Format(const std::vector<Row>& rows, const QString& scaleLine = {});
    // Writes the whole file or nothing; error receives the file layer's reason.
    static bool Write(const QString& path, const std::vector<Row>& rows, QString* error = nullptr,
            const QString& scaleLine = {});

    // The name the save dialog proposes: the local time as "%Y%m%d%H%M%S" with ".csv".
    static QString ProposedFileName(const QDateTime& now);
    static QString ProposedPath(const QString& folder, const QDateTime& now);
};
