// Symbol visibility for the shared library. The library is built with hidden
// visibility, so only what is marked LUMORA_API is exported from liblumora.so.
#ifndef LUMORA_EXPORT_H
#define LUMORA_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define LUMORA_API __attribute__((visibility("default")))
#else
#define LUMORA_API
#endif

#endif
