#include "platform/utf16.h"

#include <cerrno>

namespace lumora::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(unsigned short unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned short unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

size_t Utf16Length(const unsigned short* text) {
    size_t length = 0;
    if (text) {
        while (text[length] != 0) {
            ++length;
        }
    }
    return length;
}

std::string Utf16ToUtf8(const unsigned short* text) {
    std::string out;
    if (!text) {
        return out;
    }
    for (size_t i = 0; text[i] != 0; ++i) {
        const unsigned short unit = text[i];
        if (IsHighSurrogate(unit) && IsLowSurrogate(text[i + 1])) {
            const char32_t code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                  (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            AppendUtf8(out, code);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

FILE* OpenWideFile(const unsigned short* path, const unsigned short* mode) {
    if (!path || path[0] == 0 || !mode) {
        errno = ENOENT;
        return nullptr;
    }
    return std::fopen(Utf16ToUtf8(path).c_str(), Utf16ToUtf8(mode).c_str());
}

}  // namespace lumora::platform
