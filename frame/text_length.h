// Length of a zero-terminated narrow or UTF-16 text, in characters or code
// units, for code written once for both forms.
#ifndef LUMORA_FRAME_TEXT_LENGTH_H
#define LUMORA_FRAME_TEXT_LENGTH_H

#include <cstddef>

namespace lumora::detail {

template <class Char>
size_t TextLength(const Char* text) {
    size_t length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}

}  // namespace lumora::detail

#endif
