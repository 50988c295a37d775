#pragma once

#include <QWidget>

class CTavoMeasureDlg;

// The command panel beside the picture.
class CSidePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CSidePanel(CTavoMeasureDlg* mainWindow, QWidget* parent = nullptr);

private:
    CTavoMeasureDlg* m_mainWindow;
};
