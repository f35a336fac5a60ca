#pragma once

#include <stdexcept>
#include <string>

namespace torrenta {

// Every failure the core reports carries a message an engineer can act on. The
// kinds let the shells choose a reaction (the command line maps them to exit
// codes) without parsing messages.
class TorrentaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The project file is missing, unreadable, not a project, or the template to
// make one is missing or cannot be copied.
class ProjectFileError : public TorrentaError {
  public:
    using TorrentaError::TorrentaError;
};

// intensity.mdb or one of its tables is missing, damaged or refuses a change.
class IntensityError : public TorrentaError {
  public:
    using TorrentaError::TorrentaError;
};

// Input values that cannot be computed with (a zero slope, a zero velocity ...)
// or that cannot be stored (a reserved table name ...).
class InputError : public TorrentaError {
  public:
    using TorrentaError::TorrentaError;
};

// A file would be replaced that the caller did not ask to replace (a new
// project over an existing file); nothing was written.
class FileExistsError : public InputError {
  public:
    using InputError::InputError;
};

// Any other failure of the database engine while reading or writing a project.
class DatabaseError : public TorrentaError {
  public:
    using TorrentaError::TorrentaError;
};

}  // namespace torrenta
