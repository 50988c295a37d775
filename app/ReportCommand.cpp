#include "app/ReportCommand.h"

#include "app/ReportDlg.h"
#include "base/GeneralSettings.h"
#include "base/UserMessages.h"

#include <QDir>
#include <QFileInfo>

CReportCommand::CReportCommand(CContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context))
{
}

bool CReportCommand::Run()
{
    CReportContent content;
    content.picture = m_context.picture();
    if (content.picture.isNull()) {
        UserMessages().Error({ .text = tr("There is no picture to report on yet."),
                .caption = m_context.window.windowTitle() });
        return false;
    }
    CGeneralSettings& general = m_context.general;
    const QString folder =
            general.m_strReportPath.isEmpty() ? general.m_strMeasurePath : general.m_strReportPath;
    CReportDlg dialog(folder, general.m_strReportTitle, &m_context.window);
    dialog.setObjectName(QStringLiteral("reportDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return false;

    content.title = dialog.Title();
    content.note = dialog.Note();
    content.when = QDateTime::currentDateTime();
    m_context.fill(content);
    const QString path = dialog.FilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!CInspectionReport::WritePdf(
                content, path, CInspectionReport::PageSizeFor(QLocale()), error)) {
        UserMessages().Error({ .text = tr("Cannot write the report %1:\n%2")
                                               .arg(QDir::toNativeSeparators(path), error),
                .caption = m_context.window.windowTitle() });
        return false;
    }
    general.m_strReportPath = QFileInfo(path).absolutePath();
    general.m_strReportTitle = content.title;
    m_lastPath = path;
    return true;
}
