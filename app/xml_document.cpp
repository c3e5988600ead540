#include "app/xml_document.h"

#include <pugixml.hpp>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/kernel_files.h"
#include "store/safe_file.h"

namespace {

// A document and the scratch document that holds its elements until they
// are appended into the tree.
struct XmlDocumentState {
  pugi::xml_document tree;
  pugi::xml_document unattached;
};

}  // namespace

struct XmlHandle {
  std::shared_ptr<XmlDocumentState> document;
  pugi::xml_node node;
};

namespace {

// Declarations and doctypes are left out of the tree; entities are not
// expanded beyond the five predefined ones and character references.
constexpr unsigned kParseOptions = pugi::parse_default;

XmlHandle* NewHandle(const std::shared_ptr<XmlDocumentState>& document, pugi::xml_node node) {
  if (!node) return nullptr;
  return new XmlHandle{document, node};
}

pugi::xml_node NodeOf(const XmlHandle* handle) { return handle ? handle->node : pugi::xml_node(); }

char* HeapCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

char* AnsiCopy(const char* utf8) { return HeapCopy(pl3::Utf8ToAnsi(utf8 ? utf8 : "")); }

std::string Utf8(const char* ansi) { return pl3::AnsiToUtf8(ansi ? ansi : ""); }

// The first attribute whose name is exactly `name`.
pugi::xml_attribute FindAttribute(pugi::xml_node node, const char* name) {
  if (!node || !name) return {};
  const std::string wanted = Utf8(name);
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (wanted == a.name()) return a;
  return {};
}

bool Append(XmlHandle* parent, XmlHandle* child) {
  pugi::xml_node to = NodeOf(parent), from = NodeOf(child);
  if (!to || !from || from.type() == pugi::node_document) return false;
  // Within one tree the node moves, as a DOM does; pugixml refuses a move
  // into the node's own subtree.
  pugi::xml_node placed = from.root() == to.root() ? to.append_move(from) : to.append_copy(from);
  if (!placed) return false;
  child->node = placed;
  child->document = parent->document;
  return true;
}

}  // namespace

void CreateXmlDocument(XmlHandle** document) {
  if (!document) return;
  auto state = std::make_shared<XmlDocumentState>();
  *document = new XmlHandle{state, state->tree};
}

void FreeXmlHandle(XmlHandle* handle) { delete handle; }

bool LoadXmlDocumentText(XmlHandle* document, const void* text, std::size_t size) {
  if (!document || !document->document || document->node != document->document->tree) return false;
  pugi::xml_document parsed;
  if (!parsed.load_buffer(text, size, kParseOptions, pugi::encoding_auto)) return false;
  pugi::xml_document& tree = document->document->tree;
  tree.reset(parsed);
  return true;
}

bool LoadXmlDocument(XmlHandle* document, const char* path) {
  if (!document || !path) return false;
  std::ifstream in(pl3::HostPath(path), std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  return LoadXmlDocumentText(document, bytes.data(), bytes.size());
}

bool SaveXmlDocument(XmlHandle* document, const char* path) {
  if (!document || !path || !document->document) return false;
  std::ostringstream out;
  document->document->tree.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
  const std::string text = out.str();
  return WriteBytesSafely(path, std::vector<std::uint8_t>(text.begin(), text.end()), nullptr);
}

XmlHandle* GetXmlDocumentElement(XmlHandle* document) {
  if (!document || !document->document) return nullptr;
  return NewHandle(document->document, document->document->tree.document_element());
}

XmlHandle* CreateXmlElement(XmlHandle* document, const char* name) {
  if (!document || !document->document || !name) return nullptr;
  const std::string utf8 = Utf8(name);
  if (utf8.empty()) return nullptr;
  return NewHandle(document->document, document->document->unattached.append_child(utf8.c_str()));
}

int AppendXmlChild(XmlHandle* parent, XmlHandle* child) {
  Append(parent, child);
  return 0;
}

int AppendXmlChildChecked(XmlHandle* parent, XmlHandle* child) { return Append(parent, child) ? 1 : 0; }

bool SetXmlAttributeInt(XmlHandle* element, const char* name, std::int32_t value) {
  pugi::xml_node node = NodeOf(element);
  if (node.type() != pugi::node_element || !name || !*name) return false;
  pugi::xml_attribute a = FindAttribute(node, name);
  if (!a) a = node.append_attribute(Utf8(name).c_str());
  return a && a.set_value(static_cast<int>(value));
}

XmlHandle* GetXmlFirstChild(XmlHandle* node) {
  return node ? NewHandle(node->document, node->node.first_child()) : nullptr;
}
XmlHandle* GetXmlLastChild(XmlHandle* node) {
  return node ? NewHandle(node->document, node->node.last_child()) : nullptr;
}
XmlHandle* GetXmlNextSibling(XmlHandle* node) {
  return node ? NewHandle(node->document, node->node.next_sibling()) : nullptr;
}

int GetXmlChildCount(XmlHandle* node) {
  int count = 0;
  for (pugi::xml_node c = NodeOf(node).first_child(); c && count < INT_MAX; c = c.next_sibling()) ++count;
  return count;
}

char* GetXmlNodeName(XmlHandle* node) {
  pugi::xml_node n = NodeOf(node);
  switch (n.type()) {
    case pugi::node_null: return nullptr;
    case pugi::node_document: return HeapCopy("#document");
    case pugi::node_pcdata: return HeapCopy("#text");
    case pugi::node_cdata: return HeapCopy("#cdata-section");
    case pugi::node_comment: return HeapCopy("#comment");
    default: return AnsiCopy(n.name());
  }
}

char* GetXmlAttribute(XmlHandle* node, const char* name) {
  pugi::xml_attribute a = FindAttribute(NodeOf(node), name);
  return a ? AnsiCopy(a.value()) : nullptr;
}

std::int32_t GetXmlAttributeInt(XmlHandle* node, const char* name, int* found) {
  pugi::xml_attribute a = FindAttribute(NodeOf(node), name);
  if (!a) return 0;
  if (found) *found = 1;
  errno = 0;
  const long long value = std::strtoll(a.value(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}
