// SPDX-License-Identifier: MIT
// Mutated hiscore files through the real loader. Whatever the bytes, loading
// must end, must not touch memory it does not own (the sanitizer build runs
// this), and must give one of the outcomes the rules allow:
// - the table it had (the defaults) when the first line is empty;
// - otherwise the error table, or a table that the game saves and reads back
//   unchanged (the file passed every test).
// QUANDRITE_FUZZ_SEED and QUANDRITE_FUZZ_INPUTS change the run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/clock.h"
#include "game/rules/game_state.h"
#include "game/screens/hiscores.h"
#include "media/files.h"
#include "media/test_hooks.h"
#include "test_support.h"

namespace {

using game::GameState;
using testing_support::readWholeFile;
using testing_support::writeWholeFile;

uint64_t settingOr(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& end) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + end;
    return bytes;
}

// Numbers a hostile or damaged file may hold.
const char* const kNastyNumbers[] = {
    "-1",
    "0",
    "-0",
    "9223372036854775807",
    "-9223372036854775808",
    "9223372036854775808",
    "18446744073709551615",
    "18446744073709551616",
    "99999999999999999999999999999999999999",
    "-99999999999999999999999999",
    "2147483647",
    "2147483648",
    "-2147483648",
    "4294967295",
    "4294967296",
    "$FFFFFFFFFFFFFFFF",
    "$8000000000000000",
    "%1111111111111111111111111111111111111111111111111111111111111111",
    "  \t-42",
    "+7",
    "12abc",
    "-",
    "$",
    "%",
    "\xff\xfe",
    "",
};

class Mutator {
public:
    explicit Mutator(uint64_t seed) : random_(seed) {}

    std::string mutate(std::string bytes) {
        const int count = static_cast<int>(below(4)) + 1;
        for (int i = 0; i < count; ++i) bytes = mutateOnce(std::move(bytes));
        return bytes;
    }

    uint64_t below(uint64_t n) { return n == 0 ? 0 : random_() % n; }

private:
    std::string mutateOnce(std::string bytes) {
        switch (below(11)) {
        case 0:  // bit flips
            for (uint64_t i = below(4) + 1; i > 0 && !bytes.empty(); --i)
                bytes[below(bytes.size())] ^= static_cast<char>(1u << below(8));
            return bytes;
        case 1:  // truncation
            return bytes.substr(0, below(bytes.size() + 1));
        case 2: {  // binary bytes, zero bytes among them
            std::string inserted;
            for (uint64_t i = below(16) + 1; i > 0; --i) inserted += static_cast<char>(below(3) == 0 ? 0 : below(256));
            return bytes.insert(below(bytes.size() + 1), inserted);
        }
        case 3:  // one zero byte
            if (!bytes.empty()) bytes[below(bytes.size())] = '\0';
            return bytes;
        case 4:  // a line of megabytes, of digits or of anything
            if (below(8) != 0) return mutateOnce(std::move(bytes));
            return bytes.insert(below(bytes.size() + 1), std::string(below(2 * 1024 * 1024) + 4096,
                                                                     below(2) ? '9' : static_cast<char>(below(256))));
        case 5: return replaceLine(std::move(bytes), kNastyNumbers[below(std::size(kNastyNumbers))]);
        case 6:  // a number nudged, as by a hand edit
            return nudgeLine(std::move(bytes));
        case 7:  // other line ends
            return joinLines(splitLines(bytes), below(2) ? "\n" : "\r");
        case 8: {  // a line lost or doubled
            std::vector<std::string> lines = splitLines(bytes);
            if (lines.empty()) return bytes;
            size_t at = below(lines.size());
            if (below(2)) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            } else {
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]);
            }
            return joinLines(lines, "\r\n");
        }
        case 9: {  // two lines swapped
            std::vector<std::string> lines = splitLines(bytes);
            if (lines.size() < 2) return bytes;
            std::swap(lines[below(lines.size())], lines[below(lines.size())]);
            return joinLines(lines, "\r\n");
        }
        default:  // a stretch of random bytes overwritten
            for (uint64_t i = below(40); i > 0 && !bytes.empty(); --i)
                bytes[below(bytes.size())] = static_cast<char>(below(256));
            return bytes;
        }
    }

    std::string replaceLine(std::string bytes, const std::string& text) {
        std::vector<std::string> lines = splitLines(bytes);
        if (lines.empty()) return bytes;
        lines[below(lines.size())] = text;
        return joinLines(lines, "\r\n");
    }

    std::string nudgeLine(std::string bytes) {
        std::vector<std::string> lines = splitLines(bytes);
        if (lines.empty()) return bytes;
        std::string& line = lines[below(lines.size())];
        int64_t value = std::strtoll(line.c_str(), nullptr, 10);
        line = std::to_string(static_cast<int64_t>(static_cast<uint64_t>(value) + below(201) - 100));
        return joinLines(lines, "\r\n");
    }

    std::mt19937_64 random_;
};

// Every accepted input is saved again, and a save ends with fsync: on a disk
// those waits would make up most of the run, on tmpfs they cost nothing.
std::unique_ptr<testing_support::ScratchDir> scratchInMemory() {
    std::error_code ignored;
    if (!std::filesystem::is_directory("/dev/shm", ignored)) return std::make_unique<testing_support::ScratchDir>();
    const char* old = std::getenv("TMPDIR");
    const std::string oldTmp = old ? old : "";
    setenv("TMPDIR", "/dev/shm", 1);
    auto scratch = std::make_unique<testing_support::ScratchDir>();
    if (old) {
        setenv("TMPDIR", oldTmp.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    return scratch;
}

class HiscoreFuzz : public ::testing::Test {
protected:
    void SetUp() override {
        media::chooseBackend(media::Backend::Headless);
        core::setClock(&clock);
        scratch = scratchInMemory();
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome = old, hadDataHome = true;
        setenv("XDG_DATA_HOME", scratch->path().c_str(), 1);
        media::startFiles();
        std::filesystem::create_directories(scratch->path() + "/quandrite");
    }
    void TearDown() override {
        media::closeAllFiles();
        core::setClock(nullptr);
        if (hadDataHome) {
            setenv("XDG_DATA_HOME", oldDataHome.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    std::string filePath() const { return scratch->path() + "/quandrite/quandrite.dat"; }

    std::string saved(GameState& table) {
        game::saveHiscores(table);
        return readWholeFile(filePath());
    }

    std::unique_ptr<testing_support::ScratchDir> scratch;
    core::VirtualClock clock;
    std::string oldDataHome;
    bool hadDataHome = false;
};

bool sameTable(const GameState& a, const GameState& b) {
    return a.hiscoreNames == b.hiscoreNames && a.hiscoreScores == b.hiscoreScores;
}

bool isErrorTable(const GameState& s) {
    for (int row = 1; row <= game::kHiscoreRows; ++row)
        if (s.hiscoreNames[row] != "err" || s.hiscoreScores[row] != 1000) return false;
    return true;
}

// What readLine takes for the end of the first line.
bool firstLineEmpty(const std::string& bytes) {
    return bytes.empty() || bytes[0] == '\r' || bytes[0] == '\n' || bytes[0] == '\0';
}

TEST_F(HiscoreFuzz, MutatedFilesGiveOnlyTheOutcomesTheRulesAllow) {
    const uint64_t seed = settingOr("QUANDRITE_FUZZ_SEED", 20261208);
    const uint64_t inputs = settingOr("QUANDRITE_FUZZ_INPUTS", 3000);
    Mutator mutator(seed);

    auto defaults = std::make_unique<GameState>();
    game::fillDefaultHiscores(*defaults);

    // Valid files to start from: the defaults, the error table, and tables
    // with names of 0 to 3 bytes of any value and scores from 0 to 99999.
    std::vector<std::string> valid;
    auto table = std::make_unique<GameState>();
    game::fillDefaultHiscores(*table);
    valid.push_back(saved(*table));
    for (int row = 1; row <= game::kHiscoreRows; ++row)
        table->hiscoreNames[row] = "err", table->hiscoreScores[row] = 1000;
    valid.push_back(saved(*table));
    for (int n = 0; n < 6; ++n) {
        for (int row = 1; row <= game::kHiscoreRows; ++row) {
            std::string name;
            for (uint64_t k = mutator.below(4); k > 0; --k) name += static_cast<char>(mutator.below(255) + 1);
            table->hiscoreNames[row] = name;
            table->hiscoreScores[row] = static_cast<int32_t>(mutator.below(100000));
        }
        valid.push_back(saved(*table));
    }

    uint64_t keptDefaults = 0, errorTables = 0, accepted = 0, acceptedChanged = 0;
    auto loaded = std::make_unique<GameState>();
    auto reloaded = std::make_unique<GameState>();
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < inputs; ++i) {
        const std::string& original = valid[mutator.below(valid.size())];
        const std::string bytes = mutator.below(50) == 0 ? original : mutator.mutate(original);
        writeWholeFile(filePath(), bytes);
        *loaded = *defaults;
        game::loadHiscores(*loaded);

        bool sound;
        if (firstLineEmpty(bytes)) {
            sound = sameTable(*loaded, *defaults);
            ++keptDefaults;
        } else if (isErrorTable(*loaded)) {
            sound = true;
            ++errorTables;
        } else {
            // Accepted: saving the table and reading it back must give it again.
            game::saveHiscores(*loaded);
            *reloaded = *defaults;
            game::loadHiscores(*reloaded);
            sound = sameTable(*loaded, *reloaded);
            for (int row = 1; row <= game::kHiscoreRows; ++row)
                sound = sound && loaded->hiscoreNames[row].size() <= 3 &&
                        loaded->hiscoreNames[row].find('\0') == std::string::npos;
            ++accepted;
            if (bytes != original) ++acceptedChanged;
        }
        if (!sound) {
            writeWholeFile("hiscore-fuzz-failure.dat", bytes);
            FAIL() << "input " << i << " of seed " << seed << " gave a table the rules do not allow;"
                   << " the file is saved as hiscore-fuzz-failure.dat";
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf(
        "hiscore fuzz: seed %llu, %llu inputs in %.2f s: %llu kept the defaults, %llu error tables, %llu accepted (%llu of them changed)\n",
        static_cast<unsigned long long>(seed), static_cast<unsigned long long>(inputs), seconds,
        static_cast<unsigned long long>(keptDefaults), static_cast<unsigned long long>(errorTables),
        static_cast<unsigned long long>(accepted), static_cast<unsigned long long>(acceptedChanged));
    RecordProperty("inputs", std::to_string(inputs));
    RecordProperty("seconds", std::to_string(seconds));
    // Each outcome was reached, also by a changed file that still passes, so the
    // mutations exercise every branch of the rules.
    EXPECT_GT(keptDefaults, 0u);
    EXPECT_GT(errorTables, 0u);
    EXPECT_GT(accepted, 0u);
    EXPECT_GT(acceptedChanged, 0u);
}

}  // namespace
