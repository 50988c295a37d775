#include "app/SaveSettingDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxFolderLength = 259;
}

CSaveSettingDlg::CSaveSettingDlg(const QString& imageFolder, const QString& format, QWidget* parent)
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
    // PNG and TIFF keep every pixel and carry the calibration for other programs.
    m_pngButton = new QRadioButton(tr("PNG(*.png)"), formatGroup);
    m_pngButton->setObjectName(QStringLiteral("pngButton"));
    m_pngButton->setToolTip(tr("Lossless; carries the calibration in use"));
    m_tiffButton = new QRadioButton(tr("TIFF(*.tif)"), formatGroup);
    m_tiffButton->setObjectName(QStringLiteral("tiffButton"));
    m_tiffButton->setToolTip(tr("Lossless; ImageJ and Fiji open it calibrated"));
    QRadioButton* chosen = m_jpegButton;
    if (format == QLatin1String("bmp"))
        chosen = m_bmpButton;
    else if (format == QLatin1String("png"))
        chosen = m_pngButton;
    else if (format == QLatin1String("tif"))
        chosen = m_tiffButton;
    chosen->setChecked(true);
    auto* formatLayout = new QGridLayout(formatGroup);
    formatLayout->addWidget(m_bmpButton, 0, 0);
    formatLayout->addWidget(m_jpegButton, 0, 1);
    formatLayout->addWidget(m_pngButton, 1, 0);
    formatLayout->addWidget(m_tiffButton, 1, 1);
    formatLayout->setColumnStretch(2, 1);

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

QString CSaveSettingDlg::Format() const
{
    if (m_bmpButton->isChecked())
        return QStringLiteral("bmp");
    if (m_pngButton->isChecked())
        return QStringLiteral("png");
    if (m_tiffButton->isChecked())
        return QStringLiteral("tif");
    return QStringLiteral("jpg");
}
