// The program's stand-in for the picking code's symbol search
// (edit/symbol_search_seams.h) until it lands: no symbol is found, so the
// symbol commands beep and change nothing.
#include "edit/symbol_search_seams.h"

Tower* FindClosestSymbol(std::int32_t, std::int32_t, std::uint8_t) { return nullptr; }
