// SPDX-License-Identifier: MIT
#include "core/clock.h"

#include <chrono>
#include <thread>

namespace core {

namespace {
class RealClock : public Clock {
public:
    void sleepMilliseconds(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    uint64_t nowMilliseconds() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

RealClock realClock;
Clock* activeClock = &realClock;
}  // namespace

void setClock(Clock* clock) { activeClock = clock ? clock : &realClock; }
Clock* currentClock() { return activeClock; }
void delayMilliseconds(int ms) { activeClock->sleepMilliseconds(ms); }
uint64_t tickCountMilliseconds() { return activeClock->nowMilliseconds(); }

}  // namespace core
