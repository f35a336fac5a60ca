#pragma once

#include <string>

namespace torrenta {

// What a command changed in a file ("added Basin3 to \"site.rmt\""), said on
// the standard error when the standard output then fails: the exit is still
// a failure, but the change is there, and running the command again would
// make it twice. One note per run, kept for the running thread.
void NoteChange(std::string what);
std::string TakeChangeNote();

}  // namespace torrenta
