// Exceptions that carry an error code inside the library. Public operations
// catch them and turn them into the thread's error word; only the classes
// that say so let one reach the caller.
#ifndef LUMORA_EXCEPTION_H
#define LUMORA_EXCEPTION_H

#include <lumora/errors.h>
#include <lumora/export.h>

namespace Corvane {

class LUMORA_API Exception {
public:
    virtual const char* GetText() const = 0;
};

namespace Lumora {

class LUMORA_API Exception : public Corvane::Exception {
public:
    explicit Exception(K_ERRORS code) : m_eCode(code) {}
    K_ERRORS GetCode() const { return m_eCode; }
    // The text of the carried code, from the library's error table.
    const char* GetText() const override;

private:
    K_ERRORS m_eCode;
};

}  // namespace Lumora
}  // namespace Corvane

#endif
