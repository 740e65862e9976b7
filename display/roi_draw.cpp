// Drawing views, images and masks into a device context. The image display
// is not available yet: these report "not yet implemented".
#include <lumora/image.h>

#include "frame/report.h"

namespace {
void NotYetDrawn(const char* operation) {
    KOk();
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, operation);
}
}  // namespace

template <class T>
void KROI<T>::DrawMask(HDC, float, float, float, float) {
    NotYetDrawn("KROI::DrawMask");
}
template <class T>
void KROI<T>::Draw(HDC, float, float) {
    NotYetDrawn("KROI::Draw");
}
template <class T>
void KImage<T>::DrawMask(HDC, float, float, float, float) {
    NotYetDrawn("KImage::DrawMask");
}
template <class T>
void KImage<T>::Draw(HDC, float, float) {
    NotYetDrawn("KImage::Draw");
}
template <class T>
void KImage<T>::Draw(Corvane::DrawAdapter*, float, float, float, float) {
    NotYetDrawn("KImage::Draw");
}

#define LUMORA_INSTANTIATE(T)                                                           \
    template void KROI<T>::DrawMask(HDC, float, float, float, float);                   \
    template void KROI<T>::Draw(HDC, float, float);                                      \
    template void KImage<T>::DrawMask(HDC, float, float, float, float);                 \
    template void KImage<T>::Draw(HDC, float, float);                                    \
    template void KImage<T>::Draw(Corvane::DrawAdapter*, float, float, float, float);
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_INSTANTIATE)
