// SPDX-License-Identifier: MIT
#pragma once
// Numbered objects: sprites, sounds, windows and files are addressed by small
// numbers chosen by the game. Creating an object under a number in use
// destroys the old one first; asking for a number that holds nothing gives
// nothing, and every operation on it quietly does nothing.
#include <memory>
#include <vector>

namespace media {

template <typename Record>
class ObjectTable {
public:
    explicit ObjectTable(size_t growthStep = 16) : growthStep_(growthStep) {}

    // A fresh record for `number`; an object already there is released first.
    Record& obtainSlot(int number) {
        if (number < 0) number = 0;
        size_t index = static_cast<size_t>(number);
        if (index >= slots_.size()) slots_.resize(index + growthStep_);
        slots_[index].reset();
        slots_[index] = std::make_unique<Record>();
        return *slots_[index];
    }

    Record* lookup(int number) const {
        if (number < 0 || static_cast<size_t>(number) >= slots_.size()) return nullptr;
        return slots_[static_cast<size_t>(number)].get();
    }

    bool isPresent(int number) const { return lookup(number) != nullptr; }

    void release(int number) {
        if (number >= 0 && static_cast<size_t>(number) < slots_.size()) slots_[static_cast<size_t>(number)].reset();
    }

    void releaseAll() {
        for (auto& slot : slots_) slot.reset();
    }

    template <typename Visit>
    void forEach(Visit visit) {
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i]) visit(static_cast<int>(i), *slots_[i]);
    }

private:
    size_t growthStep_;
    std::vector<std::unique_ptr<Record>> slots_;
};

}  // namespace media
