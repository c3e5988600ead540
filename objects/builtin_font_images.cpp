// The two font images, assembled into the program from data/ (the build
// passes each file's path, and its digest so that a changed image is never
// taken from a compiler cache).
#include "objects/builtin_fonts.h"

#define PL3_STRINGIFY2(x) #x
#define PL3_STRINGIFY(x) PL3_STRINGIFY2(x)

extern "C" const std::uint8_t pl3_builtin_font_1[];
extern "C" const std::uint8_t pl3_builtin_font_1_end[];
extern "C" const std::uint8_t pl3_builtin_font_2[];
extern "C" const std::uint8_t pl3_builtin_font_2_end[];

asm(".section .rodata\n"
    ".balign 16\n"
    ".global pl3_builtin_font_1\n"
    "pl3_builtin_font_1:\n"
    ".incbin \"" PL3_FONT_IMAGE_1 "\"\n"
    ".global pl3_builtin_font_1_end\n"
    "pl3_builtin_font_1_end:\n"
    ".balign 16\n"
    ".global pl3_builtin_font_2\n"
    "pl3_builtin_font_2:\n"
    ".incbin \"" PL3_FONT_IMAGE_2 "\"\n"
    ".global pl3_builtin_font_2_end\n"
    "pl3_builtin_font_2_end:\n"
    ".previous\n");

// Only here so that a changed image changes this file's compiled form.
[[maybe_unused]] static const char* const kImageDigests = PL3_STRINGIFY(PL3_FONT_IMAGE_DIGESTS);

BuiltInFontImage FirstBuiltInFontImage() {
  return {pl3_builtin_font_1, static_cast<std::size_t>(pl3_builtin_font_1_end - pl3_builtin_font_1)};
}
BuiltInFontImage SecondBuiltInFontImage() {
  return {pl3_builtin_font_2, static_cast<std::size_t>(pl3_builtin_font_2_end - pl3_builtin_font_2)};
}
