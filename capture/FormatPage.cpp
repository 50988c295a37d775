#include "capture/FormatPage.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

CFormatPage::CFormatPage(const QList<CCaptureFormat>& formats, int current,
        std::function<void(int)> applyFormat, QWidget* parent)
    : CPropertyPage(parent), m_list(new QListWidget(this)), m_applyFormat(std::move(applyFormat))
{
    m_list->setObjectName(QStringLiteral("formats"));
    for (const CCaptureFormat& format : formats)
        m_list->addItem(QStringLiteral("%1 X %2  %3")
                                .arg(format.width)
                                .arg(qAbs(format.height))
                                .arg(format.subtype));
    m_list->setCurrentRow(current);
    m_list->setEnabled(static_cast<bool>(m_applyFormat));
    connect(m_list, &QListWidget::currentRowChanged, this, &CPropertyPage::Changed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Output size:"), this));
    layout->addWidget(m_list, 1);
}

void CFormatPage::Apply()
{
    if (m_list->currentRow() >= 0 && m_applyFormat)
        m_applyFormat(m_list->currentRow());
}
