// The loader side of the module contract: shared-library constructors and
// destructors stand in for the operating system's attach and detach calls.
// The priority places the attach after the processor detection of the
// settings (priority 101) and before ordinary static initialisers.
#include "platform/module_entry.h"

#include <lumora/win_types.h>

namespace {

__attribute__((constructor(102))) void OnModuleLoad() {
    DllMain(nullptr, K_DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor(102))) void OnModuleUnload() {
    DllMain(nullptr, K_DLL_PROCESS_DETACH, nullptr);
}

}  // namespace
