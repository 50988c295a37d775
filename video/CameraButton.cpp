#include "video/CameraButton.h"

#include "base/Trace.h"
#include "capture/DeviceIdentity.h"
#include "video/EvdevButtonInput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <linux/input-event-codes.h>

CCameraButton::CCameraButton(QObject* parent)
    : QObject(parent), m_factory([] { return std::make_unique<CEvdevButtonInput>(); })
{
}

CCameraButton::~CCameraButton()
{
    Detach();
}

void CCameraButton::SetSystemFolders(const QString& sysRoot, const QString& inputFolder)
{
    m_sysRoot = sysRoot;
    m_inputFolder = inputFolder;
}

bool CCameraButton::KeyBitmapHasCamera(const QString& bitmap)
{
    // Words of the kernel's unsigned long, most significant first.
    const QStringList words = bitmap.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    constexpr int kBits = static_cast<int>(sizeof(unsigned long) * 8);
    const int index = KEY_CAMERA / kBits;
    if (index >= words.size())
        return false;
    bool ok = false;
    const unsigned long long word = words[words.size() - 1 - index].toULongLong(&ok, 16);
    return ok && (word >> (KEY_CAMERA % kBits)) & 1ULL;
}

QString CCameraButton::FindEventNode(const QString& sysRoot, const QString& videoNode)
{
    const QString camera = CDeviceIdentity::UsbDeviceFolder(sysRoot,
            sysRoot + QStringLiteral("/class/video4linux/") + QFileInfo(videoNode).fileName()
                    + QStringLiteral("/device"));
    if (camera.isEmpty())
        return {};
    const QDir inputs(sysRoot + QStringLiteral("/class/input"));
    const QStringList events =
            inputs.entryList({ QStringLiteral("event*") }, QDir::Dirs | QDir::System, QDir::Name);
    for (const QString& event : events) {
        const QString device = inputs.filePath(event) + QStringLiteral("/device");
        if (CDeviceIdentity::UsbDeviceFolder(sysRoot, device) != camera)
            continue;
        QFile keys(device + QStringLiteral("/capabilities/key"));
        // Without the bitmap the node is taken on trust: a camera has one input device.
        if (!keys.open(QIODevice::ReadOnly)
                || KeyBitmapHasCamera(QString::fromLatin1(keys.readAll()).trimmed()))
            return event;
    }
    return {};
}

bool CCameraButton::Attach(const QString& videoNode)
{
    Detach();
    if (videoNode.isEmpty())
        return false;
    const QString event = FindEventNode(m_sysRoot, videoNode);
    if (event.isEmpty())
        return false;
    m_path = m_inputFolder + QLatin1Char('/') + event;
    std::unique_ptr<CButtonInput> input = m_factory();
    QString error;
    switch (input->Open(m_path, error)) {
    case CButtonInput::EOpen::Ok:
        break;
    case CButtonInput::EOpen::Denied:
        if (!m_reported) {
            m_reported = true;
            emit unreadable(m_path, error);
        }
        [[fallthrough]];
    case CButtonInput::EOpen::Failed:
        qCDebug(lcTrace) << "camera button" << m_path << "not readable:" << error;
        return false;
    }
    m_input = std::move(input);
    if (m_input->Descriptor() >= 0) {
        m_notifier = new QSocketNotifier(m_input->Descriptor(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &CCameraButton::Poll);
    }
    qCDebug(lcTrace) << "camera button" << m_path;
    return true;
}

void CCameraButton::Detach()
{
    // Detach may run inside the notifier's own signal.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
    }
    m_notifier = nullptr;
    m_input.reset();
}

void CCameraButton::Poll()
{
    if (!m_input)
        return;
    const int presses = m_input->ReadPresses();
    // Unplugged: the node is gone; a replug attaches again.
    const bool gone = presses < 0 || (m_input->Descriptor() < 0 && m_notifier);
    if (gone)
        Detach();
    for (int i = 0; i < presses; ++i)
        emit pressed();
}
