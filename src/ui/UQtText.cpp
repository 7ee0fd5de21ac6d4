// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UQtText.h"

#include <QSysInfo>
#include <QUrl>
#include <algorithm>

#include "platform/UUtf8.h"

namespace qx {

QString ToQString(std::string_view bytes) {
  // The ASCII start, most often the whole text, goes through Qt's fast widening; the
  // rest is decoded by hand, since Qt's own decoders turn invalid bytes and lone
  // surrogates into U+FFFD.
  const auto ascii = static_cast<std::size_t>(
      std::find_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
      bytes.begin());
  QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(ascii));
  if (ascii == bytes.size()) return text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t pos = ascii, len = 0; pos < bytes.size(); pos += len) {
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

std::optional<std::string> LocalFilePath(const QUrl& url) {
  if (!url.isLocalFile()) return std::nullopt;
  const QString host = url.host();
  if (!host.isEmpty() && host != u"localhost" && host != QSysInfo::machineHostName()) return std::nullopt;
  // Encoded, the path is ASCII and keeps every byte a file manager encoded; decoded by
  // Qt, a byte that is not UTF-8 would become U+FFFD.
  const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (!path.startsWith('/') || path.contains('\0')) return std::nullopt;
  return path.toStdString();
}

}  // namespace qx
