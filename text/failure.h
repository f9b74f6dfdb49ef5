// Failures. A procedure arms a Trap on entry, numbers its steps, and converts
// whatever escapes its body into a located Failure in its single failure exit:
//
//   Trap trap("Mod_HtmlRev -> Del_Lines");
//   try {
//     trap.Step(1);
//     ...
//   } catch (...) {
//     trap.Fail();
//   }
//
// A located Failure passes through every outer trap unchanged and reaches the
// shell, which shows the failure report. The core never shows anything.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "text/ustring.h"

namespace qp {

// Error numbers. The program keeps the numbers of the runtime it was designed
// on, so that a report reads the same: each kind of failure has one number.
namespace err {
constexpr std::int32_t kInvalidArgument = 5;       // invalid procedure call or argument
constexpr std::int32_t kOverflow = 6;              // a number outside its type
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kSubscriptOutOfRange = 9;   // a position outside a text or list
constexpr std::int32_t kDivisionByZero = 11;
constexpr std::int32_t kTypeMismatch = 13;         // a text that does not read as a number
constexpr std::int32_t kInternal = 51;             // internal error (any other exception)
constexpr std::int32_t kFileNotFound = 53;
constexpr std::int32_t kFileAlreadyExists = 58;
constexpr std::int32_t kPermissionDenied = 70;
constexpr std::int32_t kPathFileAccess = 75;       // any other file-system failure
constexpr std::int32_t kPathNotFound = 76;
constexpr std::int32_t kCannotCreateObject = 429;  // the Word engine cannot be reached
constexpr std::int32_t kServerUnavailable = 462;   // the Word engine has gone away
constexpr std::int32_t kStructure = 7701;          // the HTML text is not in the expected form
}  // namespace err

// The description that goes with err::kStructure.
extern const char16_t kStructureDescription[];

// A raised runtime error that no trap has located yet.
class RuntimeError : public std::exception {
 public:
  RuntimeError(std::int32_t code, Text description);
  std::int32_t code() const { return code_; }
  const Text& description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t code_;
  Text description_;
  std::string what_;
};

// A failure located by the trap of the procedure it happened in.
class Failure : public std::exception {
 public:
  Failure(std::string location, int step, std::int32_t code, Text description);
  const std::string& location() const { return location_; }  // "Mod_Main -> Main"
  int step() const { return step_; }                           // 0 = none
  std::int32_t code() const { return code_; }
  const Text& description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string location_;
  int step_;
  std::int32_t code_;
  Text description_;
  std::string what_;
};

[[noreturn]] void Raise(std::int32_t code, Text description = {});
[[noreturn]] void RaiseStructure();  // 7701 with its description

// Error number and description of an exception that is not a located Failure.
std::int32_t ErrorNumberOf(const std::exception_ptr& e, Text* description = nullptr);

class Trap {
 public:
  explicit Trap(const char* location) : location_(location) {}
  void Step(int n) { step_ = n; }
  int step() const { return step_; }
  const char* location() const { return location_; }
  // Call only inside a catch block: rethrows a located Failure unchanged,
  // otherwise throws a Failure with this trap's location and step.
  [[noreturn]] void Fail() const;

 private:
  const char* location_;
  int step_ = 0;
};

// Runs `body` as a stretch that ignores failures: a failing step is skipped
// and its error number returned (0 when it ran through). A located Failure is
// not ignored, since the procedure that located it has already ended the run.
template <class F>
std::int32_t IgnoreFailures(F&& body) {
  try {
    body();
    return 0;
  } catch (const Failure&) {
    throw;
  } catch (...) {
    return ErrorNumberOf(std::current_exception());
  }
}

}  // namespace qp
