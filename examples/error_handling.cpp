// The error-handling pattern of the library: test the thread's error word
// after a call and turn the code into its text.
#include <lumora/lumora.h>

#include <cstdio>

int main() {
    TraceSilent();  // no message boxes: this program reports errors itself
    KSetAngleUnit(static_cast<K_ANGLE_UNITS>(7));
    if (KFailure()) {
        std::printf("KSetAngleUnit(7) failed with %d: %s\n", KGetError(), KGetErrorText());
    }
    KSetAngleUnit(K_ANGLE_UNIT_DEGREES);
    std::printf("90 %s = %f radians\n", KGetAngleUnitName(), KToRadians(90.0f));
    return KSuccess() ? 0 : 1;
}
