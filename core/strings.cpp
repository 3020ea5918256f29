// SPDX-License-Identifier: MIT
#include "core/strings.h"

#include <algorithm>

namespace core {

namespace {
size_t clampCount(int64_t n, size_t length) {
    if (n <= 0) return 0;
    return std::min<uint64_t>(static_cast<uint64_t>(n), length);
}

int digitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}
}  // namespace

int64_t stringLength(const std::string& s) { return static_cast<int64_t>(s.size()); }

std::string stringLeft(const std::string& s, int64_t n) { return s.substr(0, clampCount(n, s.size())); }

std::string stringRight(const std::string& s, int64_t n) {
    size_t count = clampCount(n, s.size());
    return s.substr(s.size() - count, count);
}

std::string stringMid(const std::string& s, int64_t start, int64_t n) {
    size_t from = start <= 1 ? 0 : static_cast<size_t>(std::min<int64_t>(start - 1, static_cast<int64_t>(s.size())));
    if (from >= s.size()) return {};
    return s.substr(from, clampCount(n, s.size() - from));
}

std::string stringFromChar(int64_t c) { return std::string(1, static_cast<char>(static_cast<uint8_t>(c & 0xFF))); }

int firstCharCode(const std::string& s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

bool stringsEqual(const std::string& a, const std::string& b) { return a == b; }

std::string formatInteger(int64_t v) {
    if (v == 0) return "0";
    // Work on the unsigned magnitude so the smallest value needs no special case.
    uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    char digits[24];
    int count = 0;
    while (magnitude != 0) {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    std::string text;
    text.reserve(count + 1);
    if (v < 0) text.push_back('-');
    while (count > 0) text.push_back(digits[--count]);
    return text;
}

int64_t parseInteger(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i < s.size() && s[i] == '%') {
        base = 2;
        ++i;
    }
    uint64_t value = 0;  // unsigned arithmetic wraps modulo 2^64 without undefined behaviour
    for (; i < s.size(); ++i) {
        int d = digitValue(static_cast<unsigned char>(s[i]));
        if (d >= static_cast<int>(base)) break;
        value = value * base + static_cast<uint64_t>(d);
    }
    if (negative) value = 0 - value;
    return static_cast<int64_t>(value);
}

}  // namespace core
