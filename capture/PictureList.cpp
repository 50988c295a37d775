#include "capture/PictureList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QStringList kPictureFilters = { QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
    QStringLiteral("*.png"), QStringLiteral("*.bmp"), QStringLiteral("*.tif"),
    QStringLiteral("*.tiff") };

// More numbers than this is a pattern that matches everything, not a stack of pictures.
constexpr int kMaxNumbered = 100000;

QString Tr(const char* text)
{
    return QCoreApplication::translate("CTavoGraphDll", text);
}

QStringList Joined(const QDir& dir, const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names)
        paths.append(dir.filePath(name));
    return paths;
}

} // namespace

QString CPictureList::Numbered(const QString& pattern, int number)
{
    QString out;
    bool field = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('%')) {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // %d, %0Nd or %Nd; nothing else is a number field.
        qsizetype j = i + 1;
        const bool zeros = j < pattern.size() && pattern[j] == QLatin1Char('0');
        if (zeros)
            ++j;
        int width = 0;
        while (j < pattern.size() && pattern[j].isDigit() && width < 100)
            width = width * 10 + pattern[j++].digitValue();
        if (field || j >= pattern.size() || pattern[j] != QLatin1Char('d') || width >= 100)
            return {};
        field = true;
        out += QString::number(number).rightJustified(
                width, zeros ? QLatin1Char('0') : QLatin1Char(' '));
        i = j;
    }
    return field ? out : QString();
}

bool CPictureList::NameBefore(const QString& a, const QString& b)
{
    // Runs of digits compare by value, everything else letter by letter without case.
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype si = i;
            const qsizetype sj = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            QStringView da = QStringView(a).mid(si, i - si);
            QStringView db = QStringView(b).mid(sj, j - sj);
            while (da.size() > 1 && da[0] == QLatin1Char('0'))
                da = da.mid(1);
            while (db.size() > 1 && db[0] == QLatin1Char('0'))
                db = db.mid(1);
            if (da.size() != db.size())
                return da.size() < db.size();
            if (const int c = da.compare(db); c != 0)
                return c < 0;
            continue;
        }
        const QChar ca = a[i].toCaseFolded();
        const QChar cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b;
}

void CPictureList::SortByName(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), &CPictureList::NameBefore);
}

QStringList CPictureList::Resolve(const QString& what, QString& problem)
{
    problem.clear();
    if (what.trimmed().isEmpty()) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "no pictures were named"));
        return {};
    }
    const QFileInfo info(what);
    if (info.isDir()) {
        const QDir dir(what);
        QStringList names = dir.entryList(kPictureFilters, QDir::Files | QDir::Hidden);
        if (names.isEmpty()) {
            problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll",
                                 "the folder %1 holds no JPEG, PNG, BMP or TIFF pictures"))
                              .arg(what);
            return {};
        }
        SortByName(names);
        return Joined(dir, names);
    }
    // A file that is there plays, even with a percent sign in its name.
    if (info.isFile())
        return { what };
    if (what.contains(QLatin1Char('%'))) {
        if (Numbered(what, 0).isEmpty()) {
            problem =
                    Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 needs one number field such as %02d"))
                            .arg(what);
            return {};
        }
        const int first = QFileInfo::exists(Numbered(what, 0)) ? 0 : 1;
        QStringList paths;
        for (int n = first; n < first + kMaxNumbered; ++n) {
            const QString path = Numbered(what, n);
            if (!QFileInfo(path).isFile())
                break;
            paths.append(path);
        }
        if (paths.isEmpty())
            problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "no picture matches %1")).arg(what);
        return paths;
    }
    const QString name = info.fileName();
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))
            || name.contains(QLatin1Char('['))) {
        const QDir dir = info.dir();
        // Only the pictures among what it matches ("stack/*" beside a notes file).
        QStringList names = dir.entryList({ name }, QDir::Files | QDir::Hidden);
        names.removeIf([](const QString& n) { return !QDir::match(kPictureFilters, n); });
        if (names.isEmpty()) {
            problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "no picture matches %1")).arg(what);
            return {};
        }
        SortByName(names);
        return Joined(dir, names);
    }
    problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 does not exist")).arg(what);
    return {};
}
