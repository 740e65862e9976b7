// The trace step: shows a traced failure in a message box when the thread's
// trace mode asks for it. Tracing never changes the error word.
#include <lumora/errors.h>
#include <lumora/lifecycle.h>

#include "platform/message_box.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kTraceCaption = "KTrace";
constexpr unsigned int kTraceBoxStyle = lumora::platform::kMessageBoxOk |
                                        lumora::platform::kMessageBoxIconExclamation |
                                        lumora::platform::kMessageBoxTaskModal;
static_assert(kTraceBoxStyle == 0x2030, "OK button, exclamation icon, task-modal");

template <class... Args>
void ShowTraceBox(const char* format, Args... args) {
    int length = std::snprintf(nullptr, 0, format, args...);
    if (length < 0) {
        return;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<size_t>(length));
    lumora::platform::MessageBox(nullptr, text.c_str(), kTraceCaption, kTraceBoxStyle);
}

}  // namespace

K_ERRORS KTraceError(const char* operation) {
    QuillTLSStruct* state = KGetTLSPtr();
    if (!state) {
        return K_ERROR_SYSTEM_FAILURE;
    }
    const K_ERRORS error = state->m_eError;
    if (error < 1000) {
        return error;
    }
    const K_TRACE_MODE mode = state->m_eTraceMode;
    if (mode != K_TRACE_MESSAGE_BOX && mode != K_TRACE_FULL_MESSAGE_BOX) {
        return error;
    }
    ShowTraceBox("Function: %s\n%s", operation ? operation : "", KGetErrorText(error));
    return error;
}

short KTraceFullError(const char* file, int line, const char* label) {
    QuillTLSStruct* state = KGetTLSPtr();
    if (!state) {
        return static_cast<short>(K_ERROR_SYSTEM_FAILURE);
    }
    const K_ERRORS error = state->m_eError;
    if (error < 1000) {
        return static_cast<short>(error);
    }
    if (state->m_eTraceMode == (K_TRACE_FULL_MESSAGE_BOX | K_TRACE_WRAPPED_CALL_FLAG)) {
        ShowTraceBox("File %s, line %d\n%s\n%s", file ? file : "", line, label ? label : "",
                     KGetErrorText(error));
    }
    state->m_eTraceMode = static_cast<K_TRACE_MODE>(state->m_eTraceMode & ~K_TRACE_WRAPPED_CALL_FLAG);
    return static_cast<short>(KGetError());
}
