// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UShellLink.h"

#include <unistd.h>

#include <cerrno>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

// A quoted Exec argument: inside double quotes '"', '`', '$' and '\' take a backslash,
// and '%' is doubled so that no file manager reads it as a field code.
std::string QuoteExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + '"';
}

// The escapes of a string value, applied after the quoting: a backslash from the
// quoting becomes two, and a line break cannot end the value early.
std::string EscapeValue(const std::string& value) {
  std::string escaped;
  for (const char c : value) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string SendToFolder() {
  const std::string folder = XdgBaseDir("XDG_DATA_HOME", ".local/share/") + "applications/";
  try {
    EnsureDirectory(folder);
  } catch (const TSystemError&) {
    // Writing the entry fails the same way and says where.
  }
  return folder;
}

std::string DesktopEntry(const std::string& target, const std::string& description) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         EscapeValue(description) +
         "\n"
         "Comment=Rename many files at once, with a preview and undo\n"
         "Exec=" +
         EscapeValue(QuoteExecArgument(target)) +
         " %F\n"
         "Icon=quillex\n"
         "Terminal=false\n";
}

int CreateShortcut(const std::string& target, const std::string& linkFile, const std::string& description) {
  try {
    ReplaceFileAtomically(linkFile, DesktopEntry(target, description));
    return 0;
  } catch (const TSystemError& error) {
    return error.Errno() != 0 ? error.Errno() : EIO;
  }
}

}  // namespace qx
