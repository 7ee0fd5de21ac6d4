#include "ui/UQtText.h"

#include "platform/UUtf8.h"

namespace qx {

QString ToQString(std::string_view bytes) {
  // Built by hand: Qt's own decoders turn invalid bytes and lone surrogates into U+FFFD.
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t pos = 0, len = 0; pos < bytes.size(); pos += len) {
    const char32_t cp = utf8::Decode(bytes, pos, len);
    if (QChar::requiresSurrogates(cp)) {
      text += QChar(QChar::highSurrogate(cp));
      text += QChar(QChar::lowSurrogate(cp));
    } else {
      text += QChar(static_cast<char16_t>(cp));
    }
  }
  return text;
}

std::string ToBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    char32_t cp = unit;
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      cp = QChar::surrogateToUcs4(unit, text[++i].unicode());
    } else if (QChar::isSurrogate(unit) && !utf8::IsRawByte(cp)) {
      cp = 0xFFFD;
    }
    utf8::Append(bytes, cp);
  }
  return bytes;
}

}  // namespace qx
