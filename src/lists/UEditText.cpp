// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/UEditText.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/UUtf8.h"

namespace qx::lists {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0, len = 0; pos < text.size(); pos += len) {
    const char32_t cp = utf8::Decode(text, pos, len);
    switch (cp) {
      case U'\\': out += "\\\\"; break;
      case U'\n': out += "\\n"; break;
      case U'\t': out += "\\t"; break;
      case U'\r': out += "\\r"; break;
      default:
        if (cp < 0x20 || cp == 0x7F || utf8::IsRawByte(cp)) {
          const auto byte = static_cast<unsigned char>(text[pos]);
          out += "\\x";
          out += kHexDigits[byte >> 4];
          out += kHexDigits[byte & 0x0F];
        } else {
          out += text.substr(pos, len);
        }
    }
  }
  return out;
}

// The text an escaped one stands for, or the first escape that stands for nothing.
struct TUnescaped {
  std::string text;
  std::string_view badEscape;
};

TUnescaped Unescaped(std::string_view escaped) {
  TUnescaped result;
  for (std::size_t pos = 0; pos < escaped.size(); ++pos) {
    if (escaped[pos] != '\\') {
      result.text += escaped[pos];
      continue;
    }
    const std::string_view rest = escaped.substr(pos + 1);
    const char kind = rest.empty() ? '\0' : rest.front();
    if (kind == '\\' || kind == 'n' || kind == 't' || kind == 'r') {
      result.text += kind == 'n' ? '\n' : kind == 't' ? '\t' : kind == 'r' ? '\r' : '\\';
      ++pos;
      continue;
    }
    if (kind == 'x' && rest.size() >= 3) {
      unsigned char byte = 0;
      const char* hex = rest.data() + 1;
      if (std::from_chars(hex, hex + 2, byte, 16).ptr == hex + 2) {
        result.text += static_cast<char>(byte);
        pos += 3;
        continue;
      }
    }
    // What the user wrote after the backslash, as far as it could belong to the escape.
    const std::size_t shownChars = kind == 'x' ? 3 : 1;
    result.badEscape = escaped.substr(pos, 1 + utf8::ByteOffsetOfChar(rest, shownChars));
    return result;
  }
  return result;
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  return digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
}

bool IsIgnored(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#';
}

std::string Quoted(std::string_view text) { return "\"" + Escaped(text) + "\""; }

class TEditReader {
 public:
  explicit TEditReader(std::span<const std::string> oldTexts)
      : m_oldTexts(oldTexts), m_lineOfEntry(oldTexts.size(), 0) {
    m_reading.texts.resize(oldTexts.size());
  }

  void ReadLine(std::size_t lineNumber, std::string_view line) {
    const std::string at = "line " + std::to_string(lineNumber) + ": ";
    const std::size_t digits = line.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos || line[digits] != '\t') {
      return Problem(at + "no entry number and tab at its start");
    }
    const std::string_view number = WithoutLeadingZeros(line.substr(0, digits));
    const std::optional<std::size_t> entry = EntryIndex(number);
    if (!entry) return Problem(at + "there is no entry " + std::string(number));

    std::size_t& entryLine = m_lineOfEntry[*entry];
    if (entryLine != 0) {
      return Problem(Lines(entryLine, lineNumber) + " both give entry " + std::string(number));
    }
    entryLine = lineNumber;

    TUnescaped unescaped = Unescaped(line.substr(digits + 1));
    if (!unescaped.badEscape.empty()) {
      const std::string shown = "\\" + Escaped(unescaped.badEscape.substr(1));
      return Problem(at + shown + " is no escape; write \\\\ for a backslash");
    }
    if (unescaped.text.empty()) return Problem(at + "the name is empty");

    // The map's keys view the texts in place: each entry's text is set only once.
    const std::string& text = m_reading.texts[*entry] = std::move(unescaped.text);
    const auto [first, isNew] = m_lineOfText.try_emplace(text, lineNumber);
    if (!isNew) Problem(Lines(first->second, lineNumber) + " give the same name " + Quoted(text));
  }

  TEditReading Finish() && {
    for (std::size_t entry = 0; entry < m_oldTexts.size(); ++entry) {
      if (m_lineOfEntry[entry] != 0) continue;
      Problem("entry " + std::to_string(entry + 1) + " (" + Quoted(m_oldTexts[entry]) +
              ") has no line: deleting a line renames nothing; put it back to go on");
    }
    return std::move(m_reading);
  }

 private:
  // The entry a line's number stands for; numbers count from 1.
  std::optional<std::size_t> EntryIndex(std::string_view number) const {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || value == 0 || value > m_oldTexts.size()) return std::nullopt;
    return value - 1;
  }

  static std::string Lines(std::size_t first, std::size_t second) {
    return "lines " + std::to_string(first) + " and " + std::to_string(second);
  }

  void Problem(std::string text) { m_reading.problems.push_back(std::move(text)); }

  std::span<const std::string> m_oldTexts;
  TEditReading m_reading;
  std::vector<std::size_t> m_lineOfEntry;  // 0 while no line has given the entry
  std::unordered_map<std::string_view, std::size_t> m_lineOfText;
};

}  // namespace

std::string WriteEditText(std::span<const std::string> texts, std::span<const std::string> problems) {
  std::string out;
  for (const std::string_view problem : problems) {
    // Every line of a problem stays a comment, whatever the problem says.
    for (std::size_t start = 0, end = 0; end != std::string_view::npos; start = end + 1) {
      end = problem.find('\n', start);
      out += "# ";
      out += problem.substr(start, end - start);
      out += '\n';
    }
  }
  if (!problems.empty()) out += "#\n";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    out += std::to_string(i + 1);
    out += '\t';
    out += Escaped(texts[i]);
    out += '\n';
  }
  return out;
}

TEditReading ReadEditText(std::string_view edited, std::span<const std::string> oldTexts) {
  TEditReader reader(oldTexts);
  std::size_t lineNumber = 0;
  for (std::size_t start = 0, end = 0; start < edited.size(); start = end + 1) {
    end = std::min(edited.find('\n', start), edited.size());
    std::string_view line = edited.substr(start, end - start);
    ++lineNumber;
    // An editor that saves CRLF line ends adds the CR; a CR of the name is written as \r.
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!IsIgnored(line)) reader.ReadLine(lineNumber, line);
  }
  return std::move(reader).Finish();
}

}  // namespace qx::lists
