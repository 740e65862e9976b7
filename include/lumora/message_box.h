// The blocking notification that tracing raises on a failure.
//
// By default a message box is one line on standard error holding the caption
// and the text (line ends in the text are shown as " | "). A host that wants
// to show boxes itself, or a test that wants to see them, installs a handler;
// it is called on the tracing thread and the call blocks until it returns.
#ifndef LUMORA_MESSAGE_BOX_H
#define LUMORA_MESSAGE_BOX_H

#include <lumora/export.h>

// Returns the button the user chose; 1 stands for OK.
typedef int (*KMessageBoxHandler)(const char* text, const char* caption, unsigned int style,
                                  void* context);

// Installs a process-wide handler (null restores the standard-error one).
LUMORA_API void KSetMessageBoxHandler(KMessageBoxHandler handler, void* context);

#endif
