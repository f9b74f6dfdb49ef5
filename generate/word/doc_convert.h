// .doc files: LibreOffice (headless) turns them into .docx in a temporary
// folder of their own; the user's file is copied there first, so that
// nothing (not even LibreOffice's lock file) is written beside it.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "generate/word/notes.h"

namespace qp::word {

// The soffice program on PATH, or empty when LibreOffice is not installed.
std::filesystem::path FindConverter();

// How long LibreOffice may take over one document.
inline constexpr std::chrono::seconds kConverterTimeLimit{120};

// The .docx bytes for a .doc file's bytes. Raises kConverterMissing (with
// a note naming the package to install) when there is no LibreOffice,
// kConverterTimedOut when it ran out of time and was stopped,
// kConverterFailed when it ran and made nothing.
std::string ConvertDocToDocx(const std::string& docBytes, Notes& notes,
                             std::chrono::seconds timeLimit = kConverterTimeLimit);

// A file URL with every byte outside the unreserved set percent-encoded.
std::string FileUrl(const std::filesystem::path& path);

}  // namespace qp::word
