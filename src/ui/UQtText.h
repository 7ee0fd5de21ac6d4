// SPDX-License-Identifier: GPL-3.0-or-later
// Our UTF-8 byte strings to QString and back, without loss: a byte that is not valid
// UTF-8 travels through QString as a lone surrogate and comes back as the same byte.
// Only for showing and editing text; paths never go through QString on their way to
// the file system.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QUrl;

namespace qx {

QString ToQString(std::string_view bytes);

// The inverse of ToQString for every text it produced. Any other lone surrogate (the
// user cannot type one) becomes U+FFFD.
std::string ToBytes(const QString& text);

// The path of a file URL of this computer (file:///..., file://localhost/... or by this
// computer's name) as bytes: its percent-encoded bytes exactly, UTF-8 or not. Nothing
// for any other URL, or a path that no file can have (empty, not absolute, a NUL).
std::optional<std::string> LocalFilePath(const QUrl& url);

}  // namespace qx
