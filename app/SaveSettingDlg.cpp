#include "app/SaveSettingDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxFolderLength = 259;
}

CSaveSettingDlg::CSaveSettingDlg(const QString& imageFolder, bool bmp, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Save Setting"));
    setObjectName(QStringLiteral("saveSettingDlg"));

    auto* pathGroup = new QGroupBox(tr("Save path"), this);
    m_folderEdit = new QPlainTextEdit(imageFolder, pathGroup);
    m_folderEdit->setObjectName(QStringLiteral("folderEdit"));
    m_folderEdit->setTabChangesFocus(true);
    m_folderEdit->setFixedHeight(m_folderEdit->fontMetrics().lineSpacing() * 3 + 12);
    auto* selectButton = new QPushButton(tr("Select"), pathGroup);
    selectButton->setObjectName(QStringLiteral("selectButton"));
    auto* pathLayout = new QHBoxLayout(pathGroup);
    pathLayout->addWidget(m_folderEdit, 1);
    pathLayout->addWidget(selectButton, 0, Qt::AlignTop);

    auto* formatGroup = new QGroupBox(tr("Save format"), this);
    m_bmpButton = new QRadioButton(tr("Bitmap(*.bmp)"), formatGroup);
    m_bmpButton->setObjectName(QStringLiteral("bmpButton"));
    m_jpegButton = new QRadioButton(tr("JPEG(*.jpg)"), formatGroup);
    m_jpegButton->setObjectName(QStringLiteral("jpegButton"));
    (bmp ? m_bmpButton : m_jpegButton)->setChecked(true);
    auto* formatLayout = new QHBoxLayout(formatGroup);
    formatLayout->addWidget(m_bmpButton);
    formatLayout->addWidget(m_jpegButton);
    formatLayout->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathGroup);
    layout->addWidget(formatGroup);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    m_chooser = [](QWidget* owner, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    };
    connect(selectButton, &QPushButton::clicked, this, &CSaveSettingDlg::OnSelect);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CSaveSettingDlg::OnSelect()
{
    const QString folder = m_chooser(this, tr("Select Path:"), ImageFolder());
    if (!folder.isEmpty())
        m_folderEdit->setPlainText(folder);
}

QString CSaveSettingDlg::ImageFolder() const
{
    return m_folderEdit->toPlainText().trimmed().left(kMaxFolderLength);
}

bool CSaveSettingDlg::IsBmp() const
{
    return m_bmpButton->isChecked();
}
