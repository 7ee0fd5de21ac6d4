// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UEditor.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/UFileDescriptor.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"

namespace qx {

namespace {

// Removes the file when it goes, whatever happened meanwhile.
class TEditFile {
 public:
  explicit TEditFile(const std::string& text) {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/quillex-edit-XXXXXX.txt";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkstemps makes the file for this user alone (0600).
    TFileDescriptor fd(mkstemps(name.data(), 4));
    if (!fd.IsOpen()) throw TSystemError("Cannot write", pattern, errno);
    m_path = name.data();
    WriteAll(fd.Get(), text, m_path);
  }
  ~TEditFile() { unlink(m_path.c_str()); }
  TEditFile(const TEditFile&) = delete;
  TEditFile& operator=(const TEditFile&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// The editor's exit status, or why it has none.
std::optional<int> RunEditor(const std::string& editor, const std::string& file, std::string& why) {
  // The editor is a command line of the user's; the file goes as its last word, quoted
  // by the shell itself.
  const std::string command = editor + " \"$1\"";
  const pid_t child = fork();
  if (child < 0) {
    why = "it could not be started: " + ErrorText(errno);
    return std::nullopt;
  }
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), "sh", file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      why = ErrorText(errno);
      return std::nullopt;
    }
  }
  if (WIFSIGNALED(status)) {
    why = "it was ended by signal " + std::to_string(WTERMSIG(status));
    return std::nullopt;
  }
  return WEXITSTATUS(status);
}

}  // namespace

std::string ChosenEditor() {
  for (const char* name : {"VISUAL", "EDITOR"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return "editor";
}

std::optional<std::string> EditInEditor(const std::string& editor, const std::string& text, std::string& why) {
  const TEditFile file(text);
  const std::optional<int> status = RunEditor(editor, file.Path(), why);
  if (!status) return std::nullopt;
  if (*status != 0) {
    why = *status == 127 ? "the shell could not find it" : "it ended with status " + std::to_string(*status);
    return std::nullopt;
  }
  return ReadToEnd(file.Path());
}

}  // namespace qx
