#include "objects/designators.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "edit/window_data.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "store/seams.h"

namespace {

// Calls visit with the text of every designator group of every symbol
// instance under the design until it returns false.
void ForEachDesignatorText(const Tower* design, const std::function<bool(const char*)>& visit) {
  Tower* symbols = design ? GetChildTower(design, Type_SymbolInstance) : nullptr;
  bool going = true;
  while (going && symbols && FindNextEntity(symbols)) {
    Tower* groups = GetChildTower(symbols, Type_Designator);
    while (going && groups && FindNextEntity(groups)) {
      if (const char* name = GetDesignatorText(groups)) going = visit(name);
    }
    ReleaseTower(&groups);
  }
  ReleaseTower(&symbols);
}

}  // namespace

const char* GetNewestChildText(const Tower* parent, std::uint16_t code) {
  Tower* child = NewestChildTower(parent, code);
  const Entity* e = TowerEntity(child);
  const char* found = nullptr;
  if (e && e->payloadSize > 0) {
    const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
    if (std::memchr(p, 0, e->payloadSize)) found = p;
  }
  ReleaseTower(&child);
  return found;
}

const char* GetDesignatorText(const Tower* designatorGroup) {
  return GetNewestChildText(designatorGroup, Type_DesignatorString);
}

int SetDesignatorText(const Tower* designatorGroup, const char* text) {
  std::string upper(text ? text : "");
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Tower* stored = InsertEntity(designatorGroup, static_cast<std::uint32_t>(upper.size() + 1), Type_DesignatorString,
                               upper.c_str());
  ReleaseTower(&stored);
  return 1;
}

const char* GetDesignatorString(const Tower* t) {
  Tower* group = t ? GetEnclosingTower(t, Type_Designator) : nullptr;
  const char* text = group ? GetDesignatorText(group) : nullptr;
  ReleaseTower(&group);
  return text;
}

char* FindNextDesignatorString(const char* text, const Tower* design) {
  const char* base = text ? text : "";
  const std::string_view prefix(base, PrefixLength(base));
  std::uint64_t largest = 0;
  ForEachDesignatorText(design, [&](const char* name) {
    const std::size_t own = PrefixLength(name);
    if (pl3::EqualsNoCase(std::string_view(name, own), prefix)) {
      const std::uint64_t n = ReadClamped(name + own, kPinNumberLimit);
      if (n > largest) largest = n;
    }
    return true;
  });
  if (largest >= kPinNumberLimit) {
    MessageBox(nullptr, "Too high a designator number", "FindNextDesignatorString",
               MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    largest = kPinNumberFallback;
  }
  std::string result(prefix);
  result += std::to_string(largest + 1);
  return strdup(result.c_str());
}

int IsDesignatorUnused(const char* text, const Tower* design) {
  const std::string_view wanted(text ? text : "");
  int unused = 1;
  ForEachDesignatorText(design, [&](const char* name) {
    if (pl3::EqualsNoCase(std::string_view(name), wanted)) unused = 0;
    return unused == 1;
  });
  return unused;
}

void RedesignateSymbol(const Tower* instance) {
  if (!instance || !TowerEntity(instance)) return;
  Tower* group = NewestChildTower(instance, Type_Designator);
  if (group) {
    char* next = FindNextDesignatorString(GetDesignatorText(group), ActiveWindowData ? ActiveWindowData->design : nullptr);
    SetDesignatorText(group, next);
    std::free(next);
    ReleaseTower(&group);
  }
  // A renumbered copy belongs to no net yet.
  Tower* pads = GetChildTower(instance, Type_PadStackInstanceInfo);
  while (pads && FindNextEntity(pads)) {
    if (std::uint8_t* p = PayloadOfAtLeast(TowerEntity(pads), 16)) std::memset(p + 8, 0, 8);
  }
  ReleaseTower(&pads);
}
