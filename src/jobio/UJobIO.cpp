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

#include "platform/UFiles.h"
#include "platform/UTextCodec.h"

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

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}

// A number (non-zero is true) or the words true / false in any case; anything else false.
bool ToBool(std::string_view text) {
  if (EqualsIgnoringAsciiCase(text, "true")) return true;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value != 0;
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
        total = Add(total, xmlStrlen(node->content));
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

std::string XMLEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '"': out += "&quot;"; break;
      case '&': out += "&amp;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 32) out += c;
        break;
    }
  }
  return out;
}

std::string XMLUnescape(std::string_view text) {
  std::string out(text);
  for (const TEntity& entity : kEntities) out = CollapseEntity(out, entity);
  return out;
}

std::string ToXMLElement(const TJob& job, std::string_view indent) {
  std::string line(indent);
  line += "<job ";
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

bool LoadFromXMLNode(TJob& job, const _xmlNode* element) {
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
      read.enabled = ToBool(AttributeValue(attribute));
  }
  if (read.type == TJobKind::jobNone) return false;
  job = std::move(read);
  return true;
}

std::string JobListXMLText(const std::vector<TJob>& jobs, const std::string& encoding) {
  std::string text = encoding.empty() ? R"(<?xml version="1.0" standalone="yes" ?>)"
                                      : R"(<?xml version="1.0" encoding=")" + encoding + R"(" standalone="yes" ?>)";
  text.append(kLineEnd).append(kLineEnd);
  text.append("<quillex>").append(kLineEnd);
  text.append("  <jobs>").append(kLineEnd);
  for (const TJob& job : jobs) text.append("    ").append(ToXMLElement(job, "")).append(kLineEnd);
  text.append("  </jobs>").append(kLineEnd);
  text.append("</quillex>").append(kLineEnd);
  return text;
}

bool SaveJobListToXML(const std::string& fileName, const std::vector<TJob>& jobs, const std::string& encoding) {
  if (!encoding.empty() && !IsDeclarableEncoding(encoding)) return false;
  const auto characterReference = [](char32_t cp) { return "&#" + std::to_string(cp) + ";"; };
  const auto encoded =
      EncodeFromUtf8(JobListXMLText(jobs, encoding), encoding.empty() ? "UTF-8" : encoding, characterReference);
  if (!encoded) return false;
  try {
    ReplaceFileAtomically(fileName, *encoded);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::optional<std::vector<TJob>> LoadJobListFromXML(const std::string& fileName, TMessageHost& messages) {
  xmlSetExternalEntityLoader(RefuseExternalEntity);
  TParser parser(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!parser) {
    messages.ShowMessage("XML error: out of memory");
    return std::nullopt;
  }
  // No XML_PARSE_NOENT, DTDLOAD or HUGE: entities stay unexpanded in the tree where
  // they can, nothing is fetched, and libxml2's amplification limits stay in force.
  std::string content;
  try {
    content = ReadWholeFile(fileName);
  } catch (const std::exception& error) {
    messages.ShowMessage(std::string("XML error: ") + error.what());
    return std::nullopt;
  }
  if (content.size() > static_cast<std::size_t>(INT_MAX)) {
    messages.ShowMessage("XML error: the file is too large for a job list");
    return std::nullopt;
  }
  TDocument document(xmlCtxtReadMemory(parser.get(), content.data(), static_cast<int>(content.size()), fileName.c_str(),
                                       nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                     xmlFreeDoc);
  if (!document) {
    messages.ShowMessage("XML error: " + ParserErrorText(parser.get()));
    return std::nullopt;
  }
  if (document->children == nullptr) {
    messages.ShowMessage("XML Document is Empty. Loading Aborted!");
    return std::nullopt;
  }
  const xmlNode* root = xmlDocGetRootElement(document.get());
  if (root == nullptr) {
    messages.ShowMessage("XML DocumentElement is nil. Loading Aborted!");
    return std::nullopt;
  }
  if (TExpandedSize(kExpandedCap).OfDocument(root) > kExpandedCap) {
    messages.ShowMessage("XML error: its entities expand to more than a job list can hold (1 MiB)");
    return std::nullopt;
  }
  if (!IsElementNamed(root, "quillex")) {
    messages.ShowMessage("Root node element is not recognised. Loading aborted!");
    return std::nullopt;
  }
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
