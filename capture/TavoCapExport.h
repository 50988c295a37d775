#pragma once

#if defined(TAVOCAP_BUILDING)
#define TAVOCAP_EXPORT __attribute__((visibility("default")))
#else
#define TAVOCAP_EXPORT
#endif
