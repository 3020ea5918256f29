// SPDX-License-Identifier: MIT
#pragma once
// Saving a file whole or not at all, for the hiscore table, the settings and
// the replays. The bytes go to "NAME.saving-PID" in the file's own folder,
// which replaces the file only when every byte is written and on the disk;
// the folder is then synced so the rename survives a power cut. A file the
// player linked elsewhere is saved where the link points and the link stays;
// the new file keeps the old one's mode. What is not a regular file, or a
// file that cannot be read, is never replaced.
#include <cstddef>
#include <string>

namespace platform {

class SafeFile {
public:
    SafeFile() = default;
    // A save neither finished nor abandoned is abandoned.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Starts saving PATH; false, with failure() set, when it cannot begin.
    bool begin(const std::string& path);
    // Writes every byte, whatever the system takes at a time. After a
    // failure nothing more is written and finish() fails.
    bool write(const char* data, size_t size);
    // Puts the new file in place of the old; false, with the old file as it
    // was and no temporary file left, when anything failed on the way.
    bool finish();
    // Drops the save: the old file stays as it was.
    void abandon();

    // "<path>: <reason>" of the first failure; empty while all went well.
    const std::string& failure() const { return failure_; }
    // The system's error number of that failure; 0 for a refusal.
    int error() const { return error_; }

private:
    bool fail(int error);

    int fd_ = -1;
    std::string path_;
    std::string temporaryPath_;
    std::string failure_;
    int error_ = 0;
};

// Writes every byte to the open file FD, whatever the system takes at a
// time; 0, or the system's error number (ENOSPC for a write that took none).
int writeAll(int fd, const char* data, size_t size);

// The whole of BYTES saved as PATH; false with `failure` set as above.
bool saveFile(const std::string& path, const std::string& bytes, std::string& failure);

// A save killed half-way leaves its temporary file. These remove the ones of
// processes that no longer run: of the file PATH (through its links), or of
// any file in FOLDER. Another running game's save is left alone.
void removeStaleSaves(const std::string& path);
void removeStaleSavesIn(const std::string& folder);

}  // namespace platform
