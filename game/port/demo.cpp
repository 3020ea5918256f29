// SPDX-License-Identifier: MIT
#include "game/port/demo.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>

#include "game/port/settings.h"
#include "game/version.h"
#include "media/keyboard.h"
#include "platform/file_system.h"
#include "platform/safe_file.h"

namespace game {

const std::string kBuildId = std::string("quandrite ") + kShortVersion;

namespace {
constexpr char kMagic[8] = {'Q', 'U', 'A', 'N', 'D', 'E', 'M', 'O'};
constexpr uint8_t kEndOfDemo = 255;

void putVarint(std::string& out, uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool byte(uint8_t& v) {
        if (pos_ >= bytes_.size()) return false;
        v = static_cast<uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool varint(uint64_t& v) {
        v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            uint8_t b;
            if (!byte(b)) return false;
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool little(uint64_t& v, int count) {
        v = 0;
        for (int i = 0; i < count; ++i) {
            uint8_t b;
            if (!byte(b)) return false;
            v |= static_cast<uint64_t>(b) << (8 * i);
        }
        return true;
    }
    bool text(std::string& out, size_t count) {
        if (bytes_.size() - pos_ < count) return false;
        out = bytes_.substr(pos_, count);
        pos_ += count;
        return true;
    }

private:
    const std::string& bytes_;
    size_t pos_ = 0;
};

const std::map<std::string, int>& keyNames() {
    namespace key = media::key;
    // clang-format off
    static const std::map<std::string, int> names = {
        {"Escape", key::Escape}, {"Backspace", key::Backspace}, {"Return", key::Return},
        {"LeftCtrl", key::LeftCtrl}, {"RightCtrl", key::RightCtrl}, {"Space", key::Space},
        {"NumpadEnter", key::NumpadEnter}, {"Up", key::Up}, {"Down", key::Down}, {"Left", key::Left},
        {"Right", key::Right}, {"A", key::A}, {"B", key::B}, {"C", key::C}, {"D", key::D}, {"E", key::E},
        {"F", key::F}, {"G", key::G}, {"H", key::H}, {"I", key::I}, {"J", key::J}, {"K", key::K},
        {"L", key::L}, {"M", key::M}, {"N", key::N}, {"O", key::O}, {"P", key::P}, {"Q", key::Q},
        {"R", key::R}, {"S", key::S}, {"T", key::T}, {"U", key::U}, {"V", key::V}, {"W", key::W},
        {"X", key::X}, {"Y", key::Y}, {"Z", key::Z}};
    // clang-format on
    return names;
}

// The codes whose down bit differs between the two snapshots.
std::vector<uint8_t> toggled(const KeySnapshot& held, const uint8_t* snapshot) {
    std::vector<uint8_t> codes;
    for (int code = 0; code < 256; ++code)
        if ((snapshot[code] & 0x80) != held[code]) codes.push_back(static_cast<uint8_t>(code));
    return codes;
}
}  // namespace

void DemoRecorder::record(const uint8_t* snapshot) {
    std::vector<uint8_t> codes = toggled(held_, snapshot);
    if (!codes.empty()) {
        for (uint8_t code : codes) held_[code] ^= 0x80;
        demo_.changes.push_back({demo_.frames, std::move(codes)});
    }
    ++demo_.frames;
}

bool DemoCursor::next(uint8_t* snapshot) {
    if (position_ >= demo_.frames) return false;
    while (change_ < demo_.changes.size() && demo_.changes[change_].frame == position_) {
        for (uint8_t code : demo_.changes[change_].codes) held_[code] ^= 0x80;
        ++change_;
    }
    std::copy(held_.begin(), held_.end(), snapshot);
    ++position_;
    return true;
}

std::string encodeDemo(const Demo& demo) {
    std::string out(kMagic, sizeof kMagic);
    out.push_back(static_cast<char>(kDemoVersion & 0xFF));
    out.push_back(static_cast<char>(kDemoVersion >> 8));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((demo.seed >> (8 * i)) & 0xFF));
    std::string id = demo.buildId.substr(0, 255);
    out.push_back(static_cast<char>(id.size()));
    out += id;
    out.push_back(static_cast<char>(demo.start.soundOn));
    out.push_back(static_cast<char>(demo.start.hasTable ? 10 : 0));
    if (demo.start.hasTable)
        for (int row = 1; row <= 10; ++row) {
            std::string name = demo.start.names[row].substr(0, 255);
            out.push_back(static_cast<char>(name.size()));
            out += name;
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<char>((static_cast<uint32_t>(demo.start.scores[row]) >> (8 * i)) & 0xFF));
        }
    for (int32_t value : {demo.start.windowX, demo.start.windowY, demo.start.windowWidth, demo.start.windowHeight})
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
    putVarint(out, demo.gameStart);
    uint64_t last = 0;
    for (const KeyChange& change : demo.changes) {
        // A keyboard never changes 255 keys at once; split such a change all the same.
        for (size_t first = 0; first < change.codes.size(); first += 254) {
            size_t count = std::min<size_t>(254, change.codes.size() - first);
            putVarint(out, change.frame - last);
            last = change.frame;
            out.push_back(static_cast<char>(count));
            out.append(reinterpret_cast<const char*>(change.codes.data() + first), count);
        }
    }
    putVarint(out, demo.frames - last);
    out.push_back(static_cast<char>(kEndOfDemo));
    return out;
}

Demo decodeDemo(const std::string& bytes, std::string& error, DemoFault* fault) {
    Demo demo;
    Reader in(bytes);
    std::string magic;
    uint64_t version = 0, seed = 0;
    uint8_t idLength = 0;
    if (fault) *fault = DemoFault::Damaged;
    auto failed = [&](const std::string& why) {
        error = why;
        return Demo{};
    };
    if (!in.text(magic, sizeof kMagic) || std::memcmp(magic.data(), kMagic, sizeof kMagic) != 0)
        return failed("not a Quandrite demo");
    if (!in.little(version, 2)) return failed("the demo is truncated");
    if (version < kOldestDemoVersion || version > kDemoVersion) {
        if (fault) *fault = DemoFault::OtherVersion;
        return failed("the demo has format version " + std::to_string(version) + "; this game reads versions " +
                      std::to_string(kOldestDemoVersion) + " to " + std::to_string(kDemoVersion));
    }
    if (!in.little(seed, 4) || !in.byte(idLength) || !in.text(demo.buildId, idLength))
        return failed("the demo is truncated");
    demo.seed = static_cast<uint32_t>(seed);
    uint8_t soundOn = 0, rows = 0;
    if (!in.byte(soundOn) || !in.byte(rows)) return failed("the demo is truncated");
    if (soundOn > 1) return failed("the demo is damaged: its sound switch is " + std::to_string(soundOn));
    if (rows != 0 && rows != 10) return failed("the demo is damaged: its table has " + std::to_string(rows) + " rows");
    demo.start.soundOn = static_cast<int8_t>(soundOn);
    demo.start.hasTable = rows == 10;
    for (int row = 1; row <= rows; ++row) {
        uint8_t length = 0;
        uint64_t score = 0;
        if (!in.byte(length)) return failed("the demo is truncated");
        // The table holds initials: three letters at most.
        if (length > 3) return failed("the demo is damaged: a name of " + std::to_string(length) + " letters");
        if (!in.text(demo.start.names[row], length) || !in.little(score, 4)) return failed("the demo is truncated");
        demo.start.scores[row] = static_cast<int32_t>(static_cast<uint32_t>(score));
    }
    for (int32_t* value :
         {&demo.start.windowX, &demo.start.windowY, &demo.start.windowWidth, &demo.start.windowHeight}) {
        uint64_t word = 0;
        if (!in.little(word, 4)) return failed("the demo is truncated");
        *value = static_cast<int32_t>(static_cast<uint32_t>(word));
    }
    // The window as a setting would give it; a place on a desktop, or centred.
    const StartValues& start = demo.start;
    for (int32_t side : {start.windowWidth, start.windowHeight})
        if (side < kMinWindowSide || side > kMaxWindowSide)
            return failed("the demo is damaged: its window is " + std::to_string(start.windowWidth) + " x " +
                          std::to_string(start.windowHeight) + ", not from " + std::to_string(kMinWindowSide) + " to " +
                          std::to_string(kMaxWindowSide));
    for (int32_t corner : {start.windowX, start.windowY})
        if (corner < -kMaxWindowSide || corner > kMaxWindowSide)
            return failed("the demo is damaged: its window is at " + std::to_string(start.windowX) + ", " +
                          std::to_string(start.windowY) + ", off any desktop");
    if (version >= 3 && !in.varint(demo.gameStart)) return failed("the demo is truncated");
    for (;;) {
        uint64_t frames = 0;
        uint8_t count = 0;
        if (!in.varint(frames) || !in.byte(count)) return failed("the demo is truncated");
        if (frames > kMaxDemoFrames - demo.frames) return failed("the demo is damaged: more frames than a game plays");
        demo.frames += frames;
        if (count == kEndOfDemo) break;
        // The game writes only changes of some key; an empty one would be lost
        // when the demo is written again.
        if (count == 0) return failed("the demo is damaged: a key change of no keys");
        if (demo.changes.size() == kMaxDemoChanges)
            return failed("the demo is damaged: more key changes than a game makes");
        KeyChange change{demo.frames, {}};
        for (uint8_t i = 0; i < count; ++i) {
            uint8_t code;
            if (!in.byte(code)) return failed("the demo is truncated");
            change.codes.push_back(code);
        }
        demo.changes.push_back(std::move(change));
    }
    if (demo.gameStart > demo.frames) return failed("the demo is damaged: its game starts after its end");
    error.clear();
    if (fault) *fault = DemoFault::None;
    return demo;
}

bool writeDemoFile(const std::string& path, const Demo& demo, std::string& error) {
    if (demo.frames > kMaxDemoFrames || demo.changes.size() > kMaxDemoChanges) {
        error = "the game is too long to keep as a demo (" + std::to_string(demo.frames) + " frames, " +
                std::to_string(demo.changes.size()) + " key changes)";
        return false;
    }
    std::string bytes = encodeDemo(demo);
    // Checked before it is written: a demo that does not replay is worse than none.
    std::string readError;
    Demo back = decodeDemo(bytes, readError);
    if (!readError.empty() || back.frames != demo.frames || back.gameStart != demo.gameStart ||
        !(back.start == demo.start) || encodeDemo(back) != bytes) {
        error = "the demo for " + path + " does not read back the same";
        return false;
    }
    std::string failure;
    if (platform::saveFile(path, bytes, failure)) return true;
    error = "could not write " + failure;
    return false;
}

bool readDemoFile(const std::string& path, Demo& demo, std::string& error, DemoFault* fault) {
    demo = Demo{};
    DemoFault found = DemoFault::None;
    std::string bytes;
    platform::FileRead read = platform::readRegularFile(path, kMaxDemoBytes, bytes);
    switch (read.outcome) {
    case platform::FileRead::Read:
        demo = decodeDemo(bytes, error, &found);
        // Another build may play by other rules: out of step from some frame on.
        if (found == DemoFault::None && demo.buildId != kBuildId) {
            error = "the demo was made by " + (demo.buildId.empty() ? std::string("an unnamed build") : demo.buildId) +
                    "; this is " + kBuildId;
            found = DemoFault::OtherVersion;
        }
        if (found != DemoFault::None) error = path + ": " + error;
        break;
    case platform::FileRead::Missing:
    case platform::FileRead::CannotOpen:
        error = "cannot open " + path + ": " + read.reason;
        found = DemoFault::Unreadable;
        break;
    case platform::FileRead::NotRegular:
        error = path + ": not a regular file";
        found = DemoFault::Unreadable;
        break;
    case platform::FileRead::TooLarge:
        error = path + ": too large for a demo";
        found = DemoFault::Damaged;
        break;
    case platform::FileRead::CannotRead:
        error = "cannot read " + path + ": " + read.reason;
        found = DemoFault::Unreadable;
        break;
    }
    if (found == DemoFault::None) error.clear();
    else demo = Demo{};
    if (fault) *fault = found;
    return found == DemoFault::None;
}

bool demoFromScript(const std::string& script, Demo& demo, std::string& error) {
    demo = Demo{};
    demo.buildId = kBuildId;
    std::istringstream lines(script);
    std::string line;
    DemoRecorder recorder(demo);
    KeySnapshot held{};
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) return fail("expected \"frame: keys\"");
        std::istringstream head(line.substr(0, colon));
        std::istringstream words(line.substr(colon + 1));
        std::string label;
        head >> label;
        if (label == "seed") {
            unsigned long long seed = 0;
            if (!(words >> seed)) return fail("seed needs a number");
            demo.seed = static_cast<uint32_t>(seed);
            continue;
        }
        uint64_t frame = 0;
        if (label.empty() || label.find_first_not_of("0123456789") != std::string::npos || label.size() > 9)
            return fail("\"" + label + "\" is not a frame number");
        frame = std::stoull(label);
        if (frame < demo.frames) return fail("frames must go forward");
        while (demo.frames < frame) recorder.record(held.data());
        KeySnapshot next{};
        std::string word;
        while (words >> word) {
            if (word == "-") continue;
            if (word == "end") {
                error.clear();
                return true;
            }
            auto found = keyNames().find(word);
            if (found == keyNames().end()) return fail("unknown key \"" + word + "\"");
            next[found->second] = 0x80;
        }
        held = next;
    }
    return fail("the script has no \"frame: end\" line");
}

}  // namespace game
