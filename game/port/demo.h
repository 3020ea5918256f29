// SPDX-License-Identifier: MIT
#pragma once
// Demos: the random seed and, frame by frame, the keys the game read, so a
// game can be played again exactly. Only the changes are kept: at which
// keyboard examination which keys went down or up.
//
// File: "QUANDEMO", version (u16), seed (u32), build id (u8 length + text),
// sound switch at start-up (u8), hiscore rows at start-up (u8: 0 for the
// default table, or 10 rows of u8 name length + name + score as u32), the
// window's place and size at start-up (4 x u32), from version 3 the examinations before the game a replay
// shows (varint), then records: examinations since the previous record (varint), number of codes (u8; 255
// ends the demo), the codes (u8 each; each toggles that key). Version 2 files, which lack the game's
// start, still play, from start-up.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/screens/start_values.h"

namespace game {

constexpr uint16_t kDemoVersion = 3;
// The oldest version this game still reads.
constexpr uint16_t kOldestDemoVersion = 2;
// What a game can reach, checked as a demo is read, before anything grows
// with it: six hours of play, a key change every second frame of it, and
// the bytes those take. A file past them is damaged, not a longer game.
constexpr uint64_t kMaxDemoFrames = 6ull * 60 * 60 * 60;
constexpr size_t kMaxDemoChanges = kMaxDemoFrames / 2;
constexpr size_t kMaxDemoBytes = 4u << 20;
extern const std::string kBuildId;

using KeySnapshot = std::array<uint8_t, 256>;

struct KeyChange {
    uint64_t frame;              // the examination from which the change holds
    std::vector<uint8_t> codes;  // keys that went down or up
};

struct Demo {
    uint32_t seed = 0;
    std::string buildId;
    StartValues start;
    uint64_t frames = 0;  // keyboard examinations recorded
    // The examinations before the game a replay shows: the frames of the
    // title and of earlier games in the same run, which a replay runs unseen.
    uint64_t gameStart = 0;
    std::vector<KeyChange> changes;
};

// Adds the snapshots of one examination after another to a demo.
class DemoRecorder {
public:
    explicit DemoRecorder(Demo& demo) : demo_(demo) {}
    void record(const uint8_t* snapshot);

private:
    Demo& demo_;
    KeySnapshot held_{};
};

// Replays a demo's snapshots one examination after another.
class DemoCursor {
public:
    explicit DemoCursor(const Demo& demo) : demo_(demo) {}
    // The snapshot of the next examination; false once the demo is over.
    bool next(uint8_t* snapshot);
    uint64_t position() const { return position_; }

private:
    const Demo& demo_;
    KeySnapshot held_{};
    size_t change_ = 0;
    uint64_t position_ = 0;
};

// Why a demo file cannot be played.
enum class DemoFault { None, Unreadable, OtherVersion, Damaged };

std::string encodeDemo(const Demo& demo);
// Sets error (and gives an empty demo) unless the bytes are a complete demo
// of the version this game reads; `fault` says which of the two it is not.
Demo decodeDemo(const std::string& bytes, std::string& error, DemoFault* fault = nullptr);

bool writeDemoFile(const std::string& path, const Demo& demo, std::string& error);
bool readDemoFile(const std::string& path, Demo& demo, std::string& error, DemoFault* fault = nullptr);

// A demo from a script of "frame: keys" lines: "seed: N" sets the seed; each
// "frame: keys" line holds those keys (names such as Space, Right, Up, or
// letters; "-" for none) from that examination on; "frame: end" ends it.
bool demoFromScript(const std::string& script, Demo& demo, std::string& error);

}  // namespace game
