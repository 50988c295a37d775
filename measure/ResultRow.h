#pragma once

#include <QString>

#include <cstdint>

// One row of the results list: the id of the label that shows the value, and its texts.
struct CResultRow
{
    uint32_t rowId = 0;
    QString type; // "length", "degree", "acreage", "diameter", "distance"
    QString result; // already formatted
    QString unit;
};
