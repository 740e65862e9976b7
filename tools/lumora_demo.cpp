// lumora-demo: a tour of the library for a new user. It prints the version,
// lists the error table, and shows how failures are traced in each mode.
#include <lumora/lumora.h>

#include <cstdint>
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

void ShowImageModel() {
    std::printf("\nImage model:\n");
    KImage<KBW8> image(640, 480);
    std::printf("  KImage<KBW8> %d x %d: row pitch %d bytes (rows padded to 192 bits), first pixel %s on 32 bytes\n",
                image.GetWidth(), image.GetHeight(), image.GetRowPitch(),
                reinterpret_cast<uintptr_t>(image.GetGenericImagePtr(0, 0)) % 32 == 0 ? "aligned" : "NOT aligned");

    KROI<KBW8> view(&image, 600, 0, 100, 100);
    std::printf("  KROI<KBW8> asked for 100 x 100 at (600, 0): placed at (%d, %d), %d x %d (clipped to the image)\n",
                view.GetOrgX(), view.GetOrgY(), view.GetWidth(), view.GetHeight());

    for (int y = 0; y < view.GetHeight(); ++y) {
        for (int x = 0; x < view.GetWidth(); ++x) {
            view.SetPixel(KBW8{static_cast<uint8_t>(x + y)}, x, y);
        }
    }
    std::printf("  wrote x + y through the view; the image sees at (600, 0) %d, at (639, 5) %d, at (620, 99) %d\n",
                image.GetPixel(600, 0).m_un8Value, image.GetPixel(639, 5).m_un8Value,
                image.GetPixel(620, 99).m_un8Value);
    std::printf("  view pixel (3, 4) is image byte %td from the first pixel\n",
                static_cast<const unsigned char*>(view.GetGenericImagePtr(3, 4)) -
                    static_cast<const unsigned char*>(image.GetGenericImagePtr(0, 0)));

    image.SetSize(320, 240);
    std::printf("  after resizing the image to 320 x 240 the view is at (%d, %d), %d x %d: %s\n", view.GetOrgX(),
                view.GetOrgY(), view.GetWidth(), view.GetHeight(), KGetErrorText());
    KOk();
}

}  // namespace

int main() {
    std::printf("Lumora Core %s\n", KGetVersion());
    ShowErrorTable();
    ShowTracing();
    ShowSettings();
    ShowImageModel();
    return 0;
}
