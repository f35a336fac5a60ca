#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace torrenta {

// Marks a SQLite file as a Torrenta project (written by the template).
inline constexpr std::int32_t kProjectApplicationId = 1414680142;  // "TRRN"

// The template a new project is copied from.
std::string TemplatePath(const std::string& appFolder);

// What File New does with a file already at the project's path.
enum class ExistingFile { Replace, Keep };

// File New: copies the template to `projectPath` through a temporary file in
// the same folder and an atomic rename, so a failed copy leaves either the old
// file or nothing, never half a file. A read-only file at `projectPath` is
// never replaced; any other is replaced, or with ExistingFile::Keep refused
// with FileExistsError (also when it appears while the copy is made).
// ProjectFileError names the file and the reason on other failures.
void NewProject(const std::string& appFolder, const std::string& projectPath,
                ExistingFile existing = ExistingFile::Replace);

// File New in the desktop program, where the new project is set up before it
// takes the chosen name: a copy of the template as a hidden draft beside
// `projectPath` (the same checks as NewProject; the file there stays as it
// is). Returns the draft's path.
std::string NewProjectDraft(const std::string& appFolder, const std::string& projectPath);

// Puts the draft in place of `projectPath` in one atomic rename, replacing the
// file there; ProjectFileError when it cannot, the draft then stays.
void CommitProjectDraft(const std::string& draftPath, const std::string& projectPath);

// Removes a draft that was never committed; a draft already gone is no error.
void DiscardProjectDraft(const std::string& draftPath) noexcept;

// What File New would replace when the chosen file is already a project: its
// project name ("" when it has none) and its live elements. Read without
// writing anything; nothing when the file is not a project.
struct ExistingProject {
    std::string projectName;
    int elements = 0;
};
std::optional<ExistingProject> DescribeExistingProject(const std::string& path);

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
