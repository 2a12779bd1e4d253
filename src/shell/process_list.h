// The running programs of this user, found through /proc: how many run from
// a given program file, and which program file a process runs.
#pragma once

#include <QString>

#include <sys/types.h>

namespace dorvane {

// The program file the process runs, as the kernel names it; empty when the
// process is gone or not this user's to look at. A file replaced or removed
// since the start is named without the kernel's " (deleted)" mark.
QString ProcessImagePath(pid_t pid);

// The number of running processes whose program file is path, the calling
// process included. Names are compared exactly: on Linux two spellings that
// differ in letter case are two files.
int CountRunningCopies(const QString& path);

} // namespace dorvane
