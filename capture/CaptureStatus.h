#pragma once

#include <cstdint>

/**
 * @brief Status values of TavoCap, in the result-code convention of the original library:
 * 0 or positive is success, negative is failure.
 */
namespace TavoStatus {

/** @brief Success. */
inline constexpr int32_t Ok = 0;
/** @brief Success while a state change is still in progress, or device selection without
 * any camera category. */
inline constexpr int32_t Pending = 1;
/** @brief Unspecified failure (E_FAIL). */
inline constexpr int32_t Fail = static_cast<int32_t>(0x80004005u);
/** @brief Missing camera, graph or grabber, or a null out pointer (E_POINTER). */
inline constexpr int32_t Pointer = static_cast<int32_t>(0x80004003u);
/** @brief The device offers no such control (E_NOINTERFACE). */
inline constexpr int32_t NoInterface = static_cast<int32_t>(0x80004002u);
/** @brief A frame copy was asked for while the graph is not running (E_ACCESSDENIED). */
inline constexpr int32_t AccessDenied = static_cast<int32_t>(0x80070005u);
/** @brief No frame has arrived at the grabber yet (VFW_E_WRONG_STATE). */
inline constexpr int32_t WrongState = static_cast<int32_t>(0x80040227u);
/** @brief The caller's buffer is smaller than the frame (E_OUTOFMEMORY). */
inline constexpr int32_t OutOfMemory = static_cast<int32_t>(0x8007000Eu);

} // namespace TavoStatus
