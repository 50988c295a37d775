#pragma once

#include "measure/CrossLineHost.h"

// Lets the dialog work on any manager that offers the cross-line operations by these names
// (the shape manager does), without the dialog depending on the whole manager.
template <class Manager> class CManagerCrossLineHost : public CCrossLineHost
{
public:
    explicit CManagerCrossLineHost(Manager& manager) : m_manager(manager) { }

    int CrossLineCount() const override { return m_manager.CrossLineCount(); }
    void AppendCrossLine(const CCrossLine& line) override { m_manager.AppendCrossLine(line); }
    bool GetCrossLine(int index, CCrossLine& line) const override
    {
        return m_manager.GetCrossLine(index, line);
    }
    void SetCrossLine(
            int index, int shown, int x, int y, int type, uint32_t colour, int size) override
    {
        m_manager.SetCrossLine(index, shown, x, y, type, colour, size);
    }
    void RemoveCrossLine(int index) override { m_manager.RemoveCrossLine(index); }
    double ScaleX() const override { return m_manager.ScaleX(); }
    double ScaleY() const override { return m_manager.ScaleY(); }
    QString UnitText() const override { return m_manager.UnitText(); }
    void InvalidateAll() override { m_manager.InvalidateAll(); }

private:
    Manager& m_manager;
};
