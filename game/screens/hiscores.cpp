// SPDX-License-Identifier: MIT
#include "game/screens/hiscores.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/clock.h"
#include "core/strings.h"
#include "media/files.h"
#include "media/window.h"

namespace game {

namespace {

const std::string kFileName = "\\quandrite.dat";
const std::string kLabel = "Hiscores";
const std::string kHeader = "quandrite by TAVENBROOKE";
constexpr int kFileNumber = 0;
constexpr int kWaitMs = 508;
// How long a failed save is shown in the window title.
constexpr int kFailureShownMs = 2000;

struct SlotKey {
    int64_t factor;
    int64_t offset;
};

// One key per character position, rows 1..10 by characters 1..3; a row's
// score uses the key of its third character. Saved files can only be read
// with the table they were written with: never change these numbers.
constexpr SlotKey kSlotKeys[kHiscoreRows][3] = {
    {{37, 12}, {53, 71}, {29, 44}}, {{61, 9}, {17, 83}, {47, 26}},  {{83, 55}, {23, 38}, {71, 91}},
    {{13, 67}, {59, 4}, {41, 79}},  {{97, 31}, {31, 58}, {67, 15}}, {{19, 96}, {79, 22}, {11, 63}},
    {{43, 7}, {89, 47}, {57, 88}},  {{73, 35}, {27, 99}, {93, 2}},  {{51, 76}, {39, 18}, {63, 51}},
    {{87, 64}, {14, 29}, {77, 40}},
};

const SlotKey& keyOf(int row, int character) { return kSlotKeys[row - 1][character - 1]; }

// Sums and products that a hostile file can push out of range wrap around
// like the machine arithmetic the format was defined on, without undefined behaviour.
int32_t low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
int32_t add32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int64_t sub64(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

int64_t characterCode(const std::string& name, int character) {
    return core::firstCharCode(core::stringMid(name, character, 1));
}

int64_t slotCode(int64_t value, const SlotKey& key) { return value * key.factor + key.offset; }

// The slot codes of the three characters of each row's name, as numbers.
using CharacterCodes = std::array<std::array<int64_t, 4>, kHiscoreRows + 1>;

CharacterCodes encodeNames(const std::array<std::string, kHiscoreRows + 1>& names) {
    CharacterCodes codes{};
    for (int row = 1; row <= kHiscoreRows; ++row)
        for (int k = 1; k <= 3; ++k) codes[row][k] = slotCode(characterCode(names[row], k), keyOf(row, k));
    return codes;
}

// S: the 30 character codes summed in 64 bits and cut to 32, plus the scores in 32 bits.
int32_t tableSum(const CharacterCodes& codes, const std::array<int32_t, kHiscoreRows + 1>& scores) {
    uint64_t characters = 0;
    for (int row = 1; row <= kHiscoreRows; ++row)
        for (int k = 1; k <= 3; ++k) characters += static_cast<uint64_t>(codes[row][k]);
    int32_t sum = low32(static_cast<int64_t>(characters));
    for (int row = 1; row <= kHiscoreRows; ++row) sum = add32(sum, scores[row]);
    return sum;
}

int32_t checksumOf(int32_t sum) { return static_cast<int32_t>(63u * static_cast<uint32_t>(sum) + 126u); }

// The first character of each row's four codes, rows 1..10.
std::string checkLine(const CharacterCodes& codes, const std::array<std::string, kHiscoreRows + 1>& scoreLines) {
    std::string line;
    for (int row = 1; row <= kHiscoreRows; ++row) {
        for (int k = 1; k <= 3; ++k) line += core::stringLeft(core::formatInteger(codes[row][k]), 1);
        line += core::stringLeft(scoreLines[row], 1);
    }
    return line;
}

std::string decodeName(const std::array<std::string, 4>& lines, int row) {
    std::string name;
    for (int k = 1; k <= 3; ++k) {
        const SlotKey& key = keyOf(row, k);
        int64_t value = sub64(core::parseInteger(lines[k]), key.offset) / key.factor;
        name += core::stringFromChar(value);
    }
    // A zero character ends the name, as it ends a C string.
    return name.substr(0, name.find('\0'));
}

int32_t decodeScore(const std::string& line, int row) {
    const SlotKey& key = keyOf(row, 3);
    int32_t value = low32(core::parseInteger(line));
    return static_cast<int32_t>(sub64(value, key.offset)) / static_cast<int32_t>(key.factor);
}

}  // namespace

void saveHiscores(GameState& state) {
    media::setWindowTitle(0, " Saving score...");
    const CharacterCodes codes = encodeNames(state.hiscoreNames);
    std::array<std::string, kHiscoreRows + 1> scoreLines{};
    for (int row = 1; row <= kHiscoreRows; ++row)
        scoreLines[row] = core::formatInteger(slotCode(state.hiscoreScores[row], keyOf(row, 3)));
    const int32_t checksum = checksumOf(tableSum(codes, state.hiscoreScores));

    media::createFile(kFileNumber, kFileName);
    media::writeLine(kFileNumber, checkLine(codes, scoreLines));
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= kHiscoreRows; ++row) media::writeLine(kFileNumber, core::formatInteger(codes[row][k]));
    for (int row = 1; row <= kHiscoreRows; ++row) media::writeLine(kFileNumber, scoreLines[row]);
    media::writeLine(kFileNumber, core::formatInteger(checksum));
    media::writeLine(kFileNumber, kLabel);
    media::writeLine(kFileNumber, kHeader);
    media::closeFile(kFileNumber);
    core::delayMilliseconds(kWaitMs);
    // A player who started the game from a menu sees no terminal: the title
    // tells them too. The table stays in memory for the rest of the run.
    if (std::string failure = media::lastSaveError(); !failure.empty()) {
        std::fprintf(stderr, "quandrite: could not save the hiscore file %s\n", failure.c_str());
        media::setWindowTitle(0, " Saving score failed");
        core::delayMilliseconds(kFailureShownMs);
    }
}

namespace {

enum class FileTable { Missing, Accepted, Refused };

// Rows 1..10 as the hiscore file holds them: Missing for a missing or empty
// file (first line empty), Refused for one that fails a test.
FileTable readTable(std::array<std::string, kHiscoreRows + 1>& names, std::array<int32_t, kHiscoreRows + 1>& scores) {
    if (!media::openFile(kFileNumber, kFileName))
        std::fprintf(stderr, "quandrite: could not open the hiscore file %s\n", media::lastOpenError().c_str());
    bool cut = false;
    auto next = [&cut] {
        std::string line = media::readLine(kFileNumber);
        cut = cut || media::lineWasCut(kFileNumber);
        return line;
    };
    const std::string firstLine = next();
    if (firstLine.empty()) {
        media::closeFile(kFileNumber);
        return FileTable::Missing;
    }
    // characterLines[row][k]: the stored code of character k of the row's name.
    // Its strings start empty without "{}", which clang 14 crashes on here.
    std::array<std::array<std::string, 4>, kHiscoreRows + 1> characterLines;
    std::array<std::string, kHiscoreRows + 1> scoreLines{};
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= kHiscoreRows; ++row) characterLines[row][k] = next();
    for (int row = 1; row <= kHiscoreRows; ++row) scoreLines[row] = next();
    const std::string checksumLine = next();
    next();  // the label line is not looked at
    const std::string header = next();
    media::closeFile(kFileNumber);

    for (int row = 1; row <= kHiscoreRows; ++row) {
        names[row] = decodeName(characterLines[row], row);
        scores[row] = decodeScore(scoreLines[row], row);
    }
    const int64_t storedSum = (core::parseInteger(checksumLine) / 3 - 42) / 21;
    const CharacterCodes codes = encodeNames(names);

    // A cut line is longer than any line the game writes, so such a file was
    // not written by the game, whatever the rest of it says.
    const bool accepted = !cut && low32(storedSum) == tableSum(codes, scores) &&
                          core::stringsEqual(checkLine(codes, scoreLines), firstLine) &&
                          core::stringsEqual(header, kHeader);
    return accepted ? FileTable::Accepted : FileTable::Refused;
}

}  // namespace

void loadHiscores(GameState& state) {
    std::array<std::string, kHiscoreRows + 1> names{};
    std::array<int32_t, kHiscoreRows + 1> scores{};
    FileTable table = readTable(names, scores);
    if (table != FileTable::Missing) {
        const bool accepted = table == FileTable::Accepted;
        for (int row = 1; row <= kHiscoreRows; ++row) {
            state.hiscoreNames[row] = accepted ? names[row] : "err";
            state.hiscoreScores[row] = accepted ? scores[row] : 1000;
        }
    }
    core::delayMilliseconds(kWaitMs);
}

HiscoreFileHold::HiscoreFileHold() {
    if (!media::holdDataFile(kFileName))
        std::fprintf(stderr, "quandrite: saving the hiscores without holding the file: %s\n",
                     media::lastHoldError().c_str());
}

HiscoreFileHold::~HiscoreFileHold() { media::releaseDataFile(); }

void takeSavedTable(GameState& state) {
    // A table this run could not save stays the one in memory, as the
    // player saw it.
    if (!media::lastSaveError().empty()) return;
    std::array<std::string, kHiscoreRows + 1> names{};
    std::array<int32_t, kHiscoreRows + 1> scores{};
    if (readTable(names, scores) != FileTable::Accepted) return;
    for (int row = 1; row <= kHiscoreRows; ++row) {
        state.hiscoreNames[row] = names[row];
        state.hiscoreScores[row] = scores[row];
    }
}

}  // namespace game
