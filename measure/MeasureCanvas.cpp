#include "measure/MeasureCanvas.h"

#include "app/IniFile.h"

#include <QPainter>

CMeasureCanvas::CMeasureCanvas(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath)
{
    m_crossLines = CCrossLine::LoadAll(CIniFile(settingsPath));
}

CMeasureCanvas::~CMeasureCanvas()
{
    CIniFile ini(m_settingsPath);
    CCrossLine::SaveAll(ini, m_crossLines);
    ini.Save();
}

void CMeasureCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}
