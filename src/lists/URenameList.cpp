// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/URenameList.h"

#include <optional>

#include "platform/UValueText.h"

namespace qx::lists {

namespace {

// Spreadsheets that save "UTF-8 CSV" start the file with one.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char SeparatorOf(TListFormat format) { return format == TListFormat::csv ? ',' : '\t'; }

struct TRecord {
  std::size_t line = 0;
  std::vector<std::string> fields;
  std::string problem;  // why the record could not be read to its end
};

// The records of a text one after another. A record that cannot be read ends at the end
// of its line, so that the records after it are read as they were meant.
class TRecordReader {
 public:
  TRecordReader(std::string_view text, char separator) : m_text(text), m_separator(separator) {}

  // Passes over empty lines; false when no record is left.
  bool SkipToRecord() {
    while (m_pos < m_text.size() && AtLineEnd()) SkipLineEnd();
    return m_pos < m_text.size();
  }

  // The record at the cursor, which SkipToRecord has found.
  TRecord Next() {
    TRecord record{m_line, {}, {}};
    for (;;) {
      if (!AtQuote()) {
        record.fields.push_back(UnquotedField());
      } else if (std::optional<std::string> field = QuotedField()) {
        record.fields.push_back(std::move(*field));
        if (!AtLineEnd() && m_text[m_pos] != m_separator) {
          record.problem = "text follows a closing quote; a quote inside a quoted field is written twice";
          SkipLine();
          return record;
        }
      } else {
        record.problem = "a quoted field is never closed";
        return record;
      }
      if (AtLineEnd()) break;
      ++m_pos;  // the separator
    }
    SkipLineEnd();
    return record;
  }

 private:
  bool AtQuote() const { return m_pos < m_text.size() && m_text[m_pos] == '"'; }

  // At LF, CRLF or the text's end; a CR that ends the text is a CRLF cut short.
  bool AtLineEnd() const {
    if (m_pos == m_text.size() || m_text[m_pos] == '\n') return true;
    return m_text[m_pos] == '\r' && (m_pos + 1 == m_text.size() || m_text[m_pos + 1] == '\n');
  }

  void SkipLineEnd() {
    if (m_pos < m_text.size() && m_text[m_pos] == '\r') ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == '\n') ++m_pos, ++m_line;
  }

  void SkipLine() {
    const std::size_t end = m_text.find('\n', m_pos);
    m_pos = end == std::string_view::npos ? m_text.size() : end;
    SkipLineEnd();
  }

  std::string UnquotedField() {
    const std::size_t start = m_pos;
    while (!AtLineEnd() && m_text[m_pos] != m_separator) ++m_pos;
    return std::string(m_text.substr(start, m_pos - start));
  }

  // The field from the opening quote at the cursor to its closing one; nothing when the
  // text ends first.
  std::optional<std::string> QuotedField() {
    std::string field;
    for (++m_pos; m_pos < m_text.size(); ++m_pos) {
      const char c = m_text[m_pos];
      if (c == '"') {
        if (m_pos + 1 == m_text.size() || m_text[m_pos + 1] != '"') break;
        ++m_pos;  // two quotes stand for one
      }
      if (c == '\n') ++m_line;
      field += c;
    }
    if (m_pos == m_text.size()) return std::nullopt;
    ++m_pos;  // the closing quote
    return field;
  }

  std::string_view m_text;
  char m_separator;
  std::size_t m_pos = 0;
  std::size_t m_line = 1;
};

bool IsHeader(const TRecord& record) {
  return record.problem.empty() && record.fields.size() == 2 && EqualIgnoringAsciiCase(record.fields[0], "old") &&
         EqualIgnoringAsciiCase(record.fields[1], "new");
}

// Why a record is no rename; empty when it is one.
std::string ProblemOf(const TRecord& record) {
  if (!record.problem.empty()) return record.problem;
  const std::size_t count = record.fields.size();
  if (count != 2) {
    return std::to_string(count) + (count == 1 ? " field" : " fields") + "; a line holds the old path and the new name";
  }
  if (record.fields[0].empty()) return "the old path is empty";
  if (record.fields[1].empty()) return "the new name is empty";
  return {};
}

void AppendField(std::string& out, std::string_view field, char separator) {
  const char needQuotes[] = {separator, '"', '\r', '\n'};
  if (field.find_first_of(std::string_view(needQuotes, sizeof needQuotes)) == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

TListFormat ListFormatOf(std::string_view fileName, std::string_view text) {
  const std::size_t dot = fileName.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
  if (EqualIgnoringAsciiCase(extension, ".csv")) return TListFormat::csv;
  if (EqualIgnoringAsciiCase(extension, ".tsv") || EqualIgnoringAsciiCase(extension, ".tab")) return TListFormat::tsv;
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  return firstLine.find('\t') == std::string_view::npos ? TListFormat::csv : TListFormat::tsv;
}

TListReading ReadRenameList(std::string_view text, TListFormat format) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  TRecordReader reader(text, SeparatorOf(format));
  TListReading reading;
  bool first = true;
  while (reader.SkipToRecord()) {
    TRecord record = reader.Next();
    if (std::exchange(first, false) && IsHeader(record)) continue;
    const std::string problem = ProblemOf(record);
    if (!problem.empty()) {
      reading.problems.push_back("line " + std::to_string(record.line) + ": " + problem);
    } else {
      reading.rows.push_back({record.line, std::move(record.fields[0]), std::move(record.fields[1])});
    }
  }
  return reading;
}

std::string WriteRenameList(std::span<const std::pair<std::string, std::string>> rows, TListFormat format) {
  const char separator = SeparatorOf(format);
  std::string out = "old";
  out += separator;
  out += "new\n";
  for (const auto& [oldPath, newName] : rows) {
    AppendField(out, oldPath, separator);
    out += separator;
    AppendField(out, newName, separator);
    out += '\n';
  }
  return out;
}

}  // namespace qx::lists
