// The drawing helper's confinement, applied once its libraries are loaded
// and fontconfig has read its caches: from then on the process can read
// the system's files and the fonts, answer on the sockets it holds, and
// nothing else. Each layer works alone; whichever the kernel lacks, the
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

// Confines this process for good. Returns what could not be applied (a
// kernel without Landlock, say), one line each; the process is confined by
// the rest all the same.
std::vector<std::string> Confine(const Confinement& c);

}  // namespace qp::draw
