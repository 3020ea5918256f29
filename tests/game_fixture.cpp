// SPDX-License-Identifier: MIT
#include "game_fixture.h"

#include <cstdlib>
#include <optional>

#include "core/random.h"
#include "game/rules/catalogue.h"
#include "game/rules/game_state.h"
#include "game/screens/level_entry.h"
#include "game/screens/play_loop.h"
#include "game/screens/start_up.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace testing_support {

using namespace game;

void createSizedSprites() {
    for (const SpriteInfo& info : kSprites) media::createSizedSprite(info.number, info.width, info.height);
}

void WholeGame::SetUp() {
    setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
    media::chooseBackend(media::Backend::Headless);
    media::setFramePacing(false);
    core::setClock(&clock);
    core::seedRandom(seed_);
    media::setDeviceKeyboard([this](uint8_t* keys) {
        for (int code : deviceKeys) keys[code] = 0x80;
    });
    beforeStartUp();
    game.startUp();
}

void WholeGame::TearDown() {
    game.endProgram();
    media::setDrawLog(nullptr);
    media::setDeviceKeyboard(nullptr);
    media::setKeyboardObserver(nullptr);
    media::setKeyboardSource(nullptr);
    media::setKeyboardFocus(media::FocusOverride::Real);
    media::setVirtualGamepad(std::nullopt);
    core::setClock(nullptr);
}

void GameFixture::SetUp() {
    media::chooseBackend(media::Backend::Headless);
    media::setFramePacing(false);
    core::setClock(&clock);
    core::seedRandom(12345);
    startMediaLayer();
    media::openWindow(0, 0, 0, 1020, 607, " Quandrite", media::kWindowStyleOverlapped | media::kWindowCentred);
    media::openWindowedScreen(media::windowHandle(0), 0, 0, 1020, 607, 1, 0, 0);
    createSizedSprites();
    hold({});
    media::setDrawLog(&draws);
    media::setSoundLog(&sounds);
    startFreshState();
}

void GameFixture::TearDown() {
    media::setDrawLog(nullptr);
    media::setSoundLog(nullptr);
    media::setKeyboardSource(nullptr);
    core::setClock(nullptr);
}

void GameFixture::startFreshState() { startGameState(s); }

void GameFixture::startLevel(int level, bool started) {
    s.levelEntryKind = 2;
    initLevelEntry(s);
    s.levelNumber = static_cast<uint8_t>(level);
    s.score = 0;
    s.timePercent = 100;
    s.lastTimePercent = 0;
    enterPlayLoop(s);
    s.levelStarted = started ? 1 : 0;
    draws.clear();
    sounds.clear();
}

void GameFixture::hold(std::vector<int> keys) { media::injectKeys(keys); }

Screen GameFixture::playFrame() { return game::playFrame(s); }

int GameFixture::playUntilScreenChanges(int limit, Screen* reached) {
    for (int frame = 1; frame <= limit; ++frame) {
        Screen next = playFrame();
        if (next != Screen::Play) {
            if (reached) *reached = next;
            return frame;
        }
    }
    if (reached) *reached = Screen::Play;
    return limit;
}

void GameFixture::clearOrbs() {
    for (int group = 1; group <= kOrbGroups; ++group) s.orbs[group].count = 0;
}

void GameFixture::placeOrb(int group, int i, int x, int y) {
    OrbGroup& orbs = s.orbs[group];
    if (orbs.count < i) orbs.count = static_cast<uint8_t>(i);
    orbs.x[i] = x;
    orbs.y[i] = y;
    orbs.opacity[i] = 254;
    orbs.taken[i] = 0;
    orbs.label[i] = 0;
}

int GameFixture::drawsOf(int sprite) const {
    int count = 0;
    for (const media::DrawCall& call : draws) count += call.sprite == sprite;
    return count;
}

const media::DrawCall* GameFixture::findDraw(int sprite, int nth) const {
    for (const media::DrawCall& call : draws)
        if (call.sprite == sprite && nth-- == 0) return &call;
    return nullptr;
}

int GameFixture::soundPlays(int number) const {
    int count = 0;
    for (const media::SoundCall& call : sounds) count += call.kind == media::SoundCall::Play && call.number == number;
    return count;
}

}  // namespace testing_support
