// The temporary files of the runs in progress, removed when the process is interrupted.
//
// A run writes its result beside the destination under a temporary name and renames it at the
// end; an interrupted process runs no destructor, so without this a signal would leave the
// temporary file (tens of megabytes for a large drawing) beside the destination. The list is
// process-wide because a signal is: a handler can reach nothing else.
#pragma once

#include <string>

// Adds a path to the list, or removes it once the file was renamed or removed. A path that does
// not fit the list's fixed room is not listed (the run itself still removes it when it ends).
void listTemporaryFile(const std::string& path);
void unlistTemporaryFile(const std::string& path);

// SIGINT, SIGTERM and SIGHUP remove every listed file, then end the process by the same signal
// (a shell reports 130, 143 and 129).
void removeTemporaryFilesOnSignals();

// The handler itself, for a program that routes the signals through its own handler first.
extern "C" void removeTemporaryFilesAndDie(int signal);
