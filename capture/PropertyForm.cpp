#include "capture/PropertyForm.h"

#include "capture/PropertyPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertyForm::CPropertyForm(const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("propertyForm"));
    setWindowTitle(title.isEmpty() ? tr("Property Page") : title);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_close = new QPushButton(tr("Close"), this);
    m_close->setObjectName(QStringLiteral("close"));
    m_apply = new QPushButton(tr("Apply"), this);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_apply->setEnabled(false);

    // The tab area takes every change of size; the buttons stay at the bottom-right corner.
    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_close);
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertyForm::OnTabChanged);
    connect(m_apply, &QPushButton::clicked, this, &CPropertyForm::OnApply);
    connect(m_ok, &QPushButton::clicked, this, &CPropertyForm::OnOk);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CPropertyForm::AddResetButton()
{
    if (m_reset)
        return;
    m_reset = new QPushButton(tr("Reset to camera defaults"), this);
    m_reset->setObjectName(QStringLiteral("resetDefaults"));
    m_reset->setAutoDefault(false);
    if (auto* buttons = findChild<QHBoxLayout*>(QStringLiteral("buttons")))
        buttons->insertWidget(0, m_reset);
    connect(m_reset, &QPushButton::clicked, this, &CPropertyForm::OnResetDefaults);
}

void CPropertyForm::OnResetDefaults()
{
    // Every page, not only the one on screen: the camera as it came.
    for (CPropertyPage* page : std::as_const(m_pages)) {
        page->ResetToDefaults();
        page->Apply();
    }
    m_apply->setEnabled(false);
}

void CPropertyForm::AddPage(CPropertyPage* page)
{
    m_pages.append(page);
    connect(page, &CPropertyPage::Changed, this, &CPropertyForm::OnPageChanged);
    const QSignalBlocker block(m_tabs);
    m_tabs->addTab(page, page->Title());
    if (m_current < 0)
        ActivatePage(0);
}

void CPropertyForm::ActivatePage(int index)
{
    if (index == m_current || index < 0 || index >= m_pages.size())
        return;
    m_current = index;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    FitToPage();
    m_apply->setEnabled(false);
}

void CPropertyForm::FitToPage()
{
    if (m_current < 0)
        return;
    CPropertyPage* page = m_pages[m_current];
    const QSize wanted = page->sizeHint().expandedTo(page->minimumSizeHint());
    if (!isVisible() || !wanted.isValid()) {
        adjustSize();
        return;
    }
    // Grow or shrink the window by what the page's area lacks or has too much.
    resize(size() + (wanted - page->size()));
}

void CPropertyForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FitToPage();
}

void CPropertyForm::OnTabChanged(int index)
{
    ActivatePage(index);
}

void CPropertyForm::OnPageChanged()
{
    if (m_current >= 0 && sender() == m_pages[m_current])
        m_apply->setEnabled(true);
}

void CPropertyForm::OnApply()
{
    if (m_current >= 0)
        m_pages[m_current]->Apply();
    m_apply->setEnabled(false);
}

void CPropertyForm::OnOk()
{
    OnApply();
    accept();
}
