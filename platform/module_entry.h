// The contract between the platform loader and the library module: the
// loader calls the module's DllMain with the process-attach reason when the
// shared library is loaded, with the thread-detach reason when a thread that
// holds a thread-local value ends, and with the process-detach reason when
// the library is unloaded. The module defines DllMain (frame/lifecycle.cpp).
#ifndef LUMORA_PLATFORM_MODULE_ENTRY_H
#define LUMORA_PLATFORM_MODULE_ENTRY_H

#include <lumora/win_types.h>

#include <cstdint>

int DllMain(HINSTANCE module, uint32_t reason, void* reserved);

#endif
