// Job list files: the writer composes the XML text itself (CR LF lines, a fixed
// attribute order) and transcodes it into the declared encoding; libxml2 reads,
// with DTDs, external entities and the network switched off.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"

struct _xmlNode;

namespace qx {

// Quotes, ampersands, apostrophes and angle brackets as entities; characters below
// 32 (tab, line breaks, other controls) are dropped; everything else stays.
std::string XMLEscape(std::string_view text);

// The entity pass after the parser's own: &amp; &lt; &gt; &apos; &quot;, in that order,
// each replaced until none is left, so '&amp;amp;' becomes '&' and '&amp;lt;' '<'.
std::string XMLUnescape(std::string_view text);

// The job element: indent, "<job ", the seven attributes each followed by a blank, "/>".
std::string ToXMLElement(const TJob& job, std::string_view indent);

// Fills `job` from a `job` element and returns true when its type names a kind other
// than jobNone; otherwise returns false and leaves `job` untouched.
bool LoadFromXMLNode(TJob& job, const _xmlNode* element);

// The whole file text as UTF-8: the declaration (with `encoding` unless it is empty),
// an empty line, the root and jobs elements, one line per job, each line ended by CR LF.
std::string JobListXMLText(const std::vector<TJob>& jobs, const std::string& encoding);

// Writes the jobs to `fileName` in `encoding` ("" for UTF-8 without a declared encoding).
// A character the encoding cannot hold is written as a character reference, so every
// text reads back unchanged. The file is replaced atomically: on any failure (an
// encoding iconv does not know, a folder that cannot be written) the previous file
// stays as it was and the result is false. Nothing is reported. An encoding name that
// an XML declaration cannot carry (a quote in it, say) fails the same way.
bool SaveJobListToXML(const std::string& fileName, const std::vector<TJob>& jobs, const std::string& encoding);

// Reads a job list file. On failure shows one of "XML error: " + the parser's message,
// "XML Document is Empty. Loading Aborted!", "XML DocumentElement is nil. Loading Aborted!"
// or "Root node element is not recognised. Loading aborted!" and returns nothing.
// Jobs with a missing, unknown or jobNone type are skipped silently.
std::optional<std::vector<TJob>> LoadJobListFromXML(const std::string& fileName, TMessageHost& messages);

// The message shown after a job list file failed to load.
std::string LoadFailureMessage(const std::string& fileName);

// The encodings the encoding dialog offers, in order; the setting is the part
// before the first blank.
const std::vector<std::string>& XMLEncodingChoices();

}  // namespace qx
