// SPDX-License-Identifier: GPL-3.0-or-later
// An XML document's text as the parser will see it, for looking it over before parsing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qx {

// The document decoded into UTF-8: in the encoding that its first bytes show (a
// byte-order mark, UTF-16 or UTF-32 without one, EBCDIC) or that its XML declaration
// names, UTF-8 otherwise. Bytes that do not convert are passed over. Nothing when the
// encoding is one iconv does not know.
std::optional<std::string> DocumentTextAsUtf8(std::string_view bytes);

}  // namespace qx
