// SPDX-License-Identifier: MIT
#pragma once
// The keyboard as one snapshot of all keys per frame, in DirectInput key
// codes (physical positions of a US layout).
#include <cstdint>

namespace media {

namespace key {
constexpr int Escape = 1;
constexpr int Backspace = 14;
constexpr int Q = 16, W = 17, E = 18, R = 19, T = 20, Y = 21, U = 22, I = 23, O = 24, P = 25;
constexpr int Return = 28;
constexpr int LeftCtrl = 29;
constexpr int A = 30, S = 31, D = 32, F = 33, G = 34, H = 35, J = 36, K = 37, L = 38;
constexpr int Z = 44, X = 45, C = 46, V = 47, B = 48, N = 49, M = 50;
constexpr int Space = 57;
constexpr int NumpadEnter = 156;
constexpr int RightCtrl = 157;
constexpr int Pause = 197;
constexpr int Up = 200;
constexpr int Left = 203;
constexpr int Right = 205;
constexpr int Down = 208;
constexpr int Any = -1;
}  // namespace key

bool initKeyboard();
void releaseKeyboard();
// Takes a new snapshot; 0 when the keyboard cannot be read (window not focused).
int examineKeyboard();
// 128 when the key is down in the snapshot, else 0; key::Any gives 1 when any key 0..254 is down.
int keyPushed(int code);

}  // namespace media
