// Environment variables for the shell's tests, put back as they were when
// the test ends; scratch folders and file helpers come from the generation
// tests.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

#include "tests/generate/temp_folder.h"

namespace qp::app::testing {

using gen::testing::TempFolder;
inline std::string ReadFile(const std::filesystem::path& file) {
  return gen::testing::ReadBytes(file);
}
inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  gen::testing::WriteBytes(file, bytes);
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace qp::app::testing
