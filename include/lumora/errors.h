// Error codes, their texts, the per-thread error word and tracing.
//
// Every operation clears the calling thread's error word at entry (KOk),
// stores a code on failure (KSetError) and hands its own name to KTraceError,
// which shows a message box or stays silent depending on the thread's trace
// mode. Codes below 1000 are success or warnings, 1000 and up are failures.
#ifndef LUMORA_ERRORS_H
#define LUMORA_ERRORS_H

#include <lumora/export.h>

#include <cstdint>

enum K_ERRORS : int32_t {
#define LUMORA_ERROR(name, code, text) name = code,
#include <lumora/error_codes.inc>
#undef LUMORA_ERROR
};

enum K_TRACE_MODE : int32_t {
    K_TRACE_MESSAGE_BOX = 0,
    K_TRACE_SILENT = 1,
    K_TRACE_FULL_MESSAGE_BOX = 2,
    K_TRACE_WRAPPED_CALL_FLAG = 4,
};

LUMORA_API const char* KGetVersion();
LUMORA_API const unsigned short* KGetVersionUnicode();

LUMORA_API K_ERRORS KOk();
LUMORA_API K_ERRORS KSetError(K_ERRORS code);
LUMORA_API K_ERRORS KGetError();
LUMORA_API int KSuccess();
LUMORA_API int KFailure();

// Texts are constant strings from the table, except for unknown codes and
// the wide forms, which share process-wide buffers: copy them before the
// next call from any thread.
LUMORA_API const char* KGetErrorText(K_ERRORS code);
LUMORA_API const char* KGetErrorText();
LUMORA_API const unsigned short* KGetErrorTextUnicode(K_ERRORS code);
LUMORA_API const unsigned short* KGetErrorTextUnicode();

LUMORA_API void KSetTraceMode(K_TRACE_MODE mode);
LUMORA_API K_TRACE_MODE KGetTraceMode();
LUMORA_API void KKTraceTraceMode();
LUMORA_API K_ERRORS KTraceError(const char* operation);
LUMORA_API short KTraceFullError(const char* file, int line, const char* label);

extern "C" LUMORA_API void TraceSilent();

// Wraps one library call so that, in trace mode 2, its failure is reported
// once with the caller's file and line instead of the inner operation's name.
#define KTRACE(call)                                   \
    do {                                               \
        KKTraceTraceMode();                            \
        call;                                          \
        KTraceFullError(__FILE__, __LINE__, #call);    \
    } while (0)

#endif
