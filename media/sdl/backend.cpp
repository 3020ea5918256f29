// SPDX-License-Identifier: MIT
#include "media/backend.h"

#include "media/common/backend_ops.h"

namespace media {

namespace {

const BackendOps kSdlOps{
    .startVideo = startSdlVideo,
    .stopVideo = stopSdlVideo,
    .pollEvents = pollSdlEvents,
    .showWindow = showSdlWindow,
    .retitleWindow = retitleSdlWindow,
    .windowGeometry = sdlWindowGeometry,
    .openPresentation = openSdlPresentation,
    .openAudioDevice = openSdlAudioDevice,
    .keyboardFocused = sdlKeyboardFocused,
    .readKeyboard = readSdlKeyboard,
    .labelLetters = labelSdlLetters,
    .readGamepads = readSdlGamepads,
};

const BackendOps* chosen = &kSdlOps;

}  // namespace

void chooseBackend(Backend backend) { chosen = backend == Backend::Headless ? &kHeadlessOps : &kSdlOps; }

const BackendOps& backendOps() { return *chosen; }

}  // namespace media
