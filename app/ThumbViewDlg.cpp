#include "app/ThumbViewDlg.h"

#include "image/ImageListWnd.h"

#include <QResizeEvent>
#include <QScreen>

CThumbViewDlg::CThumbViewDlg(const QString& imageFolder, QWidget* parent)
    : QDialog(parent), m_list(new CImageListWnd(this))
{
    setObjectName(QStringLiteral("thumbView"));
    setWindowTitle(tr("ThumbView"));
    // 800 x 600 centred first, so that restoring from maximised lands somewhere sensible.
    QRect frame(0, 0, 800, 600);
    if (const QScreen* screen = parent ? parent->screen() : nullptr)
        frame.moveCenter(screen->availableGeometry().center());
    setGeometry(frame);
    m_list->setObjectName(QStringLiteral("thumbViewList"));
    m_list->SetSingleRow(false);
    m_list->SetFolder(imageFolder);
    m_list->setGeometry(rect());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void CThumbViewDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!event->size().isEmpty())
        m_list->setGeometry(rect());
}
