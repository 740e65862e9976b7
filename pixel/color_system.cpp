#include <lumora/pixel.h>

namespace {

constexpr const char* kColorSystemNames[] = {
    "K_COLOR_SYSTEM_NONE",    "K_COLOR_SYSTEM_BILEVEL", "K_COLOR_SYSTEM_GRAY_LEVEL",
    "K_COLOR_SYSTEM_XYZ",     "K_COLOR_SYSTEM_RGB",     "K_COLOR_SYSTEM_LAB",
    "K_COLOR_SYSTEM_LUV",     "K_COLOR_SYSTEM_YUV",     "K_COLOR_SYSTEM_YIQ",
    "K_COLOR_SYSTEM_LCH",     "K_COLOR_SYSTEM_ISH",     "K_COLOR_SYSTEM_LSH",
    "K_COLOR_SYSTEM_VSH",     "K_COLOR_SYSTEM_YSH",     "K_COLOR_SYSTEM_LABELIZED",
    "K_COLOR_SYSTEM_GRADIENT",
};
constexpr int kNamedColorSystems = sizeof kColorSystemNames / sizeof kColorSystemNames[0];

}  // namespace

const char* KColorSystemName(K_COLOR_SYSTEM colorSystem) {
    if (colorSystem == K_COLOR_SYSTEM_UNKNOWN) {
        return "K_COLOR_SYSTEM_UNKNOWN";
    }
    if (colorSystem >= 0 && colorSystem < kNamedColorSystems) {
        return kColorSystemNames[colorSystem];
    }
    return "K_COLOR_SYSTEM : <UNKNOWN>";
}

const char* KBooleanText(int value) { return value ? "TRUE" : "FALSE"; }
