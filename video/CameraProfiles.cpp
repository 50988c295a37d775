#include "video/CameraProfiles.h"

#include "capture/CameraControls.h"

#include <QCryptographicHash>

#include <algorithm>

#include <linux/videodev2.h>

namespace {

constexpr int kTextBuffer = 512;

QString KeyOf(uint32_t id)
{
    return QStringLiteral("0x%1").arg(id, 8, 16, QLatin1Char('0'));
}

bool Keepable(const CCameraControlInfo& info)
{
    constexpr uint32_t kNotSettable = V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY
            | V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_VOLATILE;
    if (info.flags & kNotSettable)
        return false;
    switch (info.type) {
    case V4L2_CTRL_TYPE_INTEGER:
    case V4L2_CTRL_TYPE_BOOLEAN:
    case V4L2_CTRL_TYPE_MENU:
    case V4L2_CTRL_TYPE_INTEGER_MENU:
        return true;
    default:
        return false;
    }
}

} // namespace

QString CCameraProfiles::SectionName(const QString& identity)
{
    // The identity carries names and serial numbers in any characters; the section name keeps
    // to letters and digits.
    const QByteArray hash =
            QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("CAMERA ") + QString::fromLatin1(hash);
}

QMap<uint32_t, int32_t> CCameraProfiles::ReadValues(CCameraControls& controls)
{
    QMap<uint32_t, int32_t> values;
    for (const CCameraControlInfo& info : controls.List()) {
        int32_t value = 0;
        if (Keepable(info) && controls.Get(info.id, value))
            values.insert(info.id, value);
    }
    return values;
}

void CCameraProfiles::WriteValues(
        CCameraControls& controls, const QMap<uint32_t, int32_t>& values, bool switchesFirst)
{
    // Switches and menus are the automatic modes that lock or unlock the integer values.
    for (int step = 0; step < 2; ++step) {
        const int pass = switchesFirst ? step : 1 - step;
        for (const CCameraControlInfo& info : controls.List()) {
            if (!Keepable(info) || !values.contains(info.id))
                continue;
            if ((info.type == V4L2_CTRL_TYPE_INTEGER) != (pass == 1))
                continue;
            int32_t value = values.value(info.id);
            if (info.minimum <= info.maximum) // a hand-edited file stays within the range
                value = std::clamp(value, info.minimum, info.maximum);
            int32_t current = 0;
            if (controls.Get(info.id, current) && current == value)
                continue;
            controls.Set(info.id, value);
        }
    }
}

void CCameraProfiles::ResetToDefaults(CCameraControls& controls)
{
    QMap<uint32_t, int32_t> defaults;
    for (const CCameraControlInfo& info : controls.List())
        if (Keepable(info))
            defaults.insert(info.id, info.defaultValue);
    WriteValues(controls, defaults, false);
}

void CCameraProfiles::Remember(
        const QString& identity, const QString& name, CCameraControls& controls)
{
    if (identity.isEmpty())
        return;
    m_remembered.insert(identity, { identity, name, ReadValues(controls) });
}

bool CCameraProfiles::Has(const QString& identity) const
{
    return m_remembered.contains(identity)
            || m_file.HasKey(SectionName(identity), QStringLiteral("Identity"));
}

QMap<uint32_t, int32_t> CCameraProfiles::Values(const QString& identity) const
{
    if (m_remembered.contains(identity))
        return m_remembered.value(identity).values;
    QMap<uint32_t, int32_t> values;
    const QString section = SectionName(identity);
    // A hash shared by two identities must not hand one camera the other's values.
    if (m_file.GetString(section, QStringLiteral("Identity"), {}, kTextBuffer) != identity)
        return values;
    const QStringList ids = m_file.GetString(section, QStringLiteral("Controls"), {}, 8192)
                                    .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& text : ids) {
        bool ok = false;
        const uint32_t id = text.trimmed().toUInt(&ok, 0);
        if (ok && m_file.HasKey(section, KeyOf(id)))
            values.insert(id, m_file.GetInt(section, KeyOf(id), 0));
    }
    return values;
}

bool CCameraProfiles::Restore(const QString& identity, CCameraControls& controls) const
{
    if (!Has(identity))
        return false;
    const QMap<uint32_t, int32_t> values = Values(identity);
    if (values.isEmpty())
        return false;
    WriteValues(controls, values);
    return true;
}

void CCameraProfiles::Save(CIniFile& ini) const
{
    for (const CProfile& profile : m_remembered) {
        const QString section = SectionName(profile.identity);
        ini.WriteString(section, QStringLiteral("Identity"), profile.identity);
        ini.WriteString(section, QStringLiteral("Name"), profile.name);
        QStringList ids;
        for (auto it = profile.values.cbegin(); it != profile.values.cend(); ++it) {
            ids << KeyOf(it.key());
            ini.WriteInt(section, KeyOf(it.key()), it.value());
        }
        ini.WriteString(section, QStringLiteral("Controls"), ids.join(QLatin1Char(',')));
    }
}
