// SPDX-License-Identifier: MIT
#pragma once
// Folders of our own in the system's temporary folder ($TMPDIR, else /tmp),
// named "PREFIX<process id>-XXXXXX" so that one a killed process left
// behind is told from one still in use.
#include <string>

namespace platform {

// Makes FOLDER and the folders above it that are missing, each one only this
// user may enter (0700), as the XDG base directories ask of the data and
// config folders; folders already there keep their mode. 0 when FOLDER
// exists afterwards, else the system's error number.
int makeUserFolders(const std::string& folder);
// A new empty folder only this user may enter; empty when none could be made.
std::string makePrivateFolder(const std::string& prefix);
// Removes FOLDER and everything in it.
void removeFolder(const std::string& folder);
// Removes the folders of PREFIX of this user's processes that no longer run.
void removeStalePrivateFolders(const std::string& prefix);

}  // namespace platform
