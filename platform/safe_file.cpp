// SPDX-License-Identifier: MIT
// What SafeFile does the same on every system; posix/ and windows/ open,
// flush and rename.
#include "platform/safe_file.h"

#include <climits>
#include <cstring>

#include "platform/saving_names.h"

namespace platform {

namespace {
const std::string kSaving = ".saving-";
}  // namespace

std::string savingNameOf(const std::string& path, int pid) { return path + kSaving + std::to_string(pid); }

int savingProcessOf(const std::string& name, const std::string& stem) {
    size_t mark = name.rfind(kSaving);
    if (mark == std::string::npos || mark == 0 || (!stem.empty() && name.compare(0, mark, stem) != 0)) return -1;
    std::string digits = name.substr(mark + kSaving.size());
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    long long pid = std::stoll(digits);
    return pid > INT_MAX ? -1 : static_cast<int>(pid);
}

SafeFile::~SafeFile() { abandon(); }

bool SafeFile::fail(int error) {
    if (failure_.empty()) {
        failure_ = path_ + ": " + std::strerror(error);
        error_ = error;
    }
    return false;
}

bool SafeFile::write(const char* data, size_t size) {
    if (fd_ < 0 || !failure_.empty()) return false;
    if (int error = writeAll(fd_, data, size); error != 0) return fail(error);
    return true;
}

bool saveFile(const std::string& path, const std::string& bytes, std::string& failure) {
    SafeFile file;
    bool saved = file.begin(path) && file.write(bytes.data(), bytes.size()) && file.finish();
    failure = file.failure();
    return saved;
}

}  // namespace platform
