#pragma once
// Marks what libLumora.so exports; everything else stays hidden.

#if defined(_WIN32)
#if defined(LUMORA_BUILDING_LIBRARY)
#define LUMORA_EXPORT __declspec(dllexport)
#else
#define LUMORA_EXPORT __declspec(dllimport)
#endif
#else
#define LUMORA_EXPORT __attribute__((visibility("default")))
#endif
