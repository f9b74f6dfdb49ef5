#include "text/failure.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "text/codec.h"

namespace qp {

const char16_t kStructureDescription[] = u"html文の構成を解析できませんでした。";

RuntimeError::RuntimeError(std::int32_t code, Text description)
    : code_(code), description_(std::move(description)) {
  what_ = "error " + std::to_string(code_) + ": " + TextToUtf8(description_);
}

Failure::Failure(std::string location, int step, std::int32_t code, Text description)
    : location_(std::move(location)), step_(step), code_(code),
      description_(std::move(description)) {
  what_ = location_ + " Line=" + std::to_string(step_) + " Code=" + std::to_string(code_);
  if (!description_.empty()) what_ += " " + TextToUtf8(description_);
}

void Raise(std::int32_t code, Text description) { throw RuntimeError(code, std::move(description)); }

void RaiseStructure() { Raise(err::kStructure, kStructureDescription); }

namespace {

std::int32_t FromErrno(int e) {
  switch (e) {
    case ENOENT: return err::kFileNotFound;
    case ENOTDIR: return err::kPathNotFound;
    case EEXIST: case ENOTEMPTY: return err::kFileAlreadyExists;
    case EACCES: case EPERM: case EROFS: return err::kPermissionDenied;
    case ENOMEM: return err::kOutOfMemory;
    default: return err::kPathFileAccess;
  }
}

}  // namespace

std::int32_t ErrorNumberOf(const std::exception_ptr& e, Text* description) {
  try {
    std::rethrow_exception(e);
  } catch (const RuntimeError& r) {
    if (description) *description = r.description();
    return r.code();
  } catch (const Failure& f) {
    if (description) *description = f.description();
    return f.code();
  } catch (const std::bad_alloc&) {
    return err::kOutOfMemory;
  } catch (const std::filesystem::filesystem_error& f) {
    if (description) *description = Utf8ToText(f.what());
    return FromErrno(f.code().value());
  } catch (const std::system_error& s) {
    if (description) *description = Utf8ToText(s.what());
    return s.code().category() == std::generic_category() ||
                   s.code().category() == std::system_category()
               ? FromErrno(s.code().value())
               : err::kPathFileAccess;
  } catch (const std::out_of_range& o) {
    if (description) *description = Utf8ToText(o.what());
    return err::kSubscriptOutOfRange;
  } catch (const std::length_error& l) {
    if (description) *description = Utf8ToText(l.what());
    return err::kOutOfMemory;
  } catch (const std::exception& x) {
    if (description) *description = Utf8ToText(x.what());
    return err::kInternal;
  } catch (...) {
    return err::kInternal;
  }
}

void Trap::Fail() const {
  const std::exception_ptr e = std::current_exception();
  try {
    std::rethrow_exception(e);
  } catch (const Failure&) {
    throw;
  } catch (...) {
  }
  Text description;
  const std::int32_t code = ErrorNumberOf(e, &description);
  throw Failure(location_, step_, code, std::move(description));
}

}  // namespace qp
