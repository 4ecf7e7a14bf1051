// Putting a finished file in its place without ever replacing what is already there,
// and making the move last through a crash: what the database seeding, the drawing
// engine and the plotter rely on when they place a file. Plain POSIX, no Qt.
#pragma once

#include <string>

namespace files {

// Renames `from` to `to` unless a `to` exists (a dangling link counts): 0 on success,
// else the errno, EEXIST when `to` is there. Atomic: of two processes placing the same
// name, one wins and the other gets EEXIST. Where the file system has no no-replace
// rename, a hard link followed by an unlink gives the same promise.
int renameNoReplace(const std::string& from, const std::string& to);

// Flushes the folder `dir` to disk, so that a rename within it survives a crash.
// Returns the errno, 0 on success.
int syncFolder(const std::string& dir);

}  // namespace files
