// The drawing helper's confinement, completed once its libraries are
// loaded and fontconfig has read its caches: from then on the process can
// read the system's files and the fonts, answer on the sockets it holds,
// and nothing else. Each layer works alone; whichever the kernel lacks, the
// others still hold.
#pragma once

#include <string>
#include <vector>

namespace qp::draw {

struct Confinement {
  // Folders the helper may read below (the system, fonts, font caches);
  // everything else on the file system is out of reach.
  std::vector<std::string> readable;
  // Caps that a sanitizer build cannot live with (its shadow memory, its
  // error log) are left off.
  bool limitAddressSpace = true;
  bool forbidFileWrites = true;
};

// The folders a helper needs, from the environment it was given (HOME and
// the XDG folders, for the user's own fonts and fontconfig's cache).
Confinement HelperConfinement();

// The file system part (no_new_privs, then Landlock: read-only below
// `c.readable`, nothing elsewhere), for the calling thread and every thread
// it starts later. Landlock cannot reach threads that run already, so this
// comes before the libraries start theirs. Returns why it could not be
// applied, or "".
std::string ConfineFiles(const Confinement& c);

// The rest, before the first request: resource limits, not dumpable, and
// a seccomp filter on every thread of the process. Returns what could not
// be applied (a kernel without seccomp, say), one line each; the process
// is confined by the rest all the same.
std::vector<std::string> Confine(const Confinement& c);

}  // namespace qp::draw
