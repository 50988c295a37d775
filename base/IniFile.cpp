#include "base/IniFile.h"

#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Hand-edited lines may be in a single-byte encoding: read them as Latin-1 rather than as
// replacement characters.
QString DecodeLine(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

} // namespace

CIniFile::CIniFile(const QString& path)
{
    Load(path);
}

bool CIniFile::Load(const QString& path)
{
    m_path = path;
    m_unreadable = false;
    m_error.clear();
    m_preamble.clear();
    m_sections.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = file.exists();
        m_error = file.errorString();
        return false;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_unreadable = true;
        m_error = file.errorString();
        return false;
    }
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& raw = lines[i];
        if (i == lines.size() - 1 && raw.isEmpty())
            break; // the final newline does not start another line
        QString line = DecodeLine(raw);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            m_sections.push_back({ trimmed.mid(1, close - 1).trimmed(), {}, raw });
            continue;
        }
        Entry entry;
        entry.raw = raw;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';'))) {
            entry.key = line.left(eq).trimmed();
            entry.value = line.mid(eq + 1).trimmed();
        }
        if (m_sections.empty())
            m_preamble.push_back(entry);
        else
            m_sections.back().entries.push_back(entry);
    }
    return true;
}

const CIniFile::Entry* CIniFile::FindEntry(const QString& section, const QString& key) const
{
    for (const Section& s : m_sections) {
        if (!SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (!e.key.isEmpty() && SameName(e.key, key))
                return &e;
        }
    }
    return nullptr;
}

CIniFile::Section* CIniFile::FindSection(const QString& section)
{
    for (Section& s : m_sections) {
        if (SameName(s.name, section))
            return &s;
    }
    return nullptr;
}

bool CIniFile::HasKey(const QString& section, const QString& key) const
{
    return FindEntry(section, key) != nullptr;
}

int CIniFile::ParseInt(const QString& text)
{
    // Optional sign, then decimal digits up to the first other character. A number beyond 32
    // bits stops at the nearest limit, so range checks refuse it instead of seeing a wrapped
    // value that happens to look plausible.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    constexpr int64_t kBeyond = int64_t(std::numeric_limits<int>::max()) + 2;
    int64_t value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i)
        value = std::min(kBeyond, value * 10 + (text[i].unicode() - '0'));
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<int64_t>(
            value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double CIniFile::ParseDouble(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::strtod(bytes.constData(), nullptr);
}

int CIniFile::GetInt(const QString& section, const QString& key, int defaultValue) const
{
    const Entry* entry = FindEntry(section, key);
    return entry ? ParseInt(entry->value) : defaultValue;
}

QString CIniFile::GetString(const QString& section, const QString& key, const QString& defaultValue,
        int bufferSize) const
{
    const Entry* entry = FindEntry(section, key);
    const QString value = entry ? entry->value : defaultValue;
    return bufferSize <= 0 ? QString() : value.left(bufferSize - 1);
}

double CIniFile::GetDouble(const QString& section, const QString& key, const QString& defaultValue,
        int bufferSize) const
{
    return ParseDouble(GetString(section, key, defaultValue, bufferSize));
}

void CIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Section* target = FindSection(section);
    if (!target) {
        m_sections.push_back({ section, {}, {} });
        target = &m_sections.back();
    }
    for (Entry& e : target->entries) {
        if (!e.key.isEmpty() && SameName(e.key, key)) {
            if (e.value == value)
                return; // unchanged: the line keeps its bytes
            e.value = value;
            e.raw.clear();
            return;
        }
    }
    // New keys go after the section's last key, ahead of trailing blank lines.
    auto pos = target->entries.end();
    while (pos != target->entries.begin() && std::prev(pos)->key.isEmpty()
            && std::prev(pos)->raw.trimmed().isEmpty())
        --pos;
    target->entries.insert(pos, Entry { key, value, QByteArray() });
}

void CIniFile::WriteInt(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void CIniFile::WriteDouble(const QString& section, const QString& key, double value)
{
    // Six decimals as ever where they hold the value exactly; every digit it takes otherwise,
    // which strtod reads back the same.
    const QString sixDecimals = QString::asprintf("%f", value);
    const bool exact = ParseDouble(sixDecimals) == value || !std::isfinite(value);
    WriteString(section, key, exact ? sixDecimals : QString::asprintf("%.17g", value));
}

QByteArray CIniFile::Serialize() const
{
    QByteArray out;
    auto writeEntry = [&out](const Entry& e) {
        if (e.raw.isEmpty() && !e.key.isEmpty())
            out += (e.key + QLatin1Char('=') + e.value).toUtf8();
        else
            out += e.raw;
        out += '\n';
    };
    for (const Entry& e : m_preamble)
        writeEntry(e);
    for (const Section& s : m_sections) {
        out += s.raw.isEmpty() ? (QLatin1Char('[') + s.name + QLatin1Char(']')).toUtf8() : s.raw;
        out += '\n';
        for (const Entry& e : s.entries)
            writeEntry(e);
    }
    return out;
}

bool CIniFile::Save(bool abortBeforeRename) const
{
    return SaveAs(m_path, abortBeforeRename);
}

bool CIniFile::CanSave() const
{
    m_error.clear();
    if (QFileInfo(m_path).isDir()) {
        m_error = QCoreApplication::translate("CIniFile", "A folder has that name.");
        return false;
    }
    if (m_unreadable) {
        m_error = QCoreApplication::translate(
                "CIniFile", "The file could not be read, so it is not replaced.");
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    CAtomicFile file(m_path);
    if (!file.Open()) {
        m_error = file.ErrorString();
        return false;
    }
    file.Cancel();
    return true;
}

bool CIniFile::SaveAs(const QString& path, bool abortBeforeRename) const
{
    m_error.clear();
    if (path.isEmpty()) {
        m_error = QCoreApplication::translate("CIniFile", "No file name.");
        return false;
    }
    if (m_unreadable && QFileInfo(path) == QFileInfo(m_path)) {
        // Writing now would put this document's few keys in place of the unread content.
        m_error = QCoreApplication::translate(
                "CIniFile", "The file could not be read, so it is not replaced.");
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    CAtomicFile file(path);
    if (!file.Open() || !file.Write(Serialize())) {
        m_error = file.ErrorString();
        return false;
    }
    if (abortBeforeRename) {
        file.Cancel();
        return false;
    }
    if (!file.Commit()) {
        m_error = file.ErrorString();
        return false;
    }
    return true;
}
