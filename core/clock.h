// SPDX-License-Identifier: MIT
#pragma once
// The fixed waits of the game (after keys, between screens) go through one
// replaceable clock, so tests and time demos can skip them.
#include <cstdint>

namespace core {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMilliseconds(int ms) = 0;
    virtual uint64_t nowMilliseconds() = 0;
};

// The real clock; tests install their own and restore this with nullptr.
void setClock(Clock* clock);
// The clock in use, for one who installs theirs for a while and puts it back.
Clock* currentClock();

void delayMilliseconds(int ms);
uint64_t tickCountMilliseconds();

// A clock that only counts: waits cost nothing and are added up.
class VirtualClock : public Clock {
public:
    void sleepMilliseconds(int ms) override {
        if (ms > 0) now_ += static_cast<uint64_t>(ms), slept_ += static_cast<uint64_t>(ms);
    }
    uint64_t nowMilliseconds() override { return now_; }
    uint64_t slept() const { return slept_; }

private:
    uint64_t now_ = 0;
    uint64_t slept_ = 0;
};

}  // namespace core
