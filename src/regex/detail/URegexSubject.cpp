// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexSubject.h"

#include <cstring>

#include "platform/UUtf8.h"

namespace qx::detail {

void TSubject::Reset(std::string_view bytes) {
  m_bytes = bytes;
  m_decoded = false;
  m_text = {};
  // Eight bytes at a time: names are short, and this runs for every one.
  uint64_t any = 0;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    any |= word;
  }
  for (; i < bytes.size(); ++i) any |= static_cast<unsigned char>(bytes[i]);
  m_ascii = (any & 0x8080808080808080u) == 0;
}

std::size_t TSubject::Length() {
  if (m_ascii) return m_bytes.size();
  Decode();
  return m_text.size();
}

void TSubject::Decode() {
  if (m_decoded) return;
  m_decoded = true;
  const std::size_t size = m_bytes.size();
  if (m_textBuffer.size() < size) m_textBuffer.resize(size);
  if (m_ascii) {
    // A byte is a character, and its own offset.
    for (std::size_t i = 0; i < size; ++i) m_textBuffer[i] = static_cast<unsigned char>(m_bytes[i]);
    m_text = std::u32string_view(m_textBuffer.data(), size);
    return;
  }
  if (m_byteOffsets.size() < size + 1) m_byteOffsets.resize(size + 1);
  std::size_t chars = 0;
  for (std::size_t pos = 0; pos < size; ++chars) {
    m_byteOffsets[chars] = static_cast<uint32_t>(pos);
    const auto byte = static_cast<unsigned char>(m_bytes[pos]);
    if (byte < 0x80) {
      m_textBuffer[chars] = byte;
      ++pos;
    } else {
      std::size_t length = 0;
      m_textBuffer[chars] = utf8::Decode(m_bytes, pos, length);
      pos += length;
    }
  }
  m_byteOffsets[chars] = static_cast<uint32_t>(size);
  m_text = std::u32string_view(m_textBuffer.data(), chars);
}

}  // namespace qx::detail
