#include "video/DeviceSettingDlg.h"

#include "base/Trace.h"
#include "base/UserMessages.h"
#include "capture/TavoGraphDll.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxNameLength = 255;

QString SelectedName(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return {};
    return item->text().left(kMaxNameLength);
}
} // namespace

CDeviceSettingDlg::CDeviceSettingDlg(CTavoGraphDll& graph, QString& deviceName, int& captureWidth,
        int& captureHeight, QWidget* parent)
    : QDialog(parent), m_graph(graph), m_deviceName(deviceName), m_captureWidth(captureWidth),
      m_captureHeight(captureHeight)
{
    setObjectName(QStringLiteral("deviceSettingDlg"));
    setWindowTitle(tr("Device setting"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("deviceList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumSize(260, 200);
    m_cameraSetting = new QPushButton(tr("Camera setting"), this);
    m_cameraSetting->setObjectName(QStringLiteral("cameraSettingButton"));
    m_cameraSetting->setAutoDefault(false);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cameraSetting);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_cameraSetting, &QPushButton::clicked, this, &CDeviceSettingDlg::OnCameraSetting);
    connect(m_ok, &QPushButton::clicked, this, &CDeviceSettingDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CDeviceSettingDlg::reject);

    // What "Cancel" goes back to.
    m_graph.GetCurCapDeviceName(m_savedName);
    m_graph.GetCaptureSize(m_savedWidth, m_savedHeight);
    QString error;
    for (const QString& name : m_graph.GetVideoDeviceNames(&error))
        m_list->addItem(name);
    if (!error.isEmpty())
        m_graph.Error(error);

    // The list box's prefix search: the first name that begins with the camera in use.
    if (!m_savedName.isEmpty()) {
        const QList<QListWidgetItem*> found = m_list->findItems(m_savedName, Qt::MatchStartsWith);
        if (!found.isEmpty()) {
            m_list->setCurrentItem(found.first());
            found.first()->setSelected(true);
        }
    }
    if (!m_list->currentItem() || !m_list->currentItem()->isSelected())
        m_list->setCurrentRow(-1);
}

void CDeviceSettingDlg::OnCameraSetting()
{
    const QString name = SelectedName(m_list);
    if (name.isEmpty())
        return;
    qCDebug(lcTrace).noquote() << name;
    m_graph.ShowCapPinPropertyPage(name, this);
}

void CDeviceSettingDlg::accept()
{
    const QString name = SelectedName(m_list);
    if (!name.isEmpty()) {
        // The camera keeps the requested size only when it offers it.
        m_graph.SpecifyCapDevice(name);
        // Selection falls back to another camera without a word: say why this one is not it,
        // and stay for another choice.
        QString opened;
        m_graph.GetCurCapDeviceName(opened);
        QString problem = m_graph.CapDeviceProblem(name);
        if (problem.isEmpty() && opened.trimmed() != name.trimmed())
            problem = tr("it is not connected");
        if (!problem.isEmpty()) {
            m_graph.SpecifyCapDevice(m_savedName);
            m_graph.SetCaptureSize(m_savedWidth, m_savedHeight);
            const QString text = tr("The camera \"%1\" cannot be opened: %2.").arg(name, problem);
            UserMessages().Error({ .text = text, .caption = windowTitle() });
            return;
        }
        m_deviceName = name;
        m_graph.GetCaptureSize(m_captureWidth, m_captureHeight);
        if (m_refill)
            m_refill();
    }
    QDialog::accept();
}

void CDeviceSettingDlg::reject()
{
    m_graph.SpecifyCapDevice(m_savedName);
    m_graph.SetCaptureSize(m_savedWidth, m_savedHeight);
    m_graph.GetCaptureSize(m_captureWidth, m_captureHeight);
    QDialog::reject();
}
