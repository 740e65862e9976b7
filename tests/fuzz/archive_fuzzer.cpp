// Fuzz entry point of the archive loader: the bytes are loaded through a
// memory reader into a KImage<KBW8>, into a KROI<KBW8> attached to an image,
// into a KImage<KC24> and through the partial records of a KImage<KBW16>.
// Whatever the bytes, the load must end with an error code or a consistent
// tree, never a crash, a leak or an access outside a buffer.
#include <lumora/image.h>
#include <lumora/serializer.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Walks a loaded tree and touches the first and last pixel of each view, so
// that a placement outside the image shows up under AddressSanitizer.
template <class T>
void TouchTree(KROI<T>& root) {
    for (KGenericROI* node = &root; node; node = node->GetNextROI(&root)) {
        auto* view = static_cast<KROI<T>*>(node);
        if (view->GetWidth() > 0 && view->GetHeight() > 0 && view->GetTopParent() == &root &&
            view->GetGenericImagePtr(0, 0)) {
            volatile const unsigned char* first = static_cast<const unsigned char*>(view->GetGenericImagePtr(0, 0));
            volatile const unsigned char* last =
                static_cast<const unsigned char*>(view->GetGenericImagePtr(view->GetWidth() - 1, view->GetHeight() - 1));
            (void)*first;
            (void)*last;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TraceSilent();
    const std::vector<unsigned char> bytes(data, data + size);
    KMemSerializer reader;

    reader.OpenReader(bytes);
    KImage<KBW8> image;
    image.Load(&reader);
    TouchTree(image);
    // A second load into the same image replaces the first tree.
    reader.OpenReader(bytes);
    image.Load(&reader);
    TouchTree(image);

    reader.OpenReader(bytes);
    KImage<KBW8> parent(16, 16);
    KROI<KBW8> view(&parent, 2, 2, 8, 8);
    view.Load(&reader);
    view.Attach(&parent);
    TouchTree(parent);

    reader.OpenReader(bytes);
    KImage<KC24> colour;
    colour.Load(&reader);
    TouchTree(colour);

    reader.OpenReader(bytes);
    KImage<KBW16> partial;
    partial.PartialSerialize(&reader);
    reader.OpenReader(bytes);
    partial.VersionLessPartialSerialize(&reader, static_cast<unsigned int>(size % 40));
    return 0;
}
