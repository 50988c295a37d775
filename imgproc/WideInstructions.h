#pragma once

// x86 processors with AVX2 get wider loops in the frame filters and in the fusion's
// correlation search, chosen at run time so that one build runs on every processor.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define KALVEX_X86_DISPATCH 1
#endif

/// @brief True when the AVX2 loops may run: the processor has AVX2 and they are allowed.
bool UseWideInstructions();

/// @brief Allows (the default) or forbids the AVX2 loops; both paths give the same bytes.
void AllowWideInstructions(bool allowed);
