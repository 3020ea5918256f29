// SPDX-License-Identifier: MIT
#pragma once
// Emblem shapes of the orbs as inside/outside tests in a square from -1 to 1
// (y grows downwards), so they can be supersampled at any size.
#include <string>

namespace gen {

// True when (u, v) lies inside the named emblem; throws for an unknown name.
bool insideEmblem(const std::string& name, float u, float v);
// Second colour region of the emblem (eyes of the skull, heart of the flame...).
bool insideEmblemDetail(const std::string& name, float u, float v);

}  // namespace gen
