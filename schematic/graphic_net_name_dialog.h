// Dialog 1035 "Graphical Net Name": the net name and the net-name graphic
// symbol that a Graphic Net Name locator draws around it. The symbol is chosen
// with the item chooser and loaded under the current Schematic.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;
struct StoreItemChoice;

constexpr std::uint32_t kGraphicNetNameBufferSize = 1024;
constexpr std::uint16_t kTypeDontReloadGroup = 242;
constexpr std::uint16_t kTypeSymbolFileName = 214;
constexpr std::uint16_t kTypeSymbolLibraryName = 219;

struct GraphicNetNameChoice {
  char netName[kGraphicNetNameBufferSize] = {};
  Tower* symbol = nullptr;  // the accepted symbol under the Schematic; the caller releases the Tower
};

// The chooser the "Browse..." button calls (the store's item chooser that
// loads the chosen item under a parent); tests replace it.
using GraphicSymbolChooser = StoreItemChoice* (*)(HWND parent, const char* filter, int mode, const Tower* loadingParent);
extern GraphicSymbolChooser GraphicNetNameChooser;

// Makes a loaded symbol ready to be kept: 0 (and the message "The symbol you
// have selected is of an invalid type. Please select a net name graphic
// symbol", captioned "Error loading net name graphic symbol") when it does not
// carry the net-name graphic marker; otherwise its Don't Reload Group records
// are deleted, the sizes of its texts and locators taken from the size table
// are frozen, and 1 is returned.
int AcceptNetNameGraphicSymbol(HWND owner, const Tower* symbol);

// Runs the dialog over the Schematic. Returns 1 on OK with the net name and
// the symbol in the choice; 0 on Cancel, when a symbol loaded while it ran is
// removed again.
int ShowGraphicNetNameDialog(HWND owner, const Tower* schematic, GraphicNetNameChoice* choice);
