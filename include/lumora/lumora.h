// Lumora Core: every exported header of the library.
#ifndef LUMORA_LUMORA_H
#define LUMORA_LUMORA_H

#include <lumora/errors.h>
#include <lumora/exception.h>
#include <lumora/export.h>
#include <lumora/generic_roi.h>
#include <lumora/image.h>
#include <lumora/lifecycle.h>
#include <lumora/message_box.h>
#include <lumora/object_type.h>
#include <lumora/pixel.h>
#include <lumora/pixel_traits.h>
#include <lumora/roi.h>
#include <lumora/serializer.h>
#include <lumora/settings.h>
#include <lumora/units.h>
#include <lumora/vector.h>
#include <lumora/win_types.h>

#endif
