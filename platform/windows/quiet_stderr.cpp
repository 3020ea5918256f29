// SPDX-License-Identifier: MIT
#include "platform/quiet_stderr.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace platform {

StderrMuted::StderrMuted() {
    std::fflush(stderr);
    int null = _open("NUL", _O_WRONLY);
    if (null < 0) return;
    saved_ = _dup(_fileno(stderr));
    if (saved_ >= 0 && _dup2(null, _fileno(stderr)) < 0) {
        _close(saved_);
        saved_ = -1;
    }
    _close(null);
}

StderrMuted::~StderrMuted() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    _dup2(saved_, _fileno(stderr));
    _close(saved_);
}

}  // namespace platform
