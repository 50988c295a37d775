#pragma once

#include <cstddef>

// Watches the size of every malloc, calloc and realloc request while it lives: how much a decoder
// asks for is what a hostile file controls, whether or not the pages are ever touched.
// Sanitizer builds own malloc themselves; there the probe is not Available().
class CAllocationProbe
{
public:
    CAllocationProbe();
    ~CAllocationProbe();
    CAllocationProbe(const CAllocationProbe&) = delete;
    CAllocationProbe& operator=(const CAllocationProbe&) = delete;

    static bool Available();
    size_t Largest() const; // the largest single request since construction
};
