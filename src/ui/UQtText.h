// SPDX-License-Identifier: GPL-3.0-or-later
// Our UTF-8 byte strings to QString and back, without loss: a byte that is not valid
// UTF-8 travels through QString as a lone surrogate and comes back as the same byte.
// Only for showing and editing text; paths never go through QString on their way to
// the file system.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qx {

QString ToQString(std::string_view bytes);

// The inverse of ToQString for every text it produced. Any other lone surrogate (the
// user cannot type one) becomes U+FFFD.
std::string ToBytes(const QString& text);

}  // namespace qx
