// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>

#include "cli/UJsonText.h"
#include "platform/UUtf8.h"

namespace qx::cli {
namespace {

using namespace std::string_literals;

std::string Escaped(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (const char32_t cp : utf8::ToCodePoints(text)) {
    if (utf8::IsRawByte(cp)) return false;
  }
  return true;
}

// The bytes a JSON string of ours stands for, read as Python's json.loads and then
// .encode("utf-8", "surrogateescape") read it: \udcXX is the byte XX. Strict parsers
// refuse a lone surrogate, hence this reader of the escapes we write.
std::string Unescaped(std::string_view json) {
  std::string bytes;
  for (std::size_t pos = 1; pos + 1 < json.size(); ++pos) {
    if (json[pos] != '\\') {
      bytes += json[pos];
      continue;
    }
    const char kind = json[++pos];
    if (kind == 'u') {
      utf8::Append(bytes, static_cast<char32_t>(std::stoul(std::string(json.substr(pos + 1, 4)), nullptr, 16)));
      pos += 4;
      continue;
    }
    const std::string shortForms = "\"\"\\\\b\bf\fn\nr\rt\t";
    bytes += shortForms[shortForms.find(kind) + 1];
  }
  return bytes;
}

TEST(UJsonTextTest, NamesBecomeUtf8JsonStringsThatGiveBackTheirBytes) {
  struct Row {
    std::string text;
    std::string json;
  };
  const Row rows[] = {
      {"plain name.txt", R"("plain name.txt")"},
      {"", R"("")"},
      {"say \"hi\" \\ bye/", R"("say \"hi\" \\ bye/")"},
      {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
      {"a\0b\x01\x1F\x7F"s, R"("a\u0000b\u0001\u001f)"
                            "\x7F\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E \xE2\x80\xA8",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E \xE2\x80\xA8\""},
      {"caf\xE9.txt", R"("caf\udce9.txt")"},                  // Latin-1
      {"\x80\xBF\xFF", R"("\udc80\udcbf\udcff")"},            // lone continuation bytes and a byte UTF-8 never has
      {"\xC3", R"("\udcc3")"},                                // a sequence cut short by the end
      {"\xE2\x82x", R"("\udce2\udc82x")"},                    // and by an ASCII byte
      {"\xC0\xAF", R"("\udcc0\udcaf")"},                      // an overlong form
      {"\xED\xB3\x9C", R"("\udced\udcb3\udc9c")"},            // an encoded surrogate: \udcdc itself, written as bytes
      {"\xF4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},  // past U+10FFFF
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Escaped(row.text), row.json) << row.json;
    EXPECT_EQ(Unescaped(row.json), row.text) << row.json;
    if (IsValidUtf8(row.text)) {
      EXPECT_EQ(nlohmann::json::parse(row.json), row.text) << row.json;
    }
  }
  std::string out = "[";
  AppendJsonString(out, "a");
  EXPECT_EQ(out, "[\"a\"") << "appends";
}

// Whatever the bytes, the string is valid UTF-8 without a control character, and the
// bytes come back.
TEST(UJsonTextTest, AnyBytesRoundTrip) {
  const std::string alphabet = "a\"\\\x00\x01\n\x1F\x7F\x80\xA9\xBF\xC3\xC0\xE2\x82\xAC\xED\xF0\x9D\xF4\xFF"s;
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), length(0, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += alphabet[pick(random)];
    const std::string json = Escaped(text);
    ASSERT_TRUE(IsValidUtf8(json)) << json;
    ASSERT_TRUE(std::none_of(json.begin(), json.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        << json;
    ASSERT_EQ(Unescaped(json), text) << json;
    if (IsValidUtf8(text)) {
      ASSERT_EQ(nlohmann::json::parse(json), text) << json;
    }
  }
}

}  // namespace
}  // namespace qx::cli
