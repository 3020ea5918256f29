// SPDX-License-Identifier: MIT
#include "platform/lasting_storage.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

namespace platform {

#if defined(__EMSCRIPTEN__)
// The page mounts the player's home on IndexedDB and says how to copy it
// there (web/page.js); a page without it keeps the files for its lifetime.
void keepSavedFiles() {
    EM_ASM({
        if (Module.keepSavedFiles) Module.keepSavedFiles();
    });
}
#else
void keepSavedFiles() {}
#endif

}  // namespace platform
