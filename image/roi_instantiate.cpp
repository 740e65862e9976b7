// The view and image templates, instantiated for the fifteen pixel types.
// Members whose work belongs to the archive and display layers are
// instantiated there.
#include "image/image_buffer_impl.h"
#include "image/image_copy_impl.h"
#include "image/roi_copy_impl.h"
#include "image/roi_mask_builders_impl.h"
#include "image/roi_pixels_impl.h"
#include "image/roi_placement_impl.h"
#include "image/roi_tree_impl.h"
#include "image/roi_view_misc_impl.h"

#define LUMORA_INSTANTIATE(T) \
    template class KROI<T>;   \
    template class KImage<T>;
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_INSTANTIATE)
#undef LUMORA_INSTANTIATE
