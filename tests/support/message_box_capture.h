// Captures the message boxes the library raises while an instance lives, in
// the given trace mode, and restores the thread's trace mode and error word
// afterwards.
#ifndef LUMORA_TESTS_MESSAGE_BOX_CAPTURE_H
#define LUMORA_TESTS_MESSAGE_BOX_CAPTURE_H

#include <lumora/errors.h>
#include <lumora/message_box.h>

#include <mutex>
#include <string>
#include <vector>

struct CapturedBox {
    std::string text;
    std::string caption;
    unsigned int style;
};

class MessageBoxCapture {
public:
    explicit MessageBoxCapture(K_TRACE_MODE mode = K_TRACE_MESSAGE_BOX) : m_savedMode(KGetTraceMode()) {
        KSetMessageBoxHandler(&Record, this);
        KSetTraceMode(mode);
    }
    ~MessageBoxCapture() {
        KSetMessageBoxHandler(nullptr, nullptr);
        KSetTraceMode(m_savedMode);
        KOk();
    }
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<CapturedBox> Boxes() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_boxes;
    }
    size_t Count() { return Boxes().size(); }
    void Clear() {
        std::lock_guard<std::mutex> hold(m_lock);
        m_boxes.clear();
    }
    // The first line of each box ("Function: <operation>"), oldest first.
    std::vector<std::string> Heads() {
        std::vector<std::string> heads;
        for (const CapturedBox& box : Boxes()) {
            heads.push_back(box.text.substr(0, box.text.find('\n')));
        }
        return heads;
    }
    std::string LastHead() { return Count() ? Heads().back() : ""; }

private:
    static int Record(const char* text, const char* caption, unsigned int style, void* context) {
        auto* self = static_cast<MessageBoxCapture*>(context);
        std::lock_guard<std::mutex> hold(self->m_lock);
        self->m_boxes.push_back({text, caption, style});
        return 1;
    }

    std::mutex m_lock;
    std::vector<CapturedBox> m_boxes;
    K_TRACE_MODE m_savedMode;
};

#endif
