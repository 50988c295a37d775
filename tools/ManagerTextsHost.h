#pragma once

#include "tools/TextsHost.h"

// Lets the Texts Manager work on any manager that offers the text operations by these names
// (the shape manager does), without the dialog depending on the whole manager.
template <class Manager> class CManagerTextsHost : public CTextsHost
{
public:
    explicit CManagerTextsHost(Manager& manager) : m_manager(manager) { }

    QStringList Texts() const override { return m_manager.Texts(); }
    void SetText(int index, const QString& text) override { m_manager.SetText(index, text); }
    void DeleteText(int index) override { m_manager.DeleteText(index); }
    void DeleteAllTexts() override { m_manager.DeleteAllTexts(); }
    void InvalidateAll() override { m_manager.InvalidateAll(); }

private:
    Manager& m_manager;
};
