// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobio/UDocumentText.h"

#include <array>

#include "platform/UTextCodec.h"

namespace qx {

namespace {

struct TSignature {
  std::string_view bytes;
  const char* encoding;
};

// Longer signatures first: UTF-32LE's mark begins with UTF-16LE's.
constexpr std::array<TSignature, 10> kSignatures = {{
    {{"\x00\x00\xFE\xFF", 4}, "UTF-32BE"},
    {{"\xFF\xFE\x00\x00", 4}, "UTF-32LE"},
    {{"\x00\x00\x00<", 4}, "UTF-32BE"},
    {{"<\x00\x00\x00", 4}, "UTF-32LE"},
    {{"\x00<\x00?", 4}, "UTF-16BE"},
    {{"<\x00?\x00", 4}, "UTF-16LE"},
    {{"\x4C\x6F\xA7\x94", 4}, "IBM037"},
    {{"\xFE\xFF", 2}, "UTF-16BE"},
    {{"\xFF\xFE", 2}, "UTF-16LE"},
    {{"\xEF\xBB\xBF", 3}, "UTF-8"},
}};

// The encoding named in the XML declaration at the start of ASCII-compatible bytes;
// "UTF-8" when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  if (!declaration.starts_with("<?xml")) return "UTF-8";
  const std::size_t name = declaration.find("encoding");
  if (name == std::string_view::npos) return "UTF-8";
  const std::size_t open = declaration.find_first_of("\"'", name);
  if (open == std::string_view::npos) return "UTF-8";
  const std::size_t close = declaration.find(declaration[open], open + 1);
  if (close == std::string_view::npos) return "UTF-8";
  return std::string(declaration.substr(open + 1, close - open - 1));
}

}  // namespace

std::optional<std::string> DocumentTextAsUtf8(std::string_view bytes) {
  for (const TSignature& signature : kSignatures) {
    if (bytes.starts_with(signature.bytes)) return DecodeToUtf8Leniently(bytes, signature.encoding);
  }
  return DecodeToUtf8Leniently(bytes, DeclaredEncoding(bytes));
}

}  // namespace qx
