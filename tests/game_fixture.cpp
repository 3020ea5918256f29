#include "game_fixture.h"

#include <cstdlib>

#include "game/game_state.h"
#include "game/level_entry.h"
#include "game/play_loop.h"
#include "media/keyboard.h"
#include "media/random.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace testing_support {

using namespace game;

void createSizedSprites() {
    struct Size {
        int first, last, width, height;
    };
    static constexpr Size kSizes[] = {
        {1, 12, 55, 48},     {13, 13, 1920, 1440}, {14, 14, 48, 429},   {15, 15, 44, 57},     {16, 16, 1001, 48},
        {17, 17, 18, 529},   {18, 18, 1020, 80},   {19, 19, 941, 10},   {20, 29, 6, 11},      {30, 55, 7, 10},
        {56, 56, 9, 2},      {57, 57, 171, 24},    {58, 58, 235, 19},   {59, 59, 361, 19},    {60, 61, 6, 8},
        {62, 63, 24, 24},    {64, 64, 6, 10},      {65, 65, 16, 16},    {66, 66, 23, 23},     {67, 106, 20, 30},
        {107, 109, 48, 48},  {110, 113, 27, 10},   {114, 116, 50, 50},  {117, 117, 48, 48},   {118, 118, 27, 10},
        {119, 119, 48, 48},  {120, 120, 44, 57},   {121, 121, 16, 16},  {122, 122, 663, 157}, {123, 141, 1920, 1440},
        {142, 142, 48, 48},  {143, 143, 27, 10},   {144, 144, 48, 48},  {145, 145, 27, 10},   {146, 146, 48, 48},
        {147, 147, 27, 10},  {148, 148, 189, 50},  {149, 149, 131, 19}, {150, 151, 1020, 700}, {152, 152, 121, 19},
        {153, 153, 102, 18}, {154, 154, 45, 10},   {156, 156, 48, 48},  {157, 157, 184, 19},  {158, 162, 34, 64},
        {163, 164, 32, 32},  {501, 560, 200, 21},  {701, 703, 24, 24},  {704, 704, 19, 19},   {705, 705, 22, 22},
    };
    for (const Size& size : kSizes)
        for (int number = size.first; number <= size.last; ++number)
            media::createSprite(number, size.width, size.height);
}

void GameFixture::SetUp() {
    setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
    media::chooseBackend(media::Backend::Headless);
    media::setFramePacing(false);
    media::setClock(&clock);
    media::seedRandom(12345);
    media::startWindows();
    media::initSprites();
    media::initKeyboard();
    media::initSound();
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
    media::setClock(nullptr);
}

void GameFixture::startFreshState() {
    s = GameState{};
    fillDefaultHiscores(s);
    s.lastWindowX = -1;
    s.lastWindowY = -1;
    s.lastWindowWidth = 1020;
    s.lastWindowHeight = 607;
    s.soundOn = 1;
    initLevelEntry(s);
}

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
