// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UAppPaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/UFiles.h"
#include "platform/USysCalls.h"
#include "platform/USystemError.h"

namespace qx {

std::string XdgBaseDir(const char* variable, const char* belowHome) {
  if (const char* xdg = std::getenv(variable); xdg && *xdg == '/') return WithTrailingSlash(xdg);
  const char* home = std::getenv("HOME");
  return WithTrailingSlash(home && *home ? home : "/tmp") + belowHome;
}

std::string WithTrailingSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string ProgramFile() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return path;
}

std::string ProgramDir() {
  const std::string file = ProgramFile();
  return file.empty() ? "./" : file.substr(0, file.rfind('/') + 1);
}

std::string SettingsDir() { return SettingsDirFor(ProgramDir()); }

std::string SettingsDirFor(const std::string& programDir) {
  // Only a settings file the user put there makes a folder portable: settings written
  // beside a build tree or an unpacked archive would go with its next clean-up.
  if (PathExists(programDir + kSettingsFileName)) return programDir;
  return XdgBaseDir("XDG_CONFIG_HOME", ".config/") + "quillex/";
}

void EnsureDirectory(const std::string& dir) {
  std::string path;
  for (std::size_t pos = 0; pos < dir.size();) {
    const std::size_t slash = dir.find('/', pos + 1);
    path = dir.substr(0, slash == std::string::npos ? dir.size() : slash);
    pos = slash == std::string::npos ? dir.size() : slash;
    if (path.empty() || path == "/") continue;
    if (sys::Sys().MkdirAt(AT_FDCWD, path.c_str(), 0700) != 0 && errno != EEXIST) {
      throw TSystemError("Cannot create folder", path, errno);
    }
  }
}

}  // namespace qx
