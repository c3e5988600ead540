// Recording stand-ins for the per-kind locator handlers: each notes its name
// and, for a box, writes a box that names it.
#include "locator_kind_fakes.h"

#include <cstring>

namespace locatortest {
std::vector<std::string>& HandlerCalls() {
  static std::vector<std::string> calls;
  return calls;
}
pl3::Box HandlerBox(const std::string& name) {
  // A box that differs per handler and is never the empty box.
  std::uint32_t h = 0;
  for (char c : name) h = h * 31 + static_cast<unsigned char>(c);
  const auto n = static_cast<std::int32_t>(h & 0xFFFF) * 10;
  return {n, n + 1, n + 1000, n + 1001};
}
pl3::Box& BoxOverride() {
  static pl3::Box box{-1, -1, 0, 0};
  return box;
}
}  // namespace locatortest

namespace {
int Status(const char* name) {
  locatortest::HandlerCalls().push_back(name);
  return 7;
}
int FillBox(const char* name, pl3::Box* box) {
  locatortest::HandlerCalls().push_back(name);
  const pl3::Box& over = locatortest::BoxOverride();
  *box = over.xmin == -1 && over.xmax == 0 ? locatortest::HandlerBox(name) : over;
  return 1;
}
void Insert(const char* name) { locatortest::HandlerCalls().push_back(name); }
}  // namespace

#define PL3_STATUS(f) \
  int f(const Tower*, DrawStatusBlock*) { return Status(#f); }
#define PL3_BOX(f) \
  int f(const Tower*, pl3::Box* box) { return FillBox(#f, box); }
#define PL3_INSERT(f) \
  void f(EntityRecord*) { Insert(#f); }

PL3_STATUS(GetPinNumberLocatorStatus)
PL3_STATUS(GetNetNameLocatorStatus)
PL3_STATUS(GetPinNameLocatorStatus)
PL3_STATUS(GetDesignatorLocatorStatus)
PL3_STATUS(GetPortLocatorStatus)
PL3_STATUS(GetValueLocatorStatus)
PL3_STATUS(GetUserLocatorStatus)
PL3_STATUS(GetDisplayNetNameLocatorStatus)
PL3_STATUS(GetGlobalNetsLocatorStatus)

PL3_BOX(GetPinNumberLocatorBox)
PL3_BOX(GetNetNameLocatorBox)
PL3_BOX(GetPinNameLocatorBox)
PL3_BOX(GetDesignatorLocatorBox)
PL3_BOX(GetIOPortLocatorBox)
PL3_BOX(GetValueLocatorBox)
PL3_BOX(GetGraphicNetNameLocatorBox)
PL3_BOX(GetUserLocatorBox)
PL3_BOX(GetNamedIOPortLocatorBox)
PL3_BOX(GetDisplayNetNameLocatorBox)
PL3_BOX(GetGlobalNetsLocatorBox)

PL3_INSERT(InsertPinNumberLocator)
PL3_INSERT(InsertNetNameLocator)
PL3_INSERT(InsertPinNameLocator)
PL3_INSERT(InsertTextLocator)
PL3_INSERT(InsertIOPortLocator)
PL3_INSERT(InsertGraphicNetNameLocator)
PL3_INSERT(InsertUserLocator)
PL3_INSERT(InsertNamedIOPortLocator)
PL3_INSERT(InsertGlobalNetsLocator)
