// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobio/UJobIO.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <memory>
#include <unordered_map>

#include "jobio/UDocumentText.h"
#include "platform/UFiles.h"
#include "platform/UTextCodec.h"
#include "platform/UUtf8.h"
#include "platform/UValueText.h"

namespace qx {

namespace {

constexpr const char* kLineEnd = "\r\n";

struct TEntity {
  std::string_view text;
  char character;
};
constexpr std::array<TEntity, 5> kEntities = {
    {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}}};

// Replaces every occurrence until none is left. No entity overlaps itself, so the
// result does not depend on where each search starts, and one pass that watches
// the end of the output (where a new '&' can complete a new "&amp;") finds it.
std::string CollapseEntity(std::string_view text, const TEntity& entity) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (out.ends_with(entity.text)) {
      out.resize(out.size() - entity.text.size());
      out += entity.character;
    }
  }
  return out;
}

// A 32-bit signed decimal, the whole text; 0 when it does not convert.
std::int32_t ToInt(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::string AttributeValue(const xmlAttr* attribute) {
  xmlChar* value = xmlNodeListGetString(attribute->doc, attribute->children, 1);
  if (value == nullptr) return "";
  std::string text = reinterpret_cast<const char*>(value);
  xmlFree(value);
  return text;
}

// The most text a job list's values may come to, entities expanded; a real one is a few KB.
constexpr std::size_t kExpandedCap = 1 << 20;

// A prefixed name (p:job) is another name, not the one without the prefix.
bool HasPrefix(const xmlNs* ns) { return ns != nullptr && ns->prefix != nullptr; }

bool IsElementNamed(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && !HasPrefix(node->ns) &&
         xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// What all attribute values of the document come to once their entity references are
// expanded, in bytes, counted before anything is expanded: a few KB of entities can
// stand for gigabytes. Each entity is measured once; the count stops at `cap` + 1.
class TExpandedSize {
 public:
  explicit TExpandedSize(std::size_t cap) : m_cap(cap) {}

  std::size_t OfDocument(const xmlNode* node) {
    std::size_t total = 0;
    for (; node && total <= m_cap; node = node->next) {
      if (node->type != XML_ELEMENT_NODE) continue;
      for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        total = Add(total, OfList(attribute->children));
      }
      total = Add(total, OfDocument(node->children));
    }
    return total;
  }

 private:
  std::size_t Add(std::size_t a, std::size_t b) const { return std::min(a + b, m_cap + 1); }

  // As xmlNodeListGetString expands a value: text as it is, an entity reference as its
  // entity's parsed content, or its own text where the entity has none.
  std::size_t OfList(const xmlNode* node) {
    std::size_t total = 0;
    for (; node && total <= m_cap; node = node->next) {
      if (node->type == XML_ENTITY_REF_NODE) {
        total = Add(total, OfReference(node));
      } else if (node->content != nullptr) {
        total = Add(total, static_cast<std::size_t>(xmlStrlen(node->content)));
      }
    }
    return total;
  }

  std::size_t OfReference(const xmlNode* reference) {
    const xmlEntity* entity = xmlGetDocEntity(reference->doc, reference->name);
    if (entity == nullptr || entity->children == nullptr) {
      return reference->content ? static_cast<std::size_t>(xmlStrlen(reference->content)) : 0;
    }
    const auto known = m_sizes.find(entity);
    if (known != m_sizes.end()) return known->second;
    m_sizes[entity] = m_cap + 1;  // an entity met again inside itself counts as too much
    const std::size_t size = OfList(entity->children);
    m_sizes[entity] = size;
    return size;
  }

  std::size_t m_cap;
  std::unordered_map<const xmlEntity*, std::size_t> m_sizes;
};

// libxml2 prints some errors itself (a failed encoding conversion) whatever the parse
// options say; the reader reports every failure through its own message instead.
void Silently(void*, const char*, ...) {}

// Job list files never need anything from outside the file: every external
// entity, DTD or network request is refused here, whatever the file asks for.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

std::string ParserErrorText(xmlParserCtxtPtr context) {
  const xmlError* error = xmlCtxtGetLastError(context);
  if (error == nullptr || error->message == nullptr) return "the file could not be parsed";
  std::string text = error->message;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return "line " + std::to_string(error->line) + ": " + text;
}

using TDocument = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;
using TParser = std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)>;

// A job's text is one line, so the tab and line breaks that XML could carry go too.
bool IsCarriable(char32_t cp) { return cp >= 0x20 && !(cp >= 0xD800 && cp <= 0xDFFF) && cp != 0xFFFE && cp != 0xFFFF; }

// libxml2 checks a tag's attributes for duplicates pair by pair, so 200,000 of them in a
// 2 MB file take minutes. Every attribute has an '=' outside its value and a tag holds no
// '<', so the '=' signs between one '<' and the next bound the attributes of any tag.
constexpr std::size_t kMaxAttributesPerTag = 4096;

bool HasCrowdedTag(std::string_view text) {
  std::size_t equals = 0;
  for (char c : text) {
    if (c == '<') equals = 0;
    if (c == '=' && ++equals > kMaxAttributesPerTag) return true;
  }
  return false;
}

// The jobs as a file can hold them.
std::vector<TJob> AsStored(std::vector<TJob> jobs) {
  for (TJob& job : jobs) {
    job.str1 = XMLCarriable(job.str1);
    job.str2 = XMLCarriable(job.str2);
  }
  return jobs;
}

// What tells `read` from `expected`, for the message of a save that would not read back.
std::string Difference(const TJob& expected, const TJob& read) {
  for (const auto& [wanted, got] : {std::pair(&expected.str1, &read.str1), std::pair(&expected.str2, &read.str2)}) {
    if (*wanted != *got) return "\"" + *wanted + "\" would read back as \"" + *got + "\"";
  }
  return "it would read back changed";
}

// The declaration's grammar for encoding names. A name outside it would make the file
// unreadable, so it is refused rather than written.
bool IsDeclarableEncoding(std::string_view name) {
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const auto isNameChar = [&](char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
  };
  return !name.empty() && isLetter(name.front()) && std::all_of(name.begin(), name.end(), isNameChar);
}

}  // namespace

std::string XMLCarriable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0, length = 0; pos < text.size(); pos += length) {
    if (IsCarriable(utf8::Decode(text, pos, length))) out.append(text.substr(pos, length));
  }
  return out;
}

std::string XMLUnescape(std::string_view text) {
  std::string out(text);
  for (const TEntity& entity : kEntities) out = CollapseEntity(out, entity);
  return out;
}

namespace {

// XMLCarriable, with quotes, ampersands, apostrophes and angle brackets as entities.
std::string XMLEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : XMLCarriable(text)) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '&': out += "&amp;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c; break;
    }
  }
  return out;
}

// The job element: "<job ", the seven attributes each followed by a blank, "/>".
std::string ToXMLElement(const TJob& job) {
  std::string line = "<job ";
  const auto attribute = [&line](const char* name, const std::string& value) {
    line.append(name).append("=\"").append(value).append("\" ");
  };
  attribute("type", JobKindName(job.type));
  attribute("modifier", std::to_string(job.modifier));
  attribute("int1", std::to_string(job.int1));
  attribute("int2", std::to_string(job.int2));
  attribute("str1", XMLEscape(job.str1));
  attribute("str2", XMLEscape(job.str2));
  attribute("enabled", job.enabled ? "-1" : "0");
  return line + "/>";
}

// Fills `job` from a `job` element and returns true when its type names a kind other
// than jobNone; otherwise returns false and leaves `job` untouched.
bool LoadFromXMLNode(TJob& job, const xmlNode* element) {
  TJob read;
  read.enabled = true;
  for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
    if (HasPrefix(attribute->ns)) continue;
    const std::string_view name = reinterpret_cast<const char*>(attribute->name);
    if (name == "type")
      read.type = JobKindFromName(XMLUnescape(AttributeValue(attribute)));
    else if (name == "modifier")
      read.modifier = ToInt(AttributeValue(attribute));
    else if (name == "int1")
      read.int1 = ToInt(AttributeValue(attribute));
    else if (name == "int2")
      read.int2 = ToInt(AttributeValue(attribute));
    else if (name == "str1")
      read.str1 = XMLUnescape(AttributeValue(attribute));
    else if (name == "str2")
      read.str2 = XMLUnescape(AttributeValue(attribute));
    else if (name == "enabled")
      read.enabled = ParseBoolean(AttributeValue(attribute)).value_or(false);
  }
  if (read.type == TJobKind::jobNone) return false;
  job = std::move(read);
  return true;
}

// The whole file text as UTF-8: the declaration (with `encoding` unless it is empty),
// an empty line, the root and jobs elements, one line per job, each line ended by CR LF.
std::string JobListXMLText(const std::vector<TJob>& jobs, const std::string& encoding) {
  std::string text = encoding.empty() ? R"(<?xml version="1.0" standalone="yes" ?>)"
                                      : R"(<?xml version="1.0" encoding=")" + encoding + R"(" standalone="yes" ?>)";
  text.append(kLineEnd).append(kLineEnd);
  text.append("<quillex>").append(kLineEnd);
  text.append("  <jobs>").append(kLineEnd);
  for (const TJob& job : jobs) text.append("    ").append(ToXMLElement(job)).append(kLineEnd);
  text.append("  </jobs>").append(kLineEnd);
  text.append("</quillex>").append(kLineEnd);
  return text;
}

}  // namespace

std::string ComposeJobListFile(const std::vector<TJob>& jobs, const std::string& encoding) {
  const std::string shownName = encoding.empty() ? "UTF-8" : encoding;
  const auto failure = [&shownName](const std::string& why) {
    return TJobListError("The job list cannot be saved in encoding " + shownName + ": " + why);
  };
  if (!encoding.empty() && !IsDeclarableEncoding(encoding)) throw failure("an XML declaration cannot name it");
  const auto characterReference = [](char32_t cp) { return "&#" + std::to_string(cp) + ";"; };
  const auto encoded = EncodeFromUtf8(JobListXMLText(jobs, encoding), shownName, characterReference);
  if (!encoded) throw failure("Quillex does not know this encoding");
  std::vector<TJob> readBack;
  try {
    readBack = ParseJobList(*encoded, "the job list to save");
  } catch (const TJobListError& error) {
    throw failure(std::string("the file would not load again (") + error.what() + ")");
  }
  const std::vector<TJob> expected = AsStored(jobs);
  if (readBack.size() != expected.size()) {
    throw failure("the file would load " + std::to_string(readBack.size()) + " jobs instead of " +
                  std::to_string(expected.size()));
  }
  for (std::size_t n = 0; n < expected.size(); ++n) {
    if (readBack[n] != expected[n]) {
      throw failure("job " + std::to_string(n + 1) + ": " + Difference(expected[n], readBack[n]));
    }
  }
  return *encoded;
}

std::optional<std::string> EncodingProblem(const std::string& encoding) {
  std::string printable;
  for (char c = ' '; c <= '~'; ++c) printable += c;
  TJob sample(TJobKind::jobReplace);
  sample.str1 = printable;
  sample.str2 = "Ærøskøbing café Ωmega Жук ğ ž 日本";
  sample.enabled = true;
  try {
    ComposeJobListFile({sample}, encoding);
    return std::nullopt;
  } catch (const TJobListError& error) {
    return error.what();
  }
}

void SaveJobListToXML(const std::string& fileName, const std::vector<TJob>& jobs, const std::string& encoding) {
  ReplaceFileAtomically(fileName, ComposeJobListFile(jobs, encoding));
}

std::vector<TJob> ParseJobList(std::string_view bytes, const std::string& documentName) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX))
    throw TJobListError("XML error: the file is too large for a job list");
  const auto text = DocumentTextAsUtf8(bytes);
  if (text && HasCrowdedTag(*text)) {
    throw TJobListError("XML error: a tag with more than " + std::to_string(kMaxAttributesPerTag) + " attributes");
  }
  xmlSetExternalEntityLoader(RefuseExternalEntity);
  xmlSetGenericErrorFunc(nullptr, Silently);
  TParser parser(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!parser) throw TJobListError("XML error: out of memory");
  // No XML_PARSE_NOENT, DTDLOAD or HUGE: entities stay unexpanded in the tree where
  // they can, nothing is fetched, and libxml2's amplification limits stay in force.
  TDocument document(xmlCtxtReadMemory(parser.get(), bytes.data(), static_cast<int>(bytes.size()), documentName.c_str(),
                                       nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                     xmlFreeDoc);
  if (!document) throw TJobListError("XML error: " + ParserErrorText(parser.get()));
  if (document->children == nullptr) throw TJobListError("XML Document is Empty. Loading Aborted!");
  const xmlNode* root = xmlDocGetRootElement(document.get());
  if (root == nullptr) throw TJobListError("XML DocumentElement is nil. Loading Aborted!");
  if (TExpandedSize(kExpandedCap).OfDocument(root) > kExpandedCap) {
    throw TJobListError("XML error: its entities expand to more than a job list can hold (1 MiB)");
  }
  if (!IsElementNamed(root, "quillex")) throw TJobListError("Root node element is not recognised. Loading aborted!");
  std::vector<TJob> jobs;
  for (const xmlNode* list = root->children; list; list = list->next) {
    if (!IsElementNamed(list, "jobs")) continue;
    for (const xmlNode* node = list->children; node; node = node->next) {
      TJob job;
      if (IsElementNamed(node, "job") && LoadFromXMLNode(job, node)) jobs.push_back(std::move(job));
    }
  }
  return jobs;
}

std::optional<std::vector<TJob>> LoadJobListFromXML(const std::string& fileName, TMessageHost& messages) {
  try {
    return ParseJobList(ReadWholeFile(fileName), fileName);
  } catch (const TJobListError& error) {
    messages.ShowMessage(error.what());
  } catch (const std::exception& error) {
    messages.ShowMessage(std::string("XML error: ") + error.what());
  }
  return std::nullopt;
}

std::string LoadFailureMessage(const std::string& fileName) {
  return "Failed to load jobs from file " + fileName +
         "\r\nPlease make sure that this is a Quillex Job List file or\r\n"
         "set the encoding of the XML file to a different value\r\n\r\n"
         "WARNING! To set the default encoding for XML files for Quillex\r\n"
         "please use the \"Settings->Character Encoding\" menu option";
}

const std::vector<std::string>& XMLEncodingChoices() {
  static const std::vector<std::string> choices = {
      "ISO-8859-1 (Latin-1 West European Languages)",
      "ISO-8859-2 (Latin-2 Central and Eastern European)",
      "ISO-8859-3 (Latin-3 Esperanto, Maltese)",
      "ISO-8859-4 (Latin-4 Baltic, Greenlandic, Lappish)",
      "ISO-8859-5 (Cyrillic)",
      "ISO-8859-6 (Arabic)",
      "ISO-8859-7 (Greek)",
      "ISO-8859-8 (Hebrew)",
      "ISO-8859-9 (Latin-5 Turkish)",
      "ISO-8859-10 (Latin-6 Inuit, Nordic)",
      "ISO-2022-JP (Japanese)",
      "EUC-KR (Korean)",
  };
  return choices;
}

}  // namespace qx
