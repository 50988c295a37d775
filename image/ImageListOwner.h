#pragma once

#include <QString>

// The window a thumbnail list serves in merge mode (the Image Merge dialog). A list with an
// owner shows "Display" and "Remove"; item i of the list is picture i of the owner's set.
class CImageListOwner
{
public:
    // "Display": show the picture in the owner's big view.
    virtual void DisplayImage(const QString& path) = 0;
    // Called for each removed item, before the file goes, so the set stays in step.
    virtual void RemoveFusionImage(int index) = 0;

protected:
    ~CImageListOwner() = default;
};
