#include "measure/ResultCsv.h"

#include "base/AtomicFile.h"

#include <QDir>

QByteArray CResultCsv::Format(const std::vector<Row>& rows, const QString& scaleLine)
{
    QByteArray bytes("No.,Type,Result,Unit\n");
    for (const Row& row : rows) {
        for (size_t column = 0; column < row.size(); ++column) {
            bytes += row[column].left(kMaxCellLength).toUtf8();
            bytes += column + 1 < row.size() ? ',' : '\n';
        }
    }
    // One line, whatever the caller handed over.
    if (!scaleLine.isEmpty())
        bytes += QString(scaleLine).replace(u'\n', u' ').replace(u'\r', u' ').toUtf8() + '\n';
    return bytes;
}

bool CResultCsv::Write(
        const QString& path, const std::vector<Row>& rows, QString* error, const QString& scaleLine)
{
    // Through a temporary file and a rename, so a failure leaves no half-written file and an
    // existing file untouched.
    return CAtomicFile::WriteAll(path, Format(rows, scaleLine), error);
}

QString CResultCsv::ProposedFileName(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".csv");
}

QString CResultCsv::ProposedPath(const QString& folder, const QDateTime& now)
{
    if (folder.isEmpty())
        return ProposedFileName(now);
    return QDir(folder).filePath(ProposedFileName(now));
}
