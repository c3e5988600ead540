// The XML layer over any text: malformed, deep, DTDs, bad bytes. No crash, no
// sanitizer report; whatever loads can be walked to the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  XmlHandle* doc = nullptr;
  CreateXmlDocument(&doc);
  if (!doc) std::abort();
  if (LoadXmlDocumentText(doc, data, size)) {
    // Depth first without recursion: a deep document must not exhaust the stack.
    std::vector<XmlHandle*> pending{GetXmlDocumentElement(doc)};
    while (!pending.empty()) {
      XmlHandle* node = pending.back();
      pending.pop_back();
      if (!node) continue;
      std::free(GetXmlNodeName(node));
      std::free(GetXmlAttribute(node, "type"));
      int found = 0;
      GetXmlAttributeInt(node, "size", &found);
      if (GetXmlChildCount(node) < 0) std::abort();
      pending.push_back(GetXmlNextSibling(node));
      pending.push_back(GetXmlFirstChild(node));
      if (SetXmlAttributeInt(node, "fuzz", static_cast<std::int32_t>(size)) &&
          GetXmlAttributeInt(node, "fuzz", nullptr) != static_cast<std::int32_t>(size))
        std::abort();
      FreeXmlHandle(node);
    }
  }
  FreeXmlHandle(doc);
  return 0;
}
