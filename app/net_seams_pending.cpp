// The program's stand-ins for the netlist code's net look-ups
// (objects/attribute_services.h) until it lands: no point lies on a net, so
// nothing is proposed and no name is invented; no locator is redrawn.
#include <cstdlib>
#include <cstring>

#include "objects/attribute_services.h"

namespace {
char* HeapText(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}
}  // namespace

char* GetLocatorNetName(const Tower*, std::int32_t, std::int32_t) { return HeapText("None"); }
char* GetNetNameAtPoint(const Tower*, std::int32_t, std::int32_t) { return HeapText(""); }
void UpdateNetNameLocators(const Tower*, std::uint32_t) {}
