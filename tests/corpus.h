// The documents written by others (QP_CORPUS_DIR), and the one rule for a
// test that needs something the machine may lack: in CI (CI set, as .ci/run
// runs) the lack fails the test, since CI always has it; on a developer's
// machine the test skips and says why. A test is never silently blind in CI.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace qp::test {

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && ci[0] != '\0' && std::string(ci) != "false" && std::string(ci) != "0";
}

// The corpus folder `relative` (e.g. "wordhtml"), or "" for the corpus itself.
inline std::filesystem::path CorpusPath(const std::string& relative = {}) {
  return std::filesystem::path(QP_CORPUS_DIR) / relative;
}

// Why the corpus folder or file `relative` cannot serve: "" when it exists
// (a folder with at least one entry).
inline std::string CorpusLack(const std::string& relative) {
  const std::filesystem::path path = CorpusPath(relative);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return "no corpus at " + path.string();
  if (std::filesystem::is_directory(path, ec) && std::filesystem::is_empty(path, ec)) {
    return "the corpus folder " + path.string() + " is empty";
  }
  return {};
}

}  // namespace qp::test

// Ends the test when `lack` (a reason, "" for none) is not empty: a failure
// in CI, a skip elsewhere.
#define QP_NEED(lack)                                       \
  if (const std::string qpLack = (lack); !qpLack.empty()) { \
    if (::qp::test::InCi()) {                               \
      FAIL() << qpLack << " (CI has it)";                   \
    } else {                                                \
      GTEST_SKIP() << qpLack;                               \
    }                                                       \
  }

// The corpus folder or file `relative` must be there.
#define QP_NEED_CORPUS(relative) QP_NEED(::qp::test::CorpusLack(relative))
