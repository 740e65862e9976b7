#include <lumora/exception.h>

namespace Corvane::Lumora {

const char* Exception::GetText() const { return KGetErrorText(m_eCode); }

}  // namespace Corvane::Lumora
