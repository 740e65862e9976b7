// The archive members of views and images. The archive type code comes from
// the pixel traits; the record formats are not available yet and report
// "not yet implemented".
#include <lumora/image.h>

#include "frame/report.h"

template <class T>
KObjectTypes::ObjectType KROI<T>::GetSerializationType() {
    if constexpr (!PixelTraits<T>::archivable) {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } else {
        return static_cast<KObjectTypes::ObjectType>(PixelTraits<T>::roiObjectType);
    }
}

template <class T>
KObjectTypes::ObjectType KImage<T>::GetSerializationType() {
    if constexpr (!PixelTraits<T>::archivable) {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } else {
        return static_cast<KObjectTypes::ObjectType>(PixelTraits<T>::imageObjectType);
    }
}

namespace {
void NotYetArchived(const char* operation) {
    KOk();
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, operation);
}
}  // namespace

template <class T>
void KROI<T>::VersionLessPartialSerialize(KSerializer*, unsigned int) {
    NotYetArchived("KROI::VersionLessPartialSerialize");
}
template <class T>
void KROI<T>::VersionLessPartialSerialize(FILE*, int, unsigned int) {
    NotYetArchived("KROI::VersionLessPartialSerialize");
}
template <class T>
void KROI<T>::PartialSerialize(KSerializer*) {
    NotYetArchived("KROI::PartialSerialize");
}
template <class T>
void KROI<T>::PartialSerialize(FILE*, int) {
    NotYetArchived("KROI::PartialSerialize");
}
template <class T>
void KROI<T>::Serialize(KSerializer*, unsigned int) {
    NotYetArchived("KROI::Serialize");
}
template <class T>
void KImage<T>::VersionLessPartialSerialize(KSerializer*, unsigned int) {
    NotYetArchived("KImage::VersionLessPartialSerialize");
}
template <class T>
void KImage<T>::VersionLessPartialSerialize(FILE*, int, unsigned int) {
    NotYetArchived("KImage::VersionLessPartialSerialize");
}
template <class T>
void KImage<T>::PartialSerialize(KSerializer*) {
    NotYetArchived("KImage::PartialSerialize");
}
template <class T>
void KImage<T>::PartialSerialize(FILE*, int) {
    NotYetArchived("KImage::PartialSerialize");
}
template <class T>
void KImage<T>::Serialize(KSerializer*, unsigned int) {
    NotYetArchived("KImage::Serialize");
}

#define LUMORA_INSTANTIATE_ARCHIVE(C, T)                                                 \
    template KObjectTypes::ObjectType C<T>::GetSerializationType();                                   \
    template void C<T>::VersionLessPartialSerialize(KSerializer*, unsigned int);          \
    template void C<T>::VersionLessPartialSerialize(FILE*, int, unsigned int);            \
    template void C<T>::PartialSerialize(KSerializer*);                                   \
    template void C<T>::PartialSerialize(FILE*, int);                                     \
    template void C<T>::Serialize(KSerializer*, unsigned int);
#define LUMORA_INSTANTIATE(T)            \
    LUMORA_INSTANTIATE_ARCHIVE(KROI, T) \
    LUMORA_INSTANTIATE_ARCHIVE(KImage, T)
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_INSTANTIATE)
