#pragma once

#include "capture/CameraControls.h"
#include "capture/PropertyPage.h"

#include <QList>
#include <QMap>

#include <functional>

/**
 * @brief A page of device controls of one control class: sliders for integers, check boxes for
 * switches, lists for menus, each starting at the device's current value. Without any control
 * the page says that the camera has none.
 */
class CControlPage : public CPropertyPage
{
    Q_OBJECT

public:
    CControlPage(CCameraControls* controls, const QString& title,
            const QList<CCameraControlInfo>& items, QWidget* parent = nullptr);

    QString Title() const override { return m_title; }
    void Apply() override;
    // The next Apply writes the values before the switches: a manual mode the user set still
    // lets them in before the default automatic mode locks them.
    void ResetToDefaults() override
    {
        OnDefaults();
        m_valuesFirst = true;
    }

    /** @brief Splits a device's control list into pages by control class, in device order. */
    static QList<CControlPage*> CreatePages(CCameraControls* controls);

private:
    void AddControl(const CCameraControlInfo& info, class QFormLayout* layout);
    void Note(uint32_t id, int32_t value);
    void OnDefaults();

    CCameraControls* m_controls;
    QString m_title;
    QMap<uint32_t, int32_t> m_pending;
    QList<std::function<void()>> m_resetters;
    bool m_valuesFirst = false;
};
