// SPDX-License-Identifier: MIT
#pragma once
// Folders and whole files for the port's own files: the settings' and
// replays' folders, demo files, exported assets, the files --record and
// --screenshot will write. Saving goes through safe_file.h.
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Makes FOLDER and the folders above it that are missing; 0 when it exists
// afterwards, else the system's error number.
int makeFolders(const std::string& folder);
// The names of FOLDER's regular files (through links); none when it cannot
// be read.
std::vector<std::string> regularFilesIn(const std::string& folder);
// Removes a file; a missing one is no failure.
void removeFile(const std::string& path);
// Why a file cannot be made at PATH ("<path>: <reason>", naming the folder
// when the folder is the cause); empty when it can, so a long run is not
// played only to fail at its end.
std::string whyNotWritable(const std::string& path);

struct FileRead {
    enum Outcome { Read, Missing, CannotOpen, NotRegular, TooLarge, CannotRead };
    Outcome outcome = Read;
    std::string reason;  // the system's, for Missing, CannotOpen and CannotRead
};
// Reads a regular file of at most LIMIT bytes into BYTES, without waiting
// on a pipe or device put in its place and without reading past the limit
// if the file grows meanwhile.
FileRead readRegularFile(const std::string& path, size_t limit, std::string& bytes);
// The game's own data file opened in place for reading and writing: created
// empty when missing, opened for reading alone when it may be read but not
// written, never waiting on a device or pipe put in its place. A descriptor
// for readSome, stepBack, writeAll (safe_file.h) and closeDescriptor; or -1
// with ERROR the system's error number, 0 when it is no regular file.
int openInPlace(const std::string& path, int& error);
// Up to SIZE bytes of FD: the count, 0 at the end, -1 on an error.
long readSome(int fd, char* data, size_t size);
// Moves FD's position back by COUNT bytes; 0, or the system's error number.
int stepBack(int fd, size_t count);
void closeDescriptor(int fd);
// The first LIMIT bytes of the file at PATH, all of a shorter one, without
// waiting on a pipe; 0 when read, else the system's error number.
int readFileStart(const std::string& path, size_t limit, std::string& bytes);

}  // namespace platform
