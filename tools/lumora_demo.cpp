// lumora-demo: a tour of the library for a new user. It prints the version,
// lists the error table, and shows how failures are traced in each mode.
#include <lumora/lumora.h>

#include <cstdio>
#include <cstring>

namespace {

int PrintBox(const char* text, const char* caption, unsigned int style, void*) {
    std::printf("  [message box \"%s\", style 0x%04X]\n", caption, style);
    for (const char* line = text; *line;) {
        const char* end = std::strchr(line, '\n');
        const int length = end ? static_cast<int>(end - line) : static_cast<int>(std::strlen(line));
        std::printf("    | %.*s\n", length, line);
        line = end ? end + 1 : line + length;
    }
    return 1;
}

void ShowErrorTable() {
    std::printf("\nError table:\n");
    int count = 0;
    for (int code = 0; code <= 32767; ++code) {
        const char* text = KGetErrorText(static_cast<K_ERRORS>(code));
        if (std::strncmp(text, "Unknown error code:", 19) != 0) {
            std::printf("  %5d  %s\n", code, text);
            ++count;
        }
    }
    std::printf("  (%d codes; any other code reads \"%s\")\n", count,
                KGetErrorText(static_cast<K_ERRORS>(40000)));
}

void ShowTracing() {
    KSetMessageBoxHandler(&PrintBox, nullptr);

    std::printf("\nTrace mode 0 (message box): a failing call shows its own name\n");
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KSetAngleUnit(static_cast<K_ANGLE_UNITS>(7));
    std::printf("  KGetError() = %d\n", KGetError());

    std::printf("\nTrace mode 1 (silent): nothing is shown, the code is still stored\n");
    KSetTraceMode(K_TRACE_SILENT);
    KSetAngleUnit(static_cast<K_ANGLE_UNITS>(7));
    std::printf("  KGetError() = %d, KFailure() = %d\n", KGetError(), KFailure());

    std::printf("\nTrace mode 2 with a wrapped call: one box with the caller's file and line\n");
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    KTRACE(KSetAngleUnit(static_cast<K_ANGLE_UNITS>(7)));
    std::printf("  trace mode afterwards = %d\n", KGetTraceMode());

    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KSetAngleUnit(K_ANGLE_UNIT_DEGREES);
    KSetMessageBoxHandler(nullptr, nullptr);
}

void ShowSettings() {
    std::printf("\nSettings:\n");
    std::printf("  MMX: %d, recursive copies: %d, angle unit: %s\n", KGetMMX(),
                KGetRecursiveCopyBehavior(), KGetAngleUnitName());
    unsigned int skewSteps = 0, scaleSteps = 0;
    float skewStep = 0, scaleStep = 0;
    KSkewScaleSteps(64, 48, KToRadians(30.0f), skewSteps, skewStep, 0.2f, scaleSteps, scaleStep, 1);
    std::printf("  a 64 x 48 pattern over 30 %s and 20%% scale: %u rotations of %f rad, %u scales of %f\n",
                KGetAngleUnitName(), skewSteps, skewStep, scaleSteps, scaleStep);
}

}  // namespace

int main() {
    std::printf("Lumora Core %s\n", KGetVersion());
    ShowErrorTable();
    ShowTracing();
    ShowSettings();
    return 0;
}
