// The one error path of the library's operations: store the code in the
// calling thread's error word, then trace it under the operation's name.
// Also the conversion of exceptions caught at a public boundary into codes.
#ifndef LUMORA_FRAME_REPORT_H
#define LUMORA_FRAME_REPORT_H

#include <lumora/errors.h>
#include <lumora/exception.h>

namespace lumora::detail {

// Stores code and traces it as operation; returns the code.
inline K_ERRORS Fail(K_ERRORS code, const char* operation) {
    KSetError(code);
    KTraceError(operation);
    return code;
}

// Call from inside a catch block: stores the carried code of a library
// exception, or otherFailure for anything else, and returns the stored code.
inline K_ERRORS StoreCaughtException(K_ERRORS otherFailure) {
    try {
        throw;
    } catch (const Corvane::Lumora::Exception& error) {
        return KSetError(error.GetCode());
    } catch (...) {
        return KSetError(otherFailure);
    }
}

}  // namespace lumora::detail

#endif
