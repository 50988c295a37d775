#pragma once

#include "base/IniFile.h"

#include <QMap>
#include <QString>

#include <cstdint>

class CCameraControls;

// The control values of every camera the program has seen, one Setting.ini section each,
// named after the camera's identity so a replugged camera, on whatever /dev/videoN, finds its
// brightness, exposure, focus and flips again. Sections of cameras not seen in this run stay in
// the file as they were.
class CCameraProfiles
{
public:
    // Keeps a copy of the file's camera sections.
    void Load(const CIniFile& ini) { m_file = ini; }
    // Writes the profiles remembered in this run into ini.
    void Save(CIniFile& ini) const;

    // Reads the camera's values now and keeps them as its profile.
    void Remember(const QString& identity, const QString& name, CCameraControls& controls);
    // Writes the stored profile to the camera: switches and menus first, so an automatic mode
    // turned off lets its manual value in. False when the camera has no profile.
    bool Restore(const QString& identity, CCameraControls& controls) const;
    bool Has(const QString& identity) const;
    // The stored values of a camera, by control id.
    QMap<uint32_t, int32_t> Values(const QString& identity) const;

    // Every control back to the device's default: the values while the user's manual modes
    // still let them in, then the automatic modes.
    static void ResetToDefaults(CCameraControls& controls);
    // "CAMERA hash": the section of a camera.
    static QString SectionName(const QString& identity);
    // The values worth keeping: what the user can set (no read-only, write-only, disabled,
    // button or compound controls).
    static QMap<uint32_t, int32_t> ReadValues(CCameraControls& controls);
    // switchesFirst: automatic modes first, so one turned off lets its manual value in; else
    // the values first, while a manual mode still lets them in, then the modes.
    static void WriteValues(CCameraControls& controls, const QMap<uint32_t, int32_t>& values,
            bool switchesFirst = true);

private:
    struct CProfile
    {
        QString identity;
        QString name;
        QMap<uint32_t, int32_t> values;
    };

    CIniFile m_file; // as read at start
    QMap<QString, CProfile> m_remembered; // by identity
};
