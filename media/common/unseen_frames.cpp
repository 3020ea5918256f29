// SPDX-License-Identifier: MIT
#include "media/common/unseen_frames.h"

#include "media/automation.h"

namespace media {

namespace {
bool unseen = false;
}

void setFramesUnseen(bool on) { unseen = on; }
bool framesUnseen() { return unseen; }

}  // namespace media
