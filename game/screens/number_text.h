// SPDX-License-Identifier: MIT
#pragma once
// Numbers on screen are drawn digit by digit with the game's digit sprites;
// any other character (a minus sign) keeps its place but draws nothing.
#include <cstdint>
#include <string>

#include "game/rules/catalogue.h"
#include "media/screen.h"

namespace game {

constexpr int64_t kWhite = 16777215;

// The digit's sprite, 0 for any other character.
inline int digitSpriteOf(char c) { return c >= '0' && c <= '9' ? sprite::digit(c - '0') : 0; }

// xOfDigit(i, n) gives the x of character i (1-based) of a text of n characters.
template <typename XRule>
void drawNumberText(const std::string& text, XRule xOfDigit, int y, int64_t tint) {
    int n = static_cast<int>(text.size());
    for (int i = n; i >= 1; --i) {
        int glyph = digitSpriteOf(text[i - 1]);
        if (glyph != 0) media::displaySpriteTinted(glyph, xOfDigit(i, n), y, 255, tint);
    }
}

}  // namespace game
