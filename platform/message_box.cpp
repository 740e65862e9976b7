#include "platform/message_box.h"

#include <lumora/message_box.h>

#include <cstdio>
#include <mutex>
#include <string>

namespace lumora::platform {
namespace {

struct Handler {
    KMessageBoxHandler function = nullptr;
    void* context = nullptr;
};

std::mutex g_handlerLock;
Handler g_handler;

// One line: "caption: text", line ends folded so that each box stays one line
// in a log.
int WriteToStandardError(const char* text, const char* caption) {
    std::string line = caption ? caption : "";
    line += ": ";
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n') {
            line += " | ";
        } else if (*c != '\r') {
            line += *c;
        }
    }
    line += '\n';
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return kMessageBoxResultOk;
}

}  // namespace

int MessageBox(void* /*owner*/, const char* text, const char* caption, unsigned int style) {
    Handler handler;
    {
        std::lock_guard<std::mutex> hold(g_handlerLock);
        handler = g_handler;
    }
    if (handler.function) {
        return handler.function(text, caption, style, handler.context);
    }
    return WriteToStandardError(text, caption);
}

}  // namespace lumora::platform

void KSetMessageBoxHandler(KMessageBoxHandler handler, void* context) {
    std::lock_guard<std::mutex> hold(lumora::platform::g_handlerLock);
    lumora::platform::g_handler = {handler, context};
}
