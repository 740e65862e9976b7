// The modal message box of the platform: shown through the handler a host
// installed (KSetMessageBoxHandler), or written as one line to standard error.
#ifndef LUMORA_PLATFORM_MESSAGE_BOX_H
#define LUMORA_PLATFORM_MESSAGE_BOX_H

namespace lumora::platform {

constexpr unsigned int kMessageBoxOk = 0x0000;
constexpr unsigned int kMessageBoxIconExclamation = 0x0030;
constexpr unsigned int kMessageBoxTaskModal = 0x2000;
constexpr int kMessageBoxResultOk = 1;

// Blocks until the box is closed; returns the button chosen.
int MessageBox(void* owner, const char* text, const char* caption, unsigned int style);

}  // namespace lumora::platform

#endif
