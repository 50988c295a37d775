#pragma once

#include "measure/CrossLine.h"

#include <QString>

#include <cstdint>

// What the "Cross line" dialog needs from the owner of the cross-line list. The dialog keeps
// no copy: every change goes straight into the list and redraws the canvas.
class CCrossLineHost
{
public:
    virtual ~CCrossLineHost() = default;

    virtual int CrossLineCount() const = 0;
    virtual void AppendCrossLine(const CCrossLine& line) = 0;
    // False when index is past the end.
    virtual bool GetCrossLine(int index, CCrossLine& line) const = 0;
    // Ignored when index is past the end.
    virtual void SetCrossLine(
            int index, int shown, int x, int y, int type, uint32_t colour, int size) = 0;
    virtual void RemoveCrossLine(int index) = 0;

    // Real units per image pixel, for the read-outs beside X and Y.
    virtual double ScaleX() const = 0;
    virtual double ScaleY() const = 0;
    virtual QString UnitText() const = 0; // the unit of those read-outs

    virtual void InvalidateAll() = 0;
};
