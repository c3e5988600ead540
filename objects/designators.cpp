#include "objects/designators.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "store/seams.h"

const char* GetDesignatorText(const Tower* designatorGroup) {
  Tower* text = NewestChildTower(designatorGroup, Type_DesignatorString);
  const Entity* e = TowerEntity(text);
  const char* found = nullptr;
  if (e && e->payloadSize > 0) {
    const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
    if (std::memchr(p, 0, e->payloadSize)) found = p;
  }
  ReleaseTower(&text);
  return found;
}

int SetDesignatorText(const Tower* designatorGroup, const char* text) {
  std::string upper(text ? text : "");
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Tower* stored = InsertEntity(designatorGroup, static_cast<std::uint32_t>(upper.size() + 1), Type_DesignatorString,
                               upper.c_str());
  ReleaseTower(&stored);
  return 1;
}

char* FindNextDesignatorString(const char* text, const Tower* design) {
  const char* base = text ? text : "";
  const std::string_view prefix(base, PrefixLength(base));
  std::uint64_t largest = 0;
  Tower* symbols = design ? GetChildTower(design, Type_SymbolInstance) : nullptr;
  while (symbols && FindNextEntity(symbols)) {
    Tower* groups = GetChildTower(symbols, Type_Designator);
    while (groups && FindNextEntity(groups)) {
      const char* name = GetDesignatorText(groups);
      if (!name) continue;
      const std::size_t own = PrefixLength(name);
      if (!pl3::EqualsNoCase(std::string_view(name, own), prefix)) continue;
      const std::uint64_t n = ReadClamped(name + own, kPinNumberLimit);
      if (n > largest) largest = n;
    }
    ReleaseTower(&groups);
  }
  ReleaseTower(&symbols);
  if (largest >= kPinNumberLimit) {
    MessageBox(nullptr, "Too high a designator number", "FindNextDesignatorString",
               MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    largest = kPinNumberFallback;
  }
  std::string result(prefix);
  result += std::to_string(largest + 1);
  return strdup(result.c_str());
}
