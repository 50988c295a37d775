#include "app/ReportDlg.h"

#include "app/InspectionReport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

CReportDlg::CReportDlg(const QString& folder, const QString& title, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Report"));
    m_title = new QLineEdit(title, this);
    m_title->setObjectName(QStringLiteral("reportTitle"));
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("reportNote"));
    m_note->setTabChangesFocus(true);
    m_note->setPlaceholderText(tr("What was inspected, and what was found"));
    const QString name = CInspectionReport::ProposedFileName(
            title.isEmpty() ? tr("Inspection report") : title, QDateTime::currentDateTime());
    m_file = new QLineEdit(QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name), this);
    m_file->setObjectName(QStringLiteral("reportFile"));
    auto* browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &CReportDlg::OnBrowse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(tr("&Title:"), m_title);
    form->addRow(tr("&Note:"), m_note);
    auto* fileLabel = new QLabel(tr("&File:"), this);
    fileLabel->setBuddy(m_file); // a row of two widgets gets no buddy of its own
    form->addRow(fileLabel, fileRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(tr("Write PDF"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_title, &QLineEdit::textChanged, this, &CReportDlg::UpdateOk);
    connect(m_file, &QLineEdit::textChanged, this, &CReportDlg::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addWidget(buttons);
    resize(520, 320);
    if (title.isEmpty())
        m_title->setText(tr("Inspection report"));
    m_title->selectAll();
    m_title->setFocus();
    UpdateOk();
}

QString CReportDlg::Title() const
{
    return m_title->text().trimmed();
}

QString CReportDlg::Note() const
{
    return m_note->toPlainText();
}

QString CReportDlg::FilePath() const
{
    QString path = m_file->text().trimmed();
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

void CReportDlg::OnBrowse()
{
    const QString path = QFileDialog::getSaveFileName(
            this, tr("Report"), FilePath(), tr("PDF documents (*.pdf)"));
    if (!path.isEmpty())
        m_file->setText(path);
}

void CReportDlg::UpdateOk()
{
    m_ok->setEnabled(
            !Title().isEmpty() && !QFileInfo(m_file->text().trimmed()).fileName().isEmpty());
}
