#pragma once

#include <cstdint>
#include <string>

namespace torrenta {

// Marks a SQLite file as a Torrenta project (written by the template).
inline constexpr std::int32_t kProjectApplicationId = 1414680142;  // "TRRN"

// The template a new project is copied from.
std::string TemplatePath(const std::string& appFolder);

// File New: copies the template over `projectPath` (replacing what is there)
// through a temporary file in the same folder and an atomic rename, so a failed
// copy leaves either the old file or nothing, never half a file. A read-only
// file at `projectPath` is not replaced.
// ProjectFileError names the file and the reason on failure.
void NewProject(const std::string& appFolder, const std::string& projectPath);

// File Open: checks that the file is a project (a SQLite database carrying the
// project application id and the six tables); ProjectFileError otherwise.
void OpenProject(const std::string& projectPath);

// Every change goes straight into the project file, so working on a project
// (the canvas, add, solve) needs a file the engine may write: ProjectFileError
// saying the file is read-only otherwise.
void RequireWritableProject(const std::string& projectPath);

// File Close: removes the rows marked deleted from the three element tables, in
// one transaction.
void CloseProject(const std::string& projectPath);

}  // namespace torrenta
