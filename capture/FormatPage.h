#pragma once

#include "capture/CaptureDevice.h"
#include "capture/PropertyPage.h"

#include <functional>

class QListWidget;

/**
 * @brief The capture format page: the camera's sizes and formats; Apply() makes the selected
 * one the pin's format. Without applyFormat the list only shows the format in use.
 */
class CFormatPage : public CPropertyPage
{
    Q_OBJECT

public:
    CFormatPage(const QList<CCaptureFormat>& formats, int current,
            std::function<void(int)> applyFormat, QWidget* parent = nullptr);

    QString Title() const override { return tr("Stream Format"); }
    void Apply() override;

private:
    QListWidget* m_list;
    std::function<void(int)> m_applyFormat;
};
