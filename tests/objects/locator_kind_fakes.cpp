// Recording stand-ins for the kind handlers and insert handlers the locator
// dispatch calls: each notes its name; the box handler writes a box.
#include "locator_kind_fakes.h"

#include <cstddef>
#include <cstring>

#include "store/tower.h"

namespace locatortest {
std::vector<std::string>& HandlerCalls() {
  static std::vector<std::string> calls;
  return calls;
}
}  // namespace locatortest

namespace {
int Status(const char* name) {
  locatortest::HandlerCalls().push_back(name);
  return 7;
}
void Insert(const char* name) { locatortest::HandlerCalls().push_back(name); }
}  // namespace

int GetLocatorKindHandlePoint(const Tower*, DragStatus*) { return Status("handlePoint"); }
// The box of a locator starts at its anchor x.
int GetLocatorKindBox(const Tower* locator, pl3::Box* box) {
  locatortest::HandlerCalls().push_back("box");
  std::int32_t x = 0;
  std::memcpy(&x, TowerPayload(locator) + offsetof(LocatorPayload, x), 4);
  *box = {x, x + 1, x + 1000, x + 1001};
  return 1;
}

#define PL3_INSERT(f) \
  int f(EntityRecord*) {  \
    Insert(#f);           \
    return 1;             \
  }
PL3_INSERT(InsertPinTextLocator)
PL3_INSERT(InsertNetNameLocator)
PL3_INSERT(InsertMarkedChangeLocator)
PL3_INSERT(InsertIOPortLocator)
PL3_INSERT(InsertNamedIOPortLocator)
PL3_INSERT(InsertDisplayGlobalNetsLocator)
PL3_INSERT(InsertPlainLocator)
int DeleteLocatorWithAttribute(Tower*) {
  Insert("DeleteLocatorWithAttribute");
  return 1;
}
