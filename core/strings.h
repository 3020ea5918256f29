// SPDX-License-Identifier: MIT
#pragma once
// The string operations the game builds its texts with. A string is a byte
// sequence; an absent string is simply empty. Positions count from 1 and every
// length is clamped, so no call can read outside its string.
#include <cstdint>
#include <string>

namespace core {

int64_t stringLength(const std::string& s);
std::string stringLeft(const std::string& s, int64_t n);
std::string stringRight(const std::string& s, int64_t n);
std::string stringMid(const std::string& s, int64_t start, int64_t n);
std::string stringFromChar(int64_t c);
int firstCharCode(const std::string& s);
bool stringsEqual(const std::string& a, const std::string& b);

// Decimal text: "-" for negatives, no leading zeros, no grouping.
std::string formatInteger(int64_t v);
// Blanks and tabs, an optional sign, then $hex, %binary or decimal digits;
// stops at the first byte that is not a digit; wraps modulo 2^64.
int64_t parseInteger(const std::string& s);

}  // namespace core
