// File-system operations of the generation run: wildcard deletes and
// listings inside one folder, moving a file without replacing, reading a file
// whole and replacing a file in one step. A name pattern is a literal prefix
// (a document's stem, taken as it is even when it holds "*" or "?") followed
// by wildcards: "*" any run of characters, "?" one character; names match
// case-sensitively, and the wildcards "*.*" alone match every name, dotted or
// not. Nothing here follows a symbolic link: a link is removed or skipped as a
// link, never as its target.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "text/ustring.h"

namespace qp::gen {

namespace fs = std::filesystem;

struct NamePattern {
  Text prefix;     // literal
  Text wildcards;  // "*" and "?" are wildcards
};

bool MatchesPattern(TextView name, const NamePattern& pattern);

enum class EntryKind {
  kRegularFile,  // regular files only
  kFileOrLink,   // regular files and links of any kind (removed as links)
  kFolder,       // real folders, never a link to one
};

// Entries directly in `folder` whose names match `pattern`, sorted by name so
// that every run visits them in the same order. A missing folder yields none.
std::vector<fs::path> ListMatching(const fs::path& folder, const NamePattern& pattern,
                                   EntryKind kind);
bool AnyFileMatches(const fs::path& folder, const NamePattern& pattern);

// "DeleteFile pattern": removes the matching files (and links) of `folder`;
// "DeleteFolder pattern": removes the matching folders with their contents.
// Both raise kFileNotFound when nothing matches and the file-system error of
// the first entry that cannot be removed.
void DeleteFiles(const fs::path& folder, const NamePattern& pattern);
// Same, sparing Word documents.
void DeleteFilesExceptDocuments(const fs::path& folder, const NamePattern& pattern);
void DeleteFolders(const fs::path& folder, const NamePattern& pattern);

// True for the name of a Word document (".doc" or ".docx", any letter case).
// The clearing of earlier output never deletes one: a document named
// "report.htm.docx" matches the page pattern "report.htm*".
bool IsWordDocumentName(TextView name);

// Creates `folder` (one level) when it does not exist; raises when it cannot.
void CreateFolder(const fs::path& folder);

// Moves `from` to `to`; raises kFileAlreadyExists when `to` exists. Works
// across file systems: the copy is written as ".NAME.XXXXXX" beside `to`
// and renamed into place when whole, then the source is removed.
void MoveFileNoReplace(const fs::path& from, const fs::path& to);

// The whole file; raises kFileNotFound or kPathFileAccess.
std::string ReadWholeFile(const fs::path& path);

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that `path` holds either its old content or the whole new one.
void ReplaceFileContent(const fs::path& path, std::string_view bytes);

// Removes what an earlier run killed between writing and renaming left
// beside `path`: files named as ReplaceFileContent names its temporary files
// for `path` (".NAME.XXXXXX", the X filled in). The run lock makes sure no
// other run is writing them. Failures are ignored.
void RemoveStaleTemporaries(const fs::path& path);

// Raises the run's error number for a file-system error.
[[noreturn]] void RaiseFileError(const std::error_code& ec, const fs::path& path);

}  // namespace qp::gen
