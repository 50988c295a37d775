#pragma once

#include <cstdint>
#include <memory>

/**
 * @brief The newest frame as the graph holds it, read without a copy: rows top-down, 3 bytes a
 * pixel (BGR) or 4 (BGRx, the fourth byte unused). The rows stay readable, and unchanged, while
 * @c keep is held, also after the graph is gone.
 */
struct TavoHeldFrame
{
    const uint8_t* top = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerPixel = 3;
    uint64_t sequence = 0;
    int64_t arrivalNs = 0;
    std::shared_ptr<const void> keep;
};
