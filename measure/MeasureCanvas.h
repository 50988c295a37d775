#pragma once

#include "measure/CrossLine.h"

#include <QString>
#include <QWidget>

#include <vector>

// The picture area of the main window. Its construction reads the cross lines from the
// settings file and its destruction writes them back.
class CMeasureCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit CMeasureCanvas(const QString& settingsPath, QWidget* parent = nullptr);
    ~CMeasureCanvas() override;

    const std::vector<CCrossLine>& CrossLines() const { return m_crossLines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_settingsPath;
    std::vector<CCrossLine> m_crossLines;
};
