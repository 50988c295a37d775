#pragma once

#include "capture/TavoCapExport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

/**
 * @brief Description of one device control, as VIDIOC_QUERYCTRL reports it.
 */
struct CCameraControlInfo
{
    uint32_t id = 0;
    /** @brief V4L2 control type (V4L2_CTRL_TYPE_INTEGER, _BOOLEAN, _MENU, _CTRL_CLASS, ...). */
    uint32_t type = 0;
    QString name;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t step = 1;
    int32_t defaultValue = 0;
    /** @brief V4L2_CTRL_FLAG_* bits. */
    uint32_t flags = 0;
    /** @brief Menu entry names by value (index minimum .. maximum); empty entries are gaps. */
    QStringList menu;
};

/**
 * @brief The control set of one camera (V4L2 controls on the device node).
 *
 * Tests replace it with a fake; the library reaches devices only through this interface.
 */
class TAVOCAP_EXPORT CCameraControls
{
public:
    virtual ~CCameraControls();

    /** @brief Describes control @p id; false when the device lacks it. */
    virtual bool Query(uint32_t id, CCameraControlInfo& info) = 0;
    /** @brief Reads the value of control @p id; false on failure. */
    virtual bool Get(uint32_t id, int32_t& value) = 0;
    /** @brief Writes the value of control @p id; false on failure. */
    virtual bool Set(uint32_t id, int32_t value) = 0;
    /** @brief Every control of the device in driver order, class headings included. */
    virtual QList<CCameraControlInfo> List() = 0;
};
