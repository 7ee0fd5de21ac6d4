// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UProfileFile.h"

#include <cerrno>
#include <utility>

#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "platform/UUnicode.h"
#include "platform/UUtf8.h"

namespace qx {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsQuoted(std::string_view s) { return s.size() >= 2 && IsQuote(s.front()) && s.back() == s.front(); }

std::string_view BeforeLineBreak(std::string_view value) { return value.substr(0, value.find_first_of("\r\n")); }

// The inverse of what reading does to a value, so every value without a line break
// reads back as it was written.
std::string Encoded(std::string_view value) {
  const bool needsQuotes = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
  return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

std::string Decoded(std::string_view stored) {
  stored = Trimmed(stored);
  if (IsQuoted(stored)) stored = stored.substr(1, stored.size() - 2);
  return std::string(stored.substr(0, utf8::ByteOffsetOfChar(stored, kMaxProfileValueChars)));
}

void CheckName(std::string_view name, std::string_view forbidden, std::string_view forbiddenFirst) {
  if (name.empty() || name.find_first_of(forbidden) != std::string_view::npos ||
      forbiddenFirst.find(name.front()) != std::string_view::npos) {
    throw std::invalid_argument("not a profile name: \"" + std::string(name) + "\"");
  }
}

}  // namespace

TProfileWriteError::TProfileWriteError(const std::string& path, int error)
    : std::runtime_error("Unable to write to " + path), m_path(path), m_errno(error) {}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    std::size_t lengthA = 0;
    std::size_t lengthB = 0;
    if (!unicode::EqualIgnoringCase(utf8::Decode(a, i, lengthA), utf8::Decode(b, j, lengthB))) return false;
    i += lengthA;
    j += lengthB;
  }
  return i == a.size() && j == b.size();
}

TProfileFile::TProfileFile(std::string path) : m_path(std::move(path)) {
  std::string content;
  try {
    content = ReadWholeFile(m_path, kMaxProfileFileBytes);
  } catch (const TSystemError& error) {
    if (error.Errno() != ENOENT) {
      m_readError = error.Errno();
      m_readFailure = error.what();
    }
    return;
  }
  for (std::size_t from = 0; from < content.size();) {
    const std::size_t newline = content.find('\n', from);
    std::size_t to = newline == std::string::npos ? content.size() : newline;
    const std::size_t next = newline == std::string::npos ? content.size() : newline + 1;
    // A CR before the LF, or closing the file, belongs to the line end: a line added
    // after the last one must not turn its CR into part of a CR LF and change its value.
    if (to > from && content[to - 1] == '\r' && (newline != std::string::npos || to == content.size())) --to;
    m_lines.push_back(ParseLine(content.substr(from, to - from), content.substr(to, next - to), m_lines.empty()));
    from = next;
  }
  for (const TLine& line : m_lines) {
    if (!line.end.empty() && line.end != "\r") {
      m_lineEnd = line.end;
      break;
    }
  }
}

TProfileFile::TLine TProfileFile::ParseLine(std::string text, std::string end, bool first) {
  TLine line;
  line.text = std::move(text);
  line.end = std::move(end);
  std::string_view rest = line.text;
  if (first && rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  if (rest.empty() || rest.front() == ';') return line;
  if (rest.front() == '[') {
    const std::size_t close = rest.find(']');
    if (close != std::string_view::npos) {
      line.kind = TLineKind::Header;
      line.name = Trimmed(rest.substr(1, close - 1));
    }
    return line;
  }
  const std::size_t equals = rest.find('=');
  if (equals == std::string_view::npos || Trimmed(rest.substr(0, equals)).empty()) return line;
  line.kind = TLineKind::Key;
  line.name = Trimmed(rest.substr(0, equals));
  std::size_t valueFrom = static_cast<std::size_t>(rest.data() - line.text.data()) + equals + 1;
  while (valueFrom < line.text.size() && IsBlank(line.text[valueFrom])) ++valueFrom;
  line.valueFrom = valueFrom;
  return line;
}

std::size_t TProfileFile::FindKey(std::string_view section, std::string_view key) const {
  section = Trimmed(section);
  key = Trimmed(key);
  bool inSection = false;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const TLine& line = m_lines[i];
    if (line.kind == TLineKind::Header) {
      inSection = ProfileNamesEqual(line.name, section);
    } else if (inSection && line.kind == TLineKind::Key && ProfileNamesEqual(line.name, key)) {
      return i;
    }
  }
  return std::string::npos;
}

std::size_t TProfileFile::InsertionPointOf(std::string_view section) const {
  std::size_t at = std::string::npos;
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const TLine& line = m_lines[i];
    if (line.kind == TLineKind::Header) {
      if (at != std::string::npos) break;
      if (ProfileNamesEqual(line.name, section)) at = i + 1;
    } else if (at != std::string::npos && line.kind == TLineKind::Key) {
      // After the section's last key, so blank lines and comments that lead into
      // the next section stay in front of it.
      at = i + 1;
    }
  }
  return at;
}

std::optional<std::string> TProfileFile::Read(std::string_view section, std::string_view key) const {
  const std::size_t at = FindKey(section, key);
  if (at == std::string::npos) return std::nullopt;
  return Decoded(std::string_view(m_lines[at].text).substr(m_lines[at].valueFrom));
}

void TProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  section = Trimmed(section);
  key = Trimmed(key);
  CheckName(section, "]\r\n", "");
  CheckName(key, "=\r\n", ";[");
  value = BeforeLineBreak(value);

  const std::size_t at = FindKey(section, key);
  if (at != std::string::npos) {
    TLine& line = m_lines[at];
    if (Decoded(std::string_view(line.text).substr(line.valueFrom)) == value) return;
    line.text = line.text.substr(0, line.valueFrom) + Encoded(value);
    m_modified = true;
    return;
  }
  const std::string keyLine = std::string(key) + "=" + Encoded(value);
  if (const std::size_t insertAt = InsertionPointOf(section); insertAt != std::string::npos) {
    Insert(insertAt, keyLine);
    return;
  }
  if (!m_lines.empty() && !Trimmed(m_lines.back().text).empty()) Insert(m_lines.size(), "");
  Insert(m_lines.size(), "[" + std::string(section) + "]");
  Insert(m_lines.size(), keyLine);
}

void TProfileFile::Insert(std::size_t at, std::string text) {
  // A last line ended by nothing or by a lone CR gets a whole line end before the new one.
  if (at > 0 && (m_lines[at - 1].end.empty() || m_lines[at - 1].end == "\r")) m_lines[at - 1].end = m_lineEnd;
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), ParseLine(std::move(text), m_lineEnd, false));
  m_modified = true;
}

std::string TProfileFile::Compose() const {
  std::string content;
  for (const TLine& line : m_lines) content += line.text + line.end;
  return content;
}

void TProfileFile::Flush() {
  if (!m_modified) return;
  // Replacing a file that could not be read would lose whatever it holds.
  if (m_readError != 0) throw TProfileWriteError(m_path, m_readError);
  try {
    const std::string dir = DirectoryOf(m_path);
    if (!dir.empty() && !PathExists(dir)) EnsureDirectory(dir);
    ReplaceFileAtomically(m_path, Compose());
  } catch (const TSystemError& error) {
    throw TProfileWriteError(m_path, error.Errno());
  }
  m_modified = false;
}

}  // namespace qx
