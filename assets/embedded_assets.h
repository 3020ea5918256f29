// SPDX-License-Identifier: MIT
#pragma once
// The game's pictures, sound effects and music, compiled into the program.
#include <cstddef>
#include <vector>

namespace assets {

struct Blob {
    const unsigned char* data = nullptr;
    size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// The embedded file of a catalogue number; empty when there is none.
Blob embeddedSprite(int number);
Blob embeddedSound(int number);
// Catalogue numbers that have an embedded file, ascending.
const std::vector<int>& embeddedSpriteNumbers();
const std::vector<int>& embeddedSoundNumbers();

}  // namespace assets
