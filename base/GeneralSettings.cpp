#include "base/GeneralSettings.h"

#include "base/IniFile.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString kSection = QStringLiteral("GENERAL");
constexpr int kMaxVideoSide = 16384;

QString FolderOrDefault(const QString& stored, const QString& documents, const char* leaf)
{
    if (!stored.isEmpty())
        return stored;
    return documents + QLatin1Char('/') + QLatin1String(leaf);
}
} // namespace

QString CGeneralSettings::DefaultDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder;
}

QString CGeneralSettings::SaveFormat() const
{
    if (m_bBMP)
        return QStringLiteral("bmp");
    const QString stored = m_strSaveFormat.trimmed().toLower();
    if (stored == QLatin1String("png") || stored == QLatin1String("tif"))
        return stored;
    return QStringLiteral("jpg");
}

void CGeneralSettings::SetSaveFormat(const QString& suffix)
{
    m_bBMP = suffix.trimmed().toLower() == QLatin1String("bmp");
    m_strSaveFormat = suffix;
    m_strSaveFormat = SaveFormat(); // normalised: "jpg" for anything unknown
}

void CGeneralSettings::Load(const CIniFile& ini, const QString& documentsFolder)
{
    auto readInt = [&ini](const char* key, int def) {
        return ini.GetInt(kSection, QLatin1String(key), def);
    };
    m_bHasLeft = readInt("m_bHasLeft", 1) != 0;
    m_bHasBottom = readInt("m_bHasBottom", 1) != 0;
    m_nVideoWidth = readInt("m_nVideoWidth", 640);
    m_nVideoHeight = readInt("m_nVideoHeight", 480);
    m_nDisp = readInt("m_nDisp", 1);
    m_bBMP = readInt("m_bBMP", 1) != 0;
    m_strSaveFormat = ini.GetString(kSection, QStringLiteral("m_strSaveFormat"), QString(), 8);
    SetSaveFormat(SaveFormat());
    m_bMeasure = readInt("m_bMeasure", 0) != 0;
    m_bSnapToEdges = readInt("m_bSnapToEdges", 0) != 0;
    m_strSaveAsType = ini.GetString(kSection, QStringLiteral("m_strSaveAsType"), QString(), 8);
    m_strImagePath = FolderOrDefault(
            ini.GetString(kSection, QStringLiteral("m_strImagePath"), QString(), 260),
            documentsFolder, "image");
    m_strMeasurePath = FolderOrDefault(
            ini.GetString(kSection, QStringLiteral("m_strMeasurePath"), QString(), 260),
            documentsFolder, "measure");
    m_strReportPath = ini.GetString(kSection, QStringLiteral("m_strReportPath"), QString(), 260);
    m_strReportTitle = ini.GetString(kSection, QStringLiteral("m_strReportTitle"), QString(), 256);
    m_strDeviceName = ini.GetString(kSection, QStringLiteral("m_strDeviceName"), QString(), 256);
    m_strVideoFormat = ini.GetString(kSection, QStringLiteral("m_strVideoFormat"), QString(), 32);
    m_strFrameRate = ini.GetString(kSection, QStringLiteral("m_strFrameRate"), QString(), 32);
    m_nBinThreshold = qBound(0, readInt("m_nBinThreshold", 128), 255);
    m_bEnableWB = readInt("m_bEnableWB", 0) != 0;
    m_nWBRed = readInt("m_nWBRed", 0);
    m_nWBBlue = readInt("m_nWBBlue", 0);

    // A hand-edited file must not drive an index or a giant allocation.
    if (m_nDisp < 0 || m_nDisp > 3)
        m_nDisp = 1;
    if (m_nVideoWidth <= 0 || m_nVideoWidth > kMaxVideoSide || m_nVideoHeight <= 0
            || m_nVideoHeight > kMaxVideoSide) {
        m_nVideoWidth = 640;
        m_nVideoHeight = 480;
    }
    m_nWBRed = qBound(-255, m_nWBRed, 255);
    m_nWBBlue = qBound(-255, m_nWBBlue, 255);
}

void CGeneralSettings::Save(CIniFile& ini) const
{
    auto writeInt = [&ini](const char* key, int value) {
        ini.WriteInt(kSection, QLatin1String(key), value);
    };
    writeInt("m_bHasLeft", m_bHasLeft ? 1 : 0);
    writeInt("m_bHasBottom", m_bHasBottom ? 1 : 0);
    writeInt("m_nVideoWidth", m_nVideoWidth);
    writeInt("m_nVideoHeight", m_nVideoHeight);
    writeInt("m_nDisp", m_nDisp);
    writeInt("m_bBMP", m_bBMP ? 1 : 0);
    ini.WriteString(kSection, QStringLiteral("m_strSaveFormat"), SaveFormat());
    writeInt("m_bMeasure", m_bMeasure ? 1 : 0);
    writeInt("m_bSnapToEdges", m_bSnapToEdges ? 1 : 0);
    writeInt("m_nBinThreshold", m_nBinThreshold);
    if (!m_strSaveAsType.isEmpty())
        ini.WriteString(kSection, QStringLiteral("m_strSaveAsType"), m_strSaveAsType);
    ini.WriteString(kSection, QStringLiteral("m_strImagePath"), m_strImagePath);
    ini.WriteString(kSection, QStringLiteral("m_strMeasurePath"), m_strMeasurePath);
    // Written once there was a report, so older files stay as they were.
    if (!m_strReportPath.isEmpty())
        ini.WriteString(kSection, QStringLiteral("m_strReportPath"), m_strReportPath);
    if (!m_strReportTitle.isEmpty())
        ini.WriteString(kSection, QStringLiteral("m_strReportTitle"), m_strReportTitle);
    ini.WriteString(kSection, QStringLiteral("m_strDeviceName"), m_strDeviceName);
    ini.WriteString(kSection, QStringLiteral("m_strVideoFormat"), m_strVideoFormat);
    ini.WriteString(kSection, QStringLiteral("m_strFrameRate"), m_strFrameRate);
}
