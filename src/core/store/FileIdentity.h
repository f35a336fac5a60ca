#pragma once

#include <filesystem>
#include <string>

namespace torrenta {

// Two names of one file: the same inode when both exist, otherwise the same
// place once links and "." or ".." are resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A regular file that starts as every SQLite 3 database does. Only a regular
// file is opened: reading a FIFO would wait for a writer.
bool IsSqliteDatabase(const std::filesystem::path& file);

// What `file` is to the program when it must never be written over as a
// project or a report: "the intensity database of the application folder",
// "the project template of the application folder", or "" for neither.
std::string ApplicationDatabaseRole(const std::filesystem::path& file,
                                    const std::string& appFolder);

// An SQLite database holding no project information: an intensity database
// copied elsewhere, another program's data. Opened read-only; one that cannot
// be read counts as not a project, so it is never replaced on a guess.
bool IsSqliteButNotProject(const std::filesystem::path& file);

}  // namespace torrenta
