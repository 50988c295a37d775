#pragma once

#include <QString>
#include <QStringList>

// What the Texts Manager needs from the owner of the text annotations. Row i of the dialog
// and annotation i stay aligned because both lose the same index.
class CTextsHost
{
public:
    virtual ~CTextsHost() = default;

    virtual QStringList Texts() const = 0;
    // Ignored when index is past the end.
    virtual void SetText(int index, const QString& text) = 0;
    virtual void DeleteText(int index) = 0;
    virtual void DeleteAllTexts() = 0;
    virtual void InvalidateAll() = 0;
};
