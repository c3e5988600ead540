// Item data streams: no crash, no sanitizer report, a refused stream leaves
// its parent as it was, and a loaded tree writes a stream that loads again to
// a tree that writes the same number of bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/store/tower_fuzz_support.h"
#include "platform/responder.h"
#include "store/item_stream.h"

namespace {

Tower* NewParent() {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = 900;
  InsertAtLastLevel(t, 0);
  return t;
}

void DeleteParent(Tower** t) {
  DeleteEntity(*t);
  ReleaseTower(t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  towerfuzz::StartStoreOnce();
  Tower* parent = NewParent();
  std::string error;
  Tower* loaded = ParseRecordStream(data, size, parent, &error);
  if (loaded) {
    const std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(loaded));
    Tower* again = ParseRecordStream(stream.data(), stream.size(), parent, &error);
    if (!again) towerfuzz::Fail("a written stream does not load");
    if (WriteRecordStream(TowerEntity(again)).size() != stream.size()) towerfuzz::Fail("a reload writes other bytes");
    ReleaseTower(&again);
    ReleaseTower(&loaded);
  } else {
    if (TowerEntity(parent)->firstChild) towerfuzz::Fail("a refused stream left nodes behind");
    std::uint32_t count = 0;
    if (size >= 4) __builtin_memcpy(&count, data, 4);
    if (count != 0 && error.empty()) towerfuzz::Fail("a refused stream without an error text");
  }
  DeleteParent(&parent);
  pl3::ClearResponderRecords();
  return 0;
}
