// SPDX-License-Identifier: GPL-3.0-or-later
// An ini ("profile") file held in memory: "[section]" header lines and key=value lines.
// Writing a key touches that key's line alone and keeps every other byte of the file.
// It knows nothing of types or defaults; the settings store builds those on top.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Raised when the file cannot be written: the text is exactly "Unable to write to " + path.
// The file on disk is then as it was before.
class TProfileWriteError : public std::runtime_error {
 public:
  TProfileWriteError(const std::string& path, int error);
  const std::string& Path() const { return m_path; }
  // The system's reason (errno).
  int Errno() const { return m_errno; }

 private:
  std::string m_path;
  int m_errno;
};

// True when two section or key names are the same, letter case ignored.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

// A settings file is a few KB; a larger one is not read, so a stray huge file costs
// neither time nor memory.
inline constexpr std::size_t kMaxProfileFileBytes = 1 << 20;

// Values longer than this many characters are cut when read.
inline constexpr std::size_t kMaxProfileValueChars = 2047;

// Reading:
//  - a header is "[name]" (blanks around the line and the name ignored); a key line is
//    "name=value" with blanks around the name and the value ignored; the first "=" ends
//    the name, so values may hold "=" and ";"; a line whose first non-blank character is
//    ";" is a comment; other lines are kept but mean nothing;
//  - sections and keys match ignoring letter case; a section may appear more than once,
//    and the first matching key line of all its occurrences counts;
//  - a value wrapped in one pair of matching quotes ('"' or "'") loses them;
//  - LF and CR LF line ends are both read; a UTF-8 byte-order mark is skipped.
// Writing keeps the line ends of the file (LF for a new file), rewrites only the value part
// of an existing key line, adds a missing key after the last key of its section and a
// missing section at the end of the file.
class TProfileFile {
 public:
  // Reads the file at `path`. A missing file is an empty profile. A file that exists but
  // cannot be read (no regular file, larger than kMaxProfileFileBytes, no permission)
  // reads as empty too, and Flush then refuses to replace it.
  explicit TProfileFile(std::string path);

  const std::string& Path() const { return m_path; }
  // Why the existing file could not be read; empty when it was read or is absent.
  const std::string& ReadFailure() const { return m_readFailure; }

  // The value of `key` in `section`, cut to kMaxProfileValueChars characters; nullopt
  // when the section or the key is absent. A key with nothing after "=" gives "".
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets `key` of `section` in memory; Flush writes it. A value that reads back the same
  // leaves its line untouched. A value with leading or trailing blanks, or one that would
  // lose its quotes, is written in double quotes so it reads back unchanged. A line break
  // cannot be stored in this format: the value is written up to its first CR or LF, so it
  // can never add lines to the file. Throws std::invalid_argument for a name that the
  // format cannot hold (empty; a section with "]"; a key with "=" or starting with ";"
  // or "["; either with a line break).
  void Write(std::string_view section, std::string_view key, std::string_view value);

  bool IsModified() const { return m_modified; }

  // When modified, replaces the file atomically with the profile in memory, creating its
  // folder when missing. Throws TProfileWriteError; the file is then as it was.
  void Flush();

 private:
  enum class TLineKind { Other, Header, Key };
  struct TLine {
    std::string text;  // without the line end
    std::string end;   // "\n", "\r\n", or "" for a last line without one
    TLineKind kind = TLineKind::Other;
    std::string name;           // the trimmed section or key name
    std::size_t valueFrom = 0;  // key lines: where the value starts in `text`
  };

  static TLine ParseLine(std::string text, std::string end, bool first);
  // The line of `key` in the first matching occurrence of `section`, or npos.
  std::size_t FindKey(std::string_view section, std::string_view key) const;
  // Where a new key of `section` goes, or npos when the section is absent.
  std::size_t InsertionPointOf(std::string_view section) const;
  void Insert(std::size_t at, std::string text);
  std::string Compose() const;

  std::string m_path;
  std::vector<TLine> m_lines;
  std::string m_lineEnd = "\n";
  int m_readError = 0;
  std::string m_readFailure;
  bool m_modified = false;
};

}  // namespace qx
