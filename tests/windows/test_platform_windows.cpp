// SPDX-License-Identifier: MIT
// platform/ on Windows, run under Wine by tests/test_windows_wine.sh (the
// GoogleTest suites of tests/ are built for Linux only): where the files
// live, UTF-8 names through the wide calls, the safe replacement and its
// refusals, stale temporary files and folders of dead processes, the lock,
// Ctrl+C.
// Prints "N passed, N failed" and exits 1 on any failure.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/places.h"
#include "platform/private_folders.h"
#include "platform/process.h"
#include "platform/quit_signals.h"
#include "platform/safe_file.h"

namespace {

int passed = 0;
int failed = 0;

void check(bool condition, const std::string& what) {
    if (condition) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

std::wstring wide(const std::string& utf8) {
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), size);
    text.resize(static_cast<size_t>(size) - 1);
    return text;
}

std::string contents(const std::string& path) {
    std::string bytes;
    platform::FileRead read = platform::readRegularFile(path, 1 << 20, bytes);
    return read.outcome == platform::FileRead::Read ? bytes : "<" + std::to_string(read.outcome) + ">";
}

bool hasSavingFile(const std::string& folder) {
    for (const std::string& name : platform::regularFilesIn(folder))
        if (name.find(".saving-") != std::string::npos) return true;
    return false;
}

// This program started again with ARGUMENT: "exit" ends at once, "wait"
// runs for a minute or until it is ended. Its handle is null when it failed.
PROCESS_INFORMATION startSelf(const wchar_t* argument) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" " + argument;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        process.hProcess = nullptr;
    return process;
}

void testPlaces() {
    std::string data = platform::dataFolder();
    check(data.size() > 10 && data.compare(data.size() - 10, 10, "\\Quandrite") == 0,
          "the data folder is ...\\Quandrite: " + data);
    const wchar_t* appData = _wgetenv(L"APPDATA");
    check(appData && wide(data) == std::wstring(appData) + L"\\Quandrite", "the data folder is in %APPDATA%: " + data);
    check(platform::configFolder() == data, "settings.ini lives beside the table");
    check(platform::replayFolder() == data + "\\replays", "the replays are in replays\\");
    platform::overrideDataHome(std::string("C:\\elsewhere"));
    check(platform::dataFolder() == "C:\\elsewhere\\Quandrite", "a replay's own data folder is used while set");
    platform::overrideDataHome(std::nullopt);
    check(platform::dataFolder() == data, "the data folder comes back");
}

void testSaving(const std::string& folder) {
    std::string file = folder + "\\quandrite.dat";
    std::string failure;
    check(platform::saveFile(file, "one\r\n", failure), "a new file is saved: " + failure);
    check(contents(file) == "one\r\n", "the new file holds what was saved");
    check(platform::saveFile(file, "two\r\n", failure), "a file is saved over: " + failure);
    check(contents(file) == "two\r\n", "the replaced file holds the new bytes");
    check(!hasSavingFile(folder), "no temporary file is left after a save");
    std::vector<std::string> names = platform::regularFilesIn(folder);
    check(names.size() == 1 && names[0] == "quandrite.dat", "the folder lists the file by its UTF-8 name");

    platform::SafeFile abandoned;
    check(abandoned.begin(file) && abandoned.write("three", 5), "a save begins");
    abandoned.abandon();
    check(contents(file) == "two\r\n" && !hasSavingFile(folder), "an abandoned save leaves the old file alone");

    // A read-only table is read, and never saved over.
    SetFileAttributesW(wide(file).c_str(), FILE_ATTRIBUTE_READONLY);
    check(!platform::saveFile(file, "four\r\n", failure), "a read-only file is not saved over");
    check(failure.find(file) == 0, "the refusal names the file: " + failure);
    check(contents(file) == "two\r\n" && !hasSavingFile(folder), "the read-only file keeps its bytes");
    int error = -1;
    int fd = platform::openInPlace(file, error);
    char bytes[8] = {};
    check(fd >= 0 && platform::readSome(fd, bytes, sizeof bytes) == 5 && std::strncmp(bytes, "two\r\n", 5) == 0,
          "a read-only file is still opened in place and read");
    if (fd >= 0) platform::closeDescriptor(fd);
    SetFileAttributesW(wide(file).c_str(), FILE_ATTRIBUTE_NORMAL);

    // What is not a regular file is not replaced.
    std::string notAFile = folder + "\\folder.dat";
    CreateDirectoryW(wide(notAFile).c_str(), nullptr);
    check(!platform::saveFile(notAFile, "x", failure) && failure.find("not a regular file") != std::string::npos,
          "a folder in the file's place is not replaced: " + failure);
    check(!platform::whyNotWritable(notAFile).empty(), "a folder in the way is named before a long run");
    check(platform::whyNotWritable(folder + "\\new.png").empty(), "a new file in the folder can be written");
}

void testInPlace(const std::string& folder) {
    std::string file = folder + "\\in place.dat";
    int error = -1;
    int fd = platform::openInPlace(file, error);
    check(fd >= 0, "a missing file is created when opened in place");
    if (fd < 0) return;
    check(platform::writeAll(fd, "abcdef", 6) == 0, "bytes are written in place");
    check(platform::stepBack(fd, 4) == 0, "the position moves back");
    char rest[8] = {};
    check(platform::readSome(fd, rest, sizeof rest) == 4 && std::strncmp(rest, "cdef", 4) == 0,
          "what follows the new position is read");
    check(platform::readSome(fd, rest, sizeof rest) == 0, "the end of the file reads as 0");
    platform::closeDescriptor(fd);

    std::string bytes;
    check(platform::readRegularFile(file, 3, bytes).outcome == platform::FileRead::TooLarge && bytes.empty(),
          "a file over the limit is refused whole");
    check(platform::readRegularFile(folder + "\\none", 10, bytes).outcome == platform::FileRead::Missing,
          "a missing file is told from one that cannot be read");
    check(platform::readFileStart(file, 2, bytes) == 0 && bytes == "ab", "the start of a file is read");
}

void testStaleFiles(const std::string& folder) {
    std::string file = folder + "\\quandrite.dat";
    PROCESS_INFORMATION ended = startSelf(L"exit");
    check(ended.hProcess != nullptr, "a process is started");
    if (!ended.hProcess) return;
    WaitForSingleObject(ended.hProcess, INFINITE);
    int deadPid = static_cast<int>(ended.dwProcessId);
    check(!platform::processRuns(deadPid), "an ended process does not run");
    check(platform::processRuns(platform::processId()), "this process runs");

    PROCESS_INFORMATION waiting = startSelf(L"wait");
    int livePid = static_cast<int>(waiting.dwProcessId);

    std::string failure;
    platform::saveFile(file + ".saving-" + std::to_string(deadPid), "killed", failure);
    platform::saveFile(file + ".saving-" + std::to_string(livePid), "running", failure);
    platform::removeStaleSaves(file);
    std::vector<std::string> names = platform::regularFilesIn(folder);
    auto listed = [&](const std::string& name) {
        for (const std::string& n : names)
            if (n == name) return true;
        return false;
    };
    check(!listed("quandrite.dat.saving-" + std::to_string(deadPid)), "a dead process's temporary file is removed");
    check(listed("quandrite.dat.saving-" + std::to_string(livePid)), "a running process's temporary file stays");
    platform::removeFile(folder + "\\quandrite.dat.saving-" + std::to_string(livePid));

    // Private folders: a dead process's is removed, ours stays.
    std::string mine = platform::makePrivateFolder("quandrite-wtest-");
    check(!mine.empty(), "a private folder is made");
    std::string deadFolder = mine.substr(0, mine.rfind('\\') + 1) + "quandrite-wtest-" + std::to_string(deadPid) + "-x";
    CreateDirectoryW(wide(deadFolder).c_str(), nullptr);
    platform::removeStalePrivateFolders("quandrite-wtest-");
    check(GetFileAttributesW(wide(deadFolder).c_str()) == INVALID_FILE_ATTRIBUTES,
          "a dead process's private folder is removed");
    check(GetFileAttributesW(wide(mine).c_str()) != INVALID_FILE_ATTRIBUTES, "our own private folder stays");
    platform::removeFolder(mine);
    check(GetFileAttributesW(wide(mine).c_str()) == INVALID_FILE_ATTRIBUTES, "a private folder is removed");

    if (waiting.hProcess) {
        TerminateProcess(waiting.hProcess, 0);
        WaitForSingleObject(waiting.hProcess, INFINITE);
        CloseHandle(waiting.hProcess);
        CloseHandle(waiting.hThread);
    }
    CloseHandle(ended.hProcess);
    CloseHandle(ended.hThread);
}

void testLock(const std::string& folder) {
    std::string file = folder + "\\quandrite.dat";
    platform::FileLock first, second;
    check(first.acquire(file, 1000), "the lock is taken: " + first.failure());
    check(!second.acquire(file, 100), "a second holder waits and gives up");
    check(second.failure() == file + ".lock: held by another window of the game",
          "the refusal says who holds it: " + second.failure());
    first.release();
    check(second.acquire(file, 1000), "the lock is free once released: " + second.failure());
    second.release();
}

// Ctrl+C in the console becomes a quit request, reported once, as the
// window's close box is. A console of our own receives the event.
void testQuitSignals() {
    FreeConsole();
    check(AllocConsole(), "a console is made for the Ctrl+C");
    platform::catchQuitSignals();
    check(!platform::quitRequested(), "no quit before the Ctrl+C");
    check(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0), "Ctrl+C is sent");
    // The handler runs on a thread the console starts.
    for (int wait = 0; wait < 2000 && !platform::quitRequested(); ++wait) Sleep(10);
    check(platform::takeQuitRequest(), "Ctrl+C is a quit request");
    check(!platform::takeQuitRequest(), "one Ctrl+C is reported once");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "exit") == 0) return 0;
    if (argc == 2 && std::strcmp(argv[1], "wait") == 0) {
        Sleep(60000);
        return 0;
    }
    wchar_t temporary[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temporary);
    int size = WideCharToMultiByte(CP_UTF8, 0, temporary, -1, nullptr, 0, nullptr, nullptr);
    std::string base(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, temporary, -1, base.data(), size, nullptr, nullptr);
    base.resize(static_cast<size_t>(size) - 1);
    // A folder whose name the ANSI calls could not spell.
    std::string folder = base + "quandrite Zoë 東京 " + std::to_string(platform::processId()) + "\\a";
    check(platform::makeFolders(folder) == 0, "folders with a UTF-8 name are made: " + folder);
    check(platform::makeUserFolders(folder + "\\user\\données") == 0 &&
              GetFileAttributesW(wide(folder + "\\user\\données").c_str()) != INVALID_FILE_ATTRIBUTES,
          "the game's own folders are made, each one on the way");
    check(platform::makeUserFolders("") != 0, "no folder is made for an empty name");
    platform::removeFolder(folder + "\\user");

    testPlaces();
    testSaving(folder);
    testInPlace(folder);
    testStaleFiles(folder);
    testLock(folder);
    testQuitSignals();

    platform::removeFolder(folder.substr(0, folder.size() - 2));
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
