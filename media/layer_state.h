#pragma once
// State shared by the parts of the layer that is not part of the game's
// interface: whether SDL is used at all.
namespace media {

// True when no SDL video or audio may be touched (see setHeadless).
bool headlessMode();

}  // namespace media
