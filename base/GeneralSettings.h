#pragma once

#include <QString>

class CIniFile;

// The GENERAL section. The white-balance keys are read but never written, so values edited
// by hand in the file survive every run.
struct CGeneralSettings
{
    bool m_bHasLeft = true;
    bool m_bHasBottom = true;
    int m_nVideoWidth = 640;
    int m_nVideoHeight = 480;
    int m_nDisp = 1; // 0 fit, 1..3 integer zoom
    bool m_bBMP = true;
    // The snapshot format beyond BMP and JPEG: "jpg", "png" or "tif" while m_bBMP is 0. Older
    // files know only m_bBMP, and older builds reading ours still find BMP or JPEG there.
    QString m_strSaveFormat = QStringLiteral("bmp");
    bool m_bMeasure = false;
    bool m_bSnapToEdges = false; // points of the measuring tools go onto edges
    // The type last chosen in "Save as": "bmp", "jpg", "jpg444", "png" or "tif"; empty: none yet.
    QString m_strSaveAsType;
    QString m_strImagePath;
    QString m_strMeasurePath;
    QString m_strReportPath; // the folder of the last report, empty before the first
    QString m_strReportTitle; // the last report's title
    QString m_strDeviceName;
    // The capture format and frame rate chosen in "Resolution" ("MJPG", "30/1"); empty: the
    // fastest the camera offers at the capture size.
    QString m_strVideoFormat;
    QString m_strFrameRate;
    // The "BIN" (black and white) threshold, 0 to 255.
    int m_nBinThreshold = 128;
    bool m_bEnableWB = false;
    int m_nWBRed = 0;
    int m_nWBBlue = 0;

    // documentsFolder stands in for the user's documents folder in the default folder rule.
    void Load(const CIniFile& ini, const QString& documentsFolder);
    // "bmp", "jpg", "png" or "tif", from m_bBMP and m_strSaveFormat together.
    QString SaveFormat() const;
    void SetSaveFormat(const QString& suffix);
    void Save(CIniFile& ini) const;

    static QString DefaultDocumentsFolder();
};
