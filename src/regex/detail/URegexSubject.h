// SPDX-License-Identifier: GPL-3.0-or-later
// The input of a search: its UTF-8 bytes, and its characters (code points), decoded only
// when a search gets past the prefilter. It holds a view: the bytes must outlive it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qx::detail {

class TSubject {
 public:
  void Reset(std::string_view bytes);
  // Decodes the characters unless that is done already.
  void Decode();

  std::string_view Bytes() const { return m_bytes; }
  bool Ascii() const { return m_ascii; }
  // The number of characters; decodes unless every byte is one.
  std::size_t Length();
  // The characters; valid after Decode.
  std::u32string_view Text() const { return m_text; }
  // Byte offset of a character (or of the end); valid after Decode or Length.
  uint32_t ByteOffset(std::size_t character) const {
    return m_ascii ? static_cast<uint32_t>(character) : m_byteOffsets[character];
  }

 private:
  std::string_view m_bytes;
  bool m_ascii = true;
  bool m_decoded = false;
  // The buffers only grow, so inputs after the first cost no allocation or clearing.
  std::vector<char32_t> m_textBuffer;
  std::vector<uint32_t> m_byteOffsets;  // filled only when some byte is 128 or more
  std::u32string_view m_text;
};

}  // namespace qx::detail
