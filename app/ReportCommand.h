#pragma once

#include "app/InspectionReport.h"

#include <QObject>

#include <functional>

struct CGeneralSettings;
class QWidget;

// "Report...": asks for the title, note and file, gathers the picture with its drawing, the
// scale and the results, and writes the PDF. The last folder and title are kept in the settings.
class CReportCommand : public QObject
{
    Q_OBJECT
public:
    struct CContext
    {
        QWidget& window;
        CGeneralSettings& general;
        std::function<QImage()> picture; // with the drawing; null: no picture
        // Everything else the report shows; the window fills it when asked.
        std::function<void(CReportContent&)> fill;
    };

    explicit CReportCommand(CContext context, QObject* parent = nullptr);

    // Returns true when a report was written.
    bool Run();
    // Where the last report went, for the window's status.
    QString LastPath() const { return m_lastPath; }

private:
    CContext m_context;
    QString m_lastPath;
};
