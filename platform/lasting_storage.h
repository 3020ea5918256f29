// SPDX-License-Identifier: MIT
#pragma once
// Where the files the game saves live in memory and only a copy lasts (a
// browser's page, whose copy is in IndexedDB), a finished save is handed to
// that copy at once; elsewhere the disk is the lasting storage and this does
// nothing.

namespace platform {

void keepSavedFiles();

}  // namespace platform
