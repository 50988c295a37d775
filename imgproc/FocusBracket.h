#pragma once

#include <optional>

/// @brief Decides, from the sharpness meter's measure of each live frame, when the focus has
/// moved far enough for the next picture of a focus bracket: the user only turns the knob.
class CFocusBracket
{
public:
    /// @brief A frame is taken when its sharpness differs from that of the last one taken by
    /// at least this share.
    static constexpr double kStep = 0.12;

    /// @brief True when the frame of this sharpness is to be taken; the first always is. A
    /// frame without measurable detail (0) never is.
    bool Offer(double sharpness);
    void Restart() { m_last.reset(); }

private:
    std::optional<double> m_last;
};
