#include "app/SidePanel.h"

#include "app/TavoMeasureDlg.h"

CSidePanel::CSidePanel(CTavoMeasureDlg* mainWindow, QWidget* parent)
    : QWidget(parent), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("sidePanel"));
}
