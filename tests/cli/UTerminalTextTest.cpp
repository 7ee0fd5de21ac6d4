// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "cli/UTerminal.h"
#include "cli/UTerminalText.h"
#include "platform/UUtf8.h"

namespace qx::cli {
namespace {

using namespace std::string_literals;

TEST(UTerminalTextTest, ControlCharactersAreShownEscaped) {
  struct Row {
    std::string text;
    std::string shown;
  };
  const Row rows[] = {
      {"plain caf\xC3\xA9 \xE2\x82\xAC.txt", "plain caf\xC3\xA9 \xE2\x82\xAC.txt"},
      {"evil\x1B]0;PWNED\a\x1B[2J.txt", "evil\\e]0;PWNED\\a\\e[2J.txt"},
      {"\b\t\n\v\f\r", "\\b\\t\\n\\v\\f\\r"},
      {"a\0b\x01\x1F\x7F"s, "a\\x00b\\x01\\x1F\\x7F"},
      {"\xC2\x85\xC2\x9B\xC2\x9F\xC2\xA0", "\\u{0085}\\u{009B}\\u{009F}\xC2\xA0"},
      {"\x9B"
       "2J\x80\xA0\xE9\xFF",
       "\\x9B2J\\x80\xA0\xE9\xFF"},
      {"\xC2\x1B", "\xC2\\e"},            // a sequence cut short by ESC
      {"\xC0\x9B", "\xC0\\x9B"},          // an overlong form is two lone bytes
      {"\xED\xA0\x80", "\xED\xA0\\x80"},  // so is an encoded surrogate
      {"\xE2\x80\x9B", "\xE2\x80\x9B"},   // U+201B, a quotation mark
      {"a\\e\\x1B\\", "a\\e\\x1B\\"},     // backslashes stay
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TerminalSafe(row.text), row.shown) << row.shown;
    std::ostringstream pipe, terminal, notTerminal;
    MarkTerminal(terminal, true);
    MarkTerminal(notTerminal, false);
    EXPECT_EQ(ShownOn(pipe, row.text), row.text) << row.shown << ": a stream never marked gets the bytes";
    EXPECT_EQ(ShownOn(notTerminal, row.text), row.text) << row.shown;
    EXPECT_EQ(ShownOn(terminal, row.text), row.shown);
  }
}

// Whatever the bytes, the escaped text holds nothing a terminal takes for a control.
TEST(UTerminalTextTest, NoControlSurvivesEscaping) {
  const std::string alphabet = "a\\\x00\x07\x1B\x7F\x80\x85\x9B\x9F\xA0\xBF\xC2\xC0\xE2\xED\xF0\xF4\xFF"s;
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), length(0, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += alphabet[pick(random)];
    const std::string safe = TerminalSafe(text);
    for (const char32_t cp : utf8::ToCodePoints(safe)) {
      const char32_t c = utf8::IsRawByte(cp) ? cp - utf8::kRawByteBase : cp;
      ASSERT_FALSE(c < 0x20 || (c >= 0x7F && c <= 0x9F)) << "control " << unsigned(c) << " left in " << safe;
    }
  }
}

TEST(UTerminalTextTest, MessagesKeepTheirLineBreaksAndEscapeTheRest) {
  const std::string message = "Cannot rename a\x1B[2J\nb\r\nOperation will continue";
  struct Row {
    bool isTerminal;
    std::string shown;
  };
  const Row rows[] = {
      {true, "Cannot rename a\\e[2J\\nb\nOperation will continue"},
      {false, "Cannot rename a\x1B[2J\nb\nOperation will continue"},
  };
  for (const Row& row : rows) {
    std::istringstream in("n\n");
    std::ostringstream err;
    MarkTerminal(err, row.isTerminal);
    TTerminalMessages messages(in, err);
    messages.ShowMessage(message);
    EXPECT_FALSE(messages.Confirm(message));
    EXPECT_EQ(err.str(), row.shown + "\n" + row.shown + " [y/N] ") << row.isTerminal;
  }
}

TEST(UTerminalTextTest, RenameQuestionsTakeYesNoAllAndQuit) {
  using R = TRenameAnswer;
  const struct {
    std::string input;
    R answer;
  } rows[] = {{"y\n", R::Yes},       {"YES\n", R::Yes},    {"n\n", R::No},         {"\n", R::No},
              {"maybe\n", R::No},    {"a\n", R::YesToAll}, {"All\n", R::YesToAll}, {"q\n", R::Cancel},
              {"quit\n", R::Cancel}, {"", R::Cancel}};
  for (const auto& row : rows) {
    std::istringstream in(row.input);
    std::ostringstream err;
    TTerminalMessages messages(in, err);
    EXPECT_EQ(messages.AskRename("Rename file \"a\" to \"b\"?"), row.answer) << row.input;
    EXPECT_EQ(err.str(), "Rename file \"a\" to \"b\"? [y]es, [n]o, [a]ll, [q]uit ") << row.input;
  }
}

// A question or a message never runs into the progress line: it is cleared first, once.
TEST(UTerminalTextTest, TheProgressLineIsClearedBeforeAnythingElse) {
  std::istringstream in("y\n");
  std::ostringstream err;
  TTerminalMessages messages(in, err);
  messages.ShowProgress("50%");
  messages.ShowMessage("Cannot rename x");
  messages.ShowProgress("60%");
  EXPECT_TRUE(messages.Confirm("Go on?"));
  messages.ClearProgress();
  EXPECT_EQ(err.str(), "\r\x1B[K50%\r\x1B[KCannot rename x\n\r\x1B[K60%\r\x1B[KGo on? [y/N] ");
}

}  // namespace
}  // namespace qx::cli
