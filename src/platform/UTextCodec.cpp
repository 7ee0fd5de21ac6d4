// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UTextCodec.h"

#include <iconv.h>

#include <cerrno>

#include "platform/UUtf8.h"

namespace qx {

namespace {

class TIconv {
 public:
  TIconv(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
  ~TIconv() {
    if (IsOpen()) iconv_close(m_cd);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;
  bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts one character's bytes, keeping the shift state between calls so that
  // stateful encodings (ISO-2022-JP) come out right. False when it cannot be held.
  bool Convert(std::string_view in, std::string& out) {
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    return Run(&inPtr, &inLeft, out);
  }
  // Ends the output in the initial shift state.
  void Finish(std::string& out) { Run(nullptr, nullptr, out); }

  // Converts as much of `in` as it can, and says how much of it that was.
  std::size_t ConvertPrefix(std::string_view in, std::string& out) {
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0 && (Run(&inPtr, &inLeft, out) || errno == E2BIG)) {
    }
    return in.size() - inLeft;
  }

 private:
  // Whatever was converted is appended, also when iconv stops early.
  bool Run(char** inPtr, std::size_t* inLeft, std::string& out) {
    char buffer[256];
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const bool ok = iconv(m_cd, inPtr, inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    out.append(buffer, sizeof buffer - outLeft);
    return ok;
  }
  iconv_t m_cd;
};

}  // namespace

std::optional<std::string> EncodeFromUtf8(std::string_view text, const std::string& encoding,
                                          const std::function<std::string(char32_t)>& fallback) {
  TIconv converter(encoding, "UTF-8");
  if (!converter.IsOpen()) return std::nullopt;
  std::string out;
  out.reserve(text.size());
  std::string character;
  for (std::size_t pos = 0, len = 0; pos < text.size(); pos += len) {
    char32_t cp = utf8::Decode(text, pos, len);
    if (utf8::IsRawByte(cp)) cp = 0xFFFD;
    character.clear();
    utf8::Append(character, cp);
    if (converter.Convert(character, out)) continue;
    for (char c : fallback(cp)) {
      if (!converter.Convert(std::string_view(&c, 1), out)) return std::nullopt;
    }
  }
  converter.Finish(out);
  return out;
}

std::optional<std::string> DecodeToUtf8Leniently(std::string_view bytes, const std::string& encoding) {
  TIconv converter("UTF-8", encoding);
  if (!converter.IsOpen()) return std::nullopt;
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    bytes.remove_prefix(converter.ConvertPrefix(bytes, out));
    if (!bytes.empty()) bytes.remove_prefix(1);
  }
  return out;
}

}  // namespace qx
