// The engine's run lock: an advisory lock on a file in the settings folder,
// held by the engine for its lifetime, so that a second run of the program
// can tell that an engine is already at work.
#pragma once

#include <filesystem>

namespace qp::word {

class RunLock {
 public:
  // Takes the lock; raises 429 when another engine holds it or the lock
  // file cannot be opened.
  explicit RunLock(const std::filesystem::path& settingsFolder);
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  void Release();

  // True when another engine (in any process) holds the lock in the folder.
  static bool HeldElsewhere(const std::filesystem::path& settingsFolder);

 private:
  int fd_ = -1;
};

std::filesystem::path LockFilePath(const std::filesystem::path& settingsFolder);

}  // namespace qp::word
