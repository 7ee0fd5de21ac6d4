// SPDX-License-Identifier: GPL-3.0-or-later
// Job list files: the writer composes the XML text itself (CR LF lines, a fixed
// attribute order) and transcodes it into the declared encoding; libxml2 reads,
// with DTDs, external entities and the network switched off.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UMessages.h"

namespace qx {

// A job list that cannot be read, or cannot be written so that it reads back; what()
// is the whole message for the user.
class TJobListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text as a job list file can carry it: without the characters XML 1.0 cannot hold
// (controls below 32 such as tab and line breaks, U+FFFE, U+FFFF, and surrogates,
// which here include the bytes that are not UTF-8).
std::string XMLCarriable(std::string_view text);

// The entity pass after the parser's own: &amp; &lt; &gt; &apos; &quot;, in that order,
// each replaced until none is left, so '&amp;amp;' becomes '&' and '&amp;lt;' '<'.
std::string XMLUnescape(std::string_view text);

// The bytes of a job list file holding `jobs` in `encoding` ("" for UTF-8 without a
// declared encoding). A character the encoding cannot hold becomes a character
// reference. The bytes are read back with ParseJobList before they are returned, so a
// file that would not load, or would load other jobs than XMLCarriable's texts, is never
// written: throws TJobListError "The job list cannot be saved in encoding X: <why>".
std::string ComposeJobListFile(const std::vector<TJob>& jobs, const std::string& encoding);

// Why job lists cannot be saved in `encoding`, tried on a sample list (every printable
// ASCII character and letters beyond); nothing when they can.
std::optional<std::string> EncodingProblem(const std::string& encoding);

// Writes ComposeJobListFile's bytes to `fileName`, replacing it atomically. Throws
// TJobListError or TSystemError; the previous file then stays as it was.
void SaveJobListToXML(const std::string& fileName, const std::vector<TJob>& jobs, const std::string& encoding);

// The jobs of a job list file's bytes; `documentName` names it in the parser's messages.
// Throws TJobListError with one of "XML error: " + why, "XML Document is Empty. Loading
// Aborted!", "XML DocumentElement is nil. Loading Aborted!" or "Root node element is not
// recognised. Loading aborted!". Jobs with a missing, unknown or jobNone type are skipped.
std::vector<TJob> ParseJobList(std::string_view bytes, const std::string& documentName);

// Reads and parses a job list file. On failure shows ParseJobList's message (or "XML
// error: " + why the file cannot be read) and returns nothing.
std::optional<std::vector<TJob>> LoadJobListFromXML(const std::string& fileName, TMessageHost& messages);

// The message shown after a job list file failed to load.
std::string LoadFailureMessage(const std::string& fileName);

// The encodings the encoding dialog offers, in order; the setting is the part
// before the first blank.
const std::vector<std::string>& XMLEncodingChoices();

}  // namespace qx
