#include "image/ThumbViewDlg.h"

#include "image/ImageListWnd.h"

#include <QScreen>
#include <QVBoxLayout>

CThumbViewDlg::CThumbViewDlg(const QString& folder, QWidget* parent)
    : QDialog(parent), m_list(new CImageListWnd(this))
{
    setObjectName(QStringLiteral("ThumbView"));
    setWindowTitle(tr("ThumbView"));
    resize(800, 600);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_list->setObjectName(QStringLiteral("thumbViewList"));
    m_list->SetSingleRow(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    m_list->SetFolder(folder);

    connect(m_list, &CImageListWnd::openRequested, this, &CThumbViewDlg::OnOpen);
    connect(m_list, &CImageListWnd::fileRemoved, this, &CThumbViewDlg::fileRemoved);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void CThumbViewDlg::OnOpen(const QString& path, bool reapplyZoom)
{
    emit openRequested(path, reapplyZoom);
    accept();
}
