// A copied schematic symbol made independent of its original's package.
#include <cstddef>
#include <cstdint>

#include "edit/clipboard.h"
#include "edit/clipboard_seams.h"
#include "store/tower.h"

namespace {
constexpr std::size_t kPackageReferenceSize = 1024;
constexpr std::uint16_t kTypeSymbolGateRecord = 11016;
}  // namespace

void DetachCopiedSymbolPackage(const Tower* copy) {
  char reference[kPackageReferenceSize];
  RecordPackageReference(copy, reference, sizeof reference);
  DeleteChildEntities(copy, kTypeSymbolGateRecord);
  UnpackageSymbol(copy);
}
