// Turning error codes into texts. Unknown codes and wide texts are formatted
// into two process-wide buffers, shared by all threads without a lock, as the
// interface documents: callers copy the text before asking again.
#include <lumora/errors.h>

#include <cstdio>

namespace {

struct ErrorText {
    K_ERRORS code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
#define LUMORA_ERROR(name, code, text) {name, text},
#include <lumora/error_codes.inc>
#undef LUMORA_ERROR
};

char g_unknownCodeText[44];
unsigned short g_wideText[256];

const char* FindText(K_ERRORS code) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return nullptr;
}

}  // namespace

const char* KGetErrorText(K_ERRORS code) {
    if (const char* text = FindText(code)) {
        return text;
    }
    // The code is shown as a signed 16-bit number: 40000 reads as -25536.
    std::snprintf(g_unknownCodeText, sizeof g_unknownCodeText, "Unknown error code: %hd",
                  static_cast<short>(code));
    return g_unknownCodeText;
}

const char* KGetErrorText() { return KGetErrorText(KGetError()); }

const unsigned short* KGetErrorTextUnicode(K_ERRORS code) {
    const char* text = KGetErrorText(code);
    size_t i = 0;
    // Each byte is widened as a signed 8-bit value; the texts are 7-bit ASCII.
    for (; text[i] != '\0' && i + 1 < sizeof g_wideText / sizeof g_wideText[0]; ++i) {
        g_wideText[i] = static_cast<unsigned short>(static_cast<short>(static_cast<signed char>(text[i])));
    }
    g_wideText[i] = 0;
    return g_wideText;
}

const unsigned short* KGetErrorTextUnicode() { return KGetErrorTextUnicode(KGetError()); }
