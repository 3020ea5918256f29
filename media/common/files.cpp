// SPDX-License-Identifier: MIT
#include "media/files.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "media/common/object_table.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/places.h"
#include "platform/private_folders.h"
#include "platform/safe_file.h"

namespace media {

namespace {

constexpr size_t kBufferSize = 4096;

std::string lastSaveFailure;
std::string lastOpenFailure;
const std::string kNoHome = "no home folder for the game's files (HOME is unset and the user has none)";
// The game's data folder and why it could not be made (0 = it could).
std::string dataFolder;
int dataFolderError = 0;

std::string reason(int error) { return std::strerror(error); }

// One open file with its buffer. The buffer is either being filled for
// writing or holds bytes read ahead; switching between the two writes it out
// or moves the file position back over what was read ahead and not used.
// A file made by createFile is a save (platform/safe_file.h), which replaces
// the real file only when the file is closed and every step succeeded.
class Record {
public:
    Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    // Closing is the release action, whether by closeFile or by reusing the number.
    ~Record() { finish(); }

    void attach(int fd) { fd_ = fd; }
    platform::SafeFile& save() {
        saving_ = true;
        return save_;
    }

    bool write(const char* data, size_t size) {
        if (!failure_.empty()) return false;
        if (!writing_) {
            if (available_ > 0)
                if (int error = platform::stepBack(fd_, available_); error != 0) return fail(error);
            writing_ = true;
            available_ = kBufferSize;
            fill_ = 0;
        }
        if (size < available_) {
            std::memcpy(buffer_.data() + (kBufferSize - available_), data, size);
            available_ -= size;
            return true;
        }
        if (!flush()) return false;
        if (size >= kBufferSize) return writeAll(data, size);
        std::memcpy(buffer_.data(), data, size);
        available_ = kBufferSize - size;
        return true;
    }

    // The next byte, or -1 at the end of the file (or when reading fails).
    // A save is read at its end, where nothing follows.
    int readByte() {
        if (writing_) {
            flush();
            writing_ = false;
            available_ = 0;
            fill_ = 0;
        }
        if (available_ == 0) {
            if (saving_) return -1;
            long got = platform::readSome(fd_, buffer_.data(), kBufferSize);
            if (got <= 0) return -1;
            fill_ = static_cast<size_t>(got);
            available_ = fill_;
        }
        return static_cast<unsigned char>(buffer_[fill_ - available_--]);
    }

    // Gives back the byte just returned by readByte; it is still in the buffer.
    void unreadByte() { ++available_; }

    bool lineCut = false;

private:
    bool fail(int error) {
        if (failure_.empty()) failure_ = reason(error);
        return false;
    }

    bool writeAll(const char* data, size_t size) {
        if (saving_) return save_.write(data, size) || (failure_ = save_.failure(), false);
        if (int error = platform::writeAll(fd_, data, size); error != 0) return fail(error);
        return true;
    }

    bool flush() {
        if (!writing_ || available_ == kBufferSize) return true;
        size_t used = kBufferSize - available_;
        available_ = kBufferSize;
        return failure_.empty() && writeAll(buffer_.data(), used);
    }

    void finish() {
        if (saving_) {
            flush();
            saving_ = false;
            if (save_.finish()) lastSaveFailure.clear();
            else lastSaveFailure = save_.failure();
            return;
        }
        if (fd_ < 0) return;
        flush();
        platform::closeDescriptor(fd_);
        fd_ = -1;
    }

    int fd_ = -1;              // a file opened with openFile
    platform::SafeFile save_;  // a file made by createFile
    bool saving_ = false;
    std::vector<char> buffer_ = std::vector<char>(kBufferSize);
    size_t available_ = 0;  // free bytes while writing, unread bytes while reading
    size_t fill_ = 0;       // bytes the last read from disk put in the buffer
    bool writing_ = false;  // a new file starts reading, with nothing buffered
    std::string failure_;   // the first write error; later writes are skipped
};

ObjectTable<Record>& files() {
    static ObjectTable<Record> table;
    return table;
}

// Why a file could not be made or opened: for a file of the data folder that
// could not be made, the folder is the cause, not the missing file.
std::string failureOf(const std::string& path, int error, const std::string& otherwise) {
    bool noFolder = error == ENOENT && dataFolderError != 0 && path.compare(0, dataFolder.size(), dataFolder) == 0;
    return noFolder ? dataFolder + ": " + reason(dataFolderError) : otherwise;
}

}  // namespace

void startFiles() { files(); }

void closeAllFiles() { files().releaseAll(); }

std::string resolveFileName(const std::string& name) {
    if (name.empty() || name[0] != '\\') return name;
    dataFolder = platform::dataFolder();
    // Without a home there is no folder to make: nothing is opened or saved.
    if (dataFolder.empty()) {
        dataFolderError = ENOENT;
        return {};
    }
    // A folder that cannot be made shows up when the file is opened or saved.
    dataFolderError = platform::makeUserFolders(dataFolder);
    return dataFolder + "/" + name.substr(1);
}

bool createFile(int number, const std::string& name) {
    files().release(number);
    std::string path = resolveFileName(name);
    lastSaveFailure.clear();
    if (path.empty()) {
        lastSaveFailure = kNoHome;
        return false;
    }
    platform::SafeFile& save = files().obtainSlot(number).save();
    if (save.begin(path)) return true;
    std::string failure = failureOf(path, save.error(), save.failure());
    files().release(number);
    lastSaveFailure = failure;
    return false;
}

bool openFile(int number, const std::string& name) {
    files().release(number);
    std::string path = resolveFileName(name);
    lastOpenFailure.clear();
    if (path.empty()) {
        lastOpenFailure = kNoHome;
        return false;
    }
    platform::removeStaleSaves(path);
    // A file the player made read-only is still read; a device or pipe put
    // in the file's place is not waited on.
    int error = 0;
    int fd = platform::openInPlace(path, error);
    if (fd < 0 && error != 0) {
        lastOpenFailure = failureOf(path, error, path + ": " + reason(error));
        return false;
    }
    if (fd < 0) {
        lastOpenFailure = path + ": not a regular file";
        return false;
    }
    files().obtainSlot(number).attach(fd);
    return true;
}

int64_t writeLine(int number, const std::string& text) {
    Record* record = files().lookup(number);
    if (!record) return 0;
    if (!record->write(text.data(), text.size()) || !record->write("\r\n", 2)) return 0;
    return static_cast<int64_t>(text.size()) + 2;
}

std::string readLine(int number) {
    Record* record = files().lookup(number);
    if (!record) return {};
    std::string line;
    record->lineCut = false;
    for (;;) {
        int c = record->readByte();
        if (c <= 0 || c == '\n') break;
        if (c == '\r') {
            int next = record->readByte();
            if (next >= 0 && next != '\n') record->unreadByte();
            break;
        }
        if (line.size() < kMaxLineLength) {
            line.push_back(static_cast<char>(c));
        } else {
            record->lineCut = true;
        }
    }
    return line;
}

bool lineWasCut(int number) {
    const Record* record = files().lookup(number);
    return record && record->lineCut;
}

void closeFile(int number) { files().release(number); }

std::string lastSaveError() { return lastSaveFailure; }

std::string lastOpenError() { return lastOpenFailure; }

namespace {
platform::FileLock dataFileLock;
std::string holdFailure;
// Longer than any save takes; a window stuck for longer does not stop ours.
constexpr int kHoldTimeoutMs = 5000;
}  // namespace

bool holdDataFile(const std::string& name) {
    std::string path = resolveFileName(name);
    holdFailure = path.empty() ? kNoHome : "";
    if (path.empty()) return false;
    if (dataFileLock.acquire(path, kHoldTimeoutMs)) return true;
    holdFailure = dataFileLock.failure();
    return false;
}

void releaseDataFile() { dataFileLock.release(); }

std::string lastHoldError() { return holdFailure; }

}  // namespace media
