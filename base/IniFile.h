#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The settings file format: "[Section]" headers and "key=value" lines.
// Reads follow the private-profile rules the stored files were written for: section and
// key names match without regard to case, a missing file or key gives the caller's default,
// integers parse as far as the digits go (beyond 32 bits: the nearest limit) and strings are
// cut at the caller's buffer size.
// Writes change the in-memory copy; Save() replaces the file in one atomic rename. Lines the
// program does not change (comments, unknown keys, text in another encoding) keep their bytes.
class CIniFile
{
public:
    CIniFile() = default;
    explicit CIniFile(const QString& path);

    // Reads the file; a missing or unreadable file leaves an empty document. A file that exists
    // but cannot be read is never replaced by Save, so its content is not lost.
    bool Load(const QString& path);
    const QString& Path() const { return m_path; }

    int GetInt(const QString& section, const QString& key, int defaultValue) const;
    // bufferSize counts the terminator like the original API: at most bufferSize - 1 characters.
    QString GetString(const QString& section, const QString& key, const QString& defaultValue,
            int bufferSize) const;
    // Real numbers are stored as text and read back with a strtod-style leading parse.
    double GetDouble(const QString& section, const QString& key, const QString& defaultValue,
            int bufferSize = 32) const;
    bool HasKey(const QString& section, const QString& key) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInt(const QString& section, const QString& key, int value);
    void WriteDouble(const QString& section, const QString& key, double value);

    // Writes a temporary file beside the target and renames it over the target.
    // abortBeforeRename exists for the crash test: the old file must stay whole.
    bool Save(bool abortBeforeRename = false) const;
    bool SaveAs(const QString& path, bool abortBeforeRename = false) const;
    // Whether Save would get as far as writing: a folder or a link to nowhere in the file's
    // place, or a file that could not be read, fail here at once with LastError set.
    bool CanSave() const;
    // Why the last Load or Save failed, in the system's words.
    const QString& LastError() const { return m_error; }

    static int ParseInt(const QString& text);
    static double ParseDouble(const QString& text);

private:
    struct Entry
    {
        QString key; // empty for comment and blank lines, kept verbatim in raw
        QString value;
        QByteArray raw; // the line as read, without its '\n'; empty once the value changes
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
        QByteArray raw; // the header line as read; empty for a new section
    };

    const Entry* FindEntry(const QString& section, const QString& key) const;
    Section* FindSection(const QString& section);
    QByteArray Serialize() const;

    QString m_path;
    bool m_unreadable = false;
    mutable QString m_error;
    std::vector<Entry> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
};
