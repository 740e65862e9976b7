// The per-thread error word and trace-mode word.
//
// When the per-thread record cannot be had (the thread-slot lookup failed),
// the queries answer as for code 32765; the setters then store nothing and
// return what they would have returned, and the trace mode reads as silent.
#include <lumora/errors.h>
#include <lumora/lifecycle.h>

K_ERRORS KOk() {
    if (QuillTLSStruct* state = KGetTLSPtr()) {
        state->m_eError = K_SUCCESS;
    }
    return K_SUCCESS;
}

K_ERRORS KSetError(K_ERRORS code) {
    if (QuillTLSStruct* state = KGetTLSPtr()) {
        state->m_eError = code;
    }
    return code;
}

K_ERRORS KGetError() {
    QuillTLSStruct* state = KGetTLSPtr();
    return state ? state->m_eError : K_ERROR_SYSTEM_FAILURE;
}

int KSuccess() {
    QuillTLSStruct* state = KGetTLSPtr();
    return state && state->m_eError < 1000 ? 1 : 0;
}

int KFailure() {
    QuillTLSStruct* state = KGetTLSPtr();
    return !state || state->m_eError >= 1000 ? 1 : 0;
}

void KSetTraceMode(K_TRACE_MODE mode) {
    if (QuillTLSStruct* state = KGetTLSPtr()) {
        state->m_eTraceMode = mode;
    }
}

K_TRACE_MODE KGetTraceMode() {
    QuillTLSStruct* state = KGetTLSPtr();
    return state ? state->m_eTraceMode : K_TRACE_SILENT;
}

extern "C" void TraceSilent() { KSetTraceMode(K_TRACE_SILENT); }

void KKTraceTraceMode() {
    if (QuillTLSStruct* state = KGetTLSPtr()) {
        state->m_eTraceMode = static_cast<K_TRACE_MODE>(state->m_eTraceMode | K_TRACE_WRAPPED_CALL_FLAG);
    }
}
