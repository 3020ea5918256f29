#include "test_hooks.h"

#include "layer_state.h"

namespace media {

namespace {
bool headlessFlag = false;
}

void setHeadless(bool on) { headlessFlag = on; }
bool headless() { return headlessFlag; }
bool headlessMode() { return headlessFlag; }

}  // namespace media
