// .doc files: LibreOffice (headless) turns them into .docx in a temporary
// folder of their own, in a sandbox that sees nothing else of the user's;
// the user's file is copied there first, so that nothing (not even
// LibreOffice's lock file) is written beside it.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "generate/word/notes.h"

namespace qp::word {

// The soffice program on PATH, or empty when LibreOffice is not installed.
std::filesystem::path FindConverter();

// LibreOffice runs under bubblewrap: a read-only system, only its temporary
// folder writable, no network, killed with the run. Where bwrap is missing
// or cannot make a sandbox, .doc files are refused with a note saying why,
// unless this variable is "1": then LibreOffice runs there as the user,
// unconfined. Where a sandbox can be made, it is always used.
inline constexpr char kNoSandboxVariable[] = "QUILLPAGE_DOC_WITHOUT_SANDBOX";

// Removes the temporary folders of conversions that a killed run left:
// this user's "quillpage-doc-*" folders, unchanged for three minutes, that
// no living run holds.
void RemoveStaleConversionFolders();

// How long LibreOffice may take over one document.
inline constexpr std::chrono::seconds kConverterTimeLimit{120};

// The .docx bytes for a .doc file's bytes. Raises kConverterMissing (with
// a note naming the package to install) when there is no LibreOffice,
// kConverterUnconfined when no sandbox can be made for it,
// kConverterTimedOut when it ran out of time and was stopped,
// kConverterFailed when it ran and made nothing.
std::string ConvertDocToDocx(const std::string& docBytes, Notes& notes,
                             std::chrono::seconds timeLimit = kConverterTimeLimit);

// A file URL with every byte outside the unreserved set percent-encoded.
std::string FileUrl(const std::filesystem::path& path);

}  // namespace qp::word
