// SPDX-License-Identifier: MIT
#pragma once
// The game's paths are UTF-8; Windows's wide calls take UTF-16. And the
// system's error codes, told to the layers above as the C library's error
// numbers (ENOENT, EACCES, ...) so that their messages read alike everywhere.
#include <windows.h>

#include <filesystem>
#include <string>

namespace platform::windows {

std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& wide);
std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);
// ERROR_FILE_NOT_FOUND -> ENOENT, ERROR_ACCESS_DENIED -> EACCES, ...
int errorNumber(DWORD error);
// The error number of GetLastError().
int lastErrorNumber();

}  // namespace platform::windows
