#include "generate/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

namespace fs = std::filesystem;

std::optional<std::string> AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::string(value);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// $HOME, else the account's home from the password database; empty when
// neither is known.
std::string HomeFolder() {
  if (auto home = AbsoluteFromEnvironment("HOME")) return WithoutTrailingSlash(*home);
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && found->pw_dir[0] == '/') {
    return WithoutTrailingSlash(found->pw_dir);
  }
  return {};
}

std::string ConfigHome() {
  if (auto config = AbsoluteFromEnvironment("XDG_CONFIG_HOME"))
    return WithoutTrailingSlash(*config);
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.config";
}

// One value of user-dirs.dirs: "$HOME/Desktop" or "/absolute/path", in
// double quotes with backslash escapes, as the file's shell syntax has it.
std::optional<std::string> UserDirValue(std::string_view raw, const std::string& home) {
  std::string value;
  if (!raw.empty() && raw.front() == '"') {
    for (std::size_t i = 1; i < raw.size() && raw[i] != '"'; ++i) {
      if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
      value += raw[i];
    }
  } else {
    value = std::string(raw.substr(0, raw.find_first_of(" \t#")));
  }
  if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
    if (home.empty()) return std::nullopt;
    value = home + value.substr(5);
  }
  if (value.empty() || value.front() != '/') return std::nullopt;
  return WithoutTrailingSlash(value);
}

std::optional<std::string> DesktopFromUserDirs(const std::string& configHome,
                                               const std::string& home) {
  if (configHome.empty()) return std::nullopt;
  std::ifstream in(configHome + "/user-dirs.dirs");
  std::string line;
  std::optional<std::string> found;
  while (std::getline(in, line)) {
    std::string_view t(line);
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
    if (t.substr(0, kKey.size()) != kKey) continue;
    // The file is sourced by a shell, so the last assignment wins.
    if (auto value = UserDirValue(t.substr(kKey.size()), home)) found = value;
  }
  return found;
}

std::string DesktopFolder() {
  const std::string home = HomeFolder();
  if (auto desktop = DesktopFromUserDirs(ConfigHome(), home)) return *desktop;
  if (auto desktop = AbsoluteFromEnvironment("XDG_DESKTOP_DIR"))
    return WithoutTrailingSlash(*desktop);
  return home.empty() ? std::string() : home + "/Desktop";
}

}  // namespace

Text Get_Spe_Fdr(int folderNumber) {
  Trap trap("Mod_ApiDf -> Get_Spe_Fdr");
  try {
    trap.Step(1);
    switch (folderNumber) {
      case kFolderAppData:
        return Utf8ToText(ConfigHome());
      case kFolderDesktop:
        return Utf8ToText(DesktopFolder());
      default:
        return Text();
    }
  } catch (...) {
    trap.Fail();
  }
}

bool Srv_Chk_Foldr(TextView path) {
  Trap trap("Mod_Sub -> Srv_Chk_Foldr");
  try {
    trap.Step(2);
    if (path.empty()) return false;
    trap.Step(3);
    std::error_code ec;
    return fs::is_directory(ToPath(path), ec);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
