// The archive members of views and images, instantiated for the fifteen pixel
// types. KFLOAT32 and KFLOAT64 have no archive type code: their
// GetSerializationType raises 1031, so Save and Load of them fail with 1031
// before a byte is written (or after the signature and type are read).
//
// Also the one dispatcher from an image type code to its pixel type, for the
// row check Save makes before it writes anything.
#include "persist/image_archive_impl.h"
#include "persist/roi_archive_impl.h"

#define LUMORA_INSTANTIATE_ARCHIVE(C, T)                                         \
    template KObjectTypes::ObjectType C<T>::GetSerializationType();              \
    template void C<T>::VersionLessPartialSerialize(KSerializer*, unsigned int); \
    template void C<T>::VersionLessPartialSerialize(FILE*, int, unsigned int);   \
    template void C<T>::PartialSerialize(KSerializer*);                          \
    template void C<T>::PartialSerialize(FILE*, int);                            \
    template void C<T>::Serialize(KSerializer*, unsigned int);
#define LUMORA_INSTANTIATE(T)           \
    LUMORA_INSTANTIATE_ARCHIVE(KROI, T) \
    LUMORA_INSTANTIATE_ARCHIVE(KImage, T)
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_INSTANTIATE)
#undef LUMORA_INSTANTIATE
#undef LUMORA_INSTANTIATE_ARCHIVE

namespace lumora::detail {

namespace {

template <class T>
void CheckImageRows(const KGenericROI& object) {
    CheckRowsMovable(static_cast<const KImage<T>&>(object));
}

struct ImageRowCheck {
    int type;
    void (*check)(const KGenericROI&);
};

#define LUMORA_ROW_CHECK(T) {PixelTraits<T>::imageObjectType, &CheckImageRows<T>},
constexpr ImageRowCheck kImageRowChecks[] = {LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_ROW_CHECK)};
#undef LUMORA_ROW_CHECK

}  // namespace

void CheckSavableRows(const KGenericROI& object, int type) {
    for (const ImageRowCheck& entry : kImageRowChecks) {
        if (entry.type == type && type != 0) {
            entry.check(object);
            return;
        }
    }
}

}  // namespace lumora::detail
