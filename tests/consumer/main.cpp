// Uses the installed library through its public headers only.
#include <lumora/lumora.h>

#include <cstdio>

int main() {
    KSetError(K_ERROR_SIZE_MISMATCH);
    if (KGetError() != 1403 || !KFailure()) {
        return 1;
    }
    KOk();
    std::printf("Lumora %s: %s\n", KGetVersion(), KGetErrorText());
    return KSuccess() ? 0 : 1;
}
