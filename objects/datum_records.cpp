#include "objects/datums.h"

#include <cctype>
#include <cstring>

// The plain record helpers of datums, apart from the drawing and look-up
// code so that the store's record sizes need nothing more.
namespace {

std::size_t NameLength(const DatumPayload* datum) { return strnlen(datum->name, kDatumNameRoom - 1); }

}  // namespace

std::string DatumName(const DatumPayload* datum) { return std::string(datum->name, NameLength(datum)); }

std::uint32_t GetDatumRecordSize(const DatumPayload* datum) {
  return DatumStoredSize(static_cast<std::uint32_t>(NameLength(datum)));
}

std::uint32_t GetDatumRecordSize(const EntityRecord& record) {
  return GetDatumRecordSize(reinterpret_cast<const DatumPayload*>(record.payload));
}

std::uint8_t NormaliseDatumKeyStroke(int character) {
  if (character < 0 || character > 127 || !std::isalnum(character)) return 0;
  return static_cast<std::uint8_t>(std::toupper(character));
}

