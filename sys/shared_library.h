// A shared library opened at run time, for what only some runs need: the
// program starts without loading it, and a missing library is an answer
// (the feature is not there) rather than a failure to start.
#pragma once

namespace qp {

class SharedLibrary {
 public:
  // Opens `soname` (e.g. "libtiff.so.6"); Loaded() tells whether it was found.
  explicit SharedLibrary(const char* soname);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  // The function `symbol` of type `Function`, or null when the library or
  // the symbol is missing. Valid while this object lives.
  template <typename Function>
  Function* Find(const char* symbol) const {
    return reinterpret_cast<Function*>(FindSymbol(symbol));
  }

 private:
  void* FindSymbol(const char* symbol) const;
  void* handle_;
};

}  // namespace qp
