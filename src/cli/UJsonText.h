// SPDX-License-Identifier: GPL-3.0-or-later
// Names and messages as JSON strings, for the JSON lines quillex-cli writes for scripts.
// Only the escaping: it composes no objects and reads no JSON.
#pragma once

#include <string>
#include <string_view>

namespace qx::cli {

// Appends `text` to `out` as a JSON string, quotes included. Valid UTF-8 is written as it
// is; `"` and `\` as \" and \\; the control characters below U+0020 as \b \f \n \r \t or
// \u00xx; and each byte that is not part of valid UTF-8 as \udcxx (xx the byte, 80..ff),
// the code point Python's surrogateescape reads back as that byte, so a name's bytes
// survive the trip whatever they are.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace qx::cli
