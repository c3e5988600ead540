// Size texts come from users' files: any bytes must parse without a crash,
// and a written table must read back to the same text. (The first writing
// may still differ from the input: values are rounded to three decimals and
// an entry whose rounded value no longer fits is dropped on reading.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "objects/size_text.h"
#include "platform/responder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pl3::ClearResponderRecords();  // "Unknown Section!" boxes are answered by the headless default
  auto table = ParseSizeText(reinterpret_cast<const char*>(data), size);
  const std::string first = WriteSizeText(*table);
  auto once = ParseSizeText(first.data(), first.size());
  const std::string text = WriteSizeText(*once);
  auto twice = ParseSizeText(text.data(), text.size());
  if (WriteSizeText(*twice) != text) std::abort();
  return 0;
}
