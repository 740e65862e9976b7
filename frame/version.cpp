#include <lumora/errors.h>

namespace {
constexpr char kVersion[] = "6.7.1.0";
constexpr unsigned short kVersionUnicode[] = {'6', '.', '7', '.', '1', '.', '0', 0};
static_assert(sizeof kVersion == sizeof kVersionUnicode / sizeof kVersionUnicode[0]);
}  // namespace

const char* KGetVersion() { return kVersion; }
const unsigned short* KGetVersionUnicode() { return kVersionUnicode; }
