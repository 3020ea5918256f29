// SPDX-License-Identifier: MIT
#pragma once
// Numbered text files with a 4,096-byte buffer. A name beginning with a
// backslash ("\quandrite.dat") is the game's own data file and lives in the
// data folder of platform/places.h, $XDG_DATA_HOME/quandrite/ (default
// ~/.local/share/quandrite/).
#include <cstdint>
#include <string>

namespace media {

// Lines longer than this are cut: readLine keeps their first kMaxLineLength
// bytes, skips the rest and lineWasCut reports it, so a hostile file cannot
// make the game hold more than this per line.
constexpr size_t kMaxLineLength = 4096;

void startFiles();
void closeAllFiles();
// Saving is atomic (platform/safe_file.h): the lines go to a temporary file
// next to the real one, which replaces it on closeFile only when everything
// was written. What is not a regular file, or a file that cannot be read, is
// never replaced.
bool createFile(int number, const std::string& name);
// Opens for reading and writing, creating an empty file when missing; a file
// that may be read but not written is opened for reading. Also removes the
// temporary files that killed saves of this file left behind.
bool openFile(int number, const std::string& name);
int64_t writeLine(int number, const std::string& text);
// The next line without its end (CR, LF, CRLF, a zero byte or the end of the
// file); the empty string at the end of the file.
std::string readLine(int number);
// Whether the last readLine on this number met a line longer than kMaxLineLength.
bool lineWasCut(int number);
void closeFile(int number);
// Where a name is stored on this system; creates the game's data folder.
// Empty for the game's own name when the user has no home folder at all.
std::string resolveFileName(const std::string& name);
// "<path>: <reason>" when the last save (createFile up to its closeFile)
// failed and left the old file as it was; empty when it succeeded.
std::string lastSaveError();
// "<path>: <reason>" when the last openFile failed; empty when it opened.
std::string lastOpenError();

// Keeps other windows of the game from saving the game's own data file
// `name` while this one reads it again and saves it (a few seconds at most);
// false, with the reason in lastHoldError(), when it could not be had.
bool holdDataFile(const std::string& name);
void releaseDataFile();
std::string lastHoldError();

}  // namespace media
