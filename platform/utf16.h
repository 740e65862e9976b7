// UTF-16 text as the library's wide interfaces take it (arrays of unsigned
// short, zero-terminated), and opening files by UTF-16 path: the file system
// takes UTF-8, so wide paths are converted before they are opened.
#ifndef LUMORA_PLATFORM_UTF16_H
#define LUMORA_PLATFORM_UTF16_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace lumora::platform {

// Number of code units before the terminating zero.
size_t Utf16Length(const unsigned short* text);

// UTF-8 form of a UTF-16 text. Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const unsigned short* text);

// fopen with a UTF-16 path and mode; null (with errno set) when the path is
// null or empty or the open fails.
FILE* OpenWideFile(const unsigned short* path, const unsigned short* mode);

}  // namespace lumora::platform

#endif
