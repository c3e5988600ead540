// "SELECTLAYERDLG" ("Select Layer"): picks a layer from a private copy of the
// window's layer table, so that Cancel never changes the design.
#pragma once
#include <cstddef>
#include <cstdint>

#include "objects/layer_table.h"
#include "platform/gdi.h"
#include "platform/user.h"

struct NMHDR;

// The parameter block of the layer dialogs.
struct SelectLayerBlock {
  std::uint8_t options;      // bit 0: OK needs no selected row
  std::uint8_t spare1[3];
  std::uint8_t chosenLayer;  // in: the current layer; out: the chosen one
  std::uint8_t spare5;
  std::uint16_t mode;        // the layer kind the list is limited to; 0 for any
  LayerTable table;          // the copy the dialog works on
};
static_assert(sizeof(SelectLayerBlock) == 24592);
static_assert(offsetof(SelectLayerBlock, mode) == 6);
static_assert(offsetof(SelectLayerBlock, table) == 8);

constexpr int kSelectLayerList = 51;
constexpr int kLayerListHeader = 52;  // the header over the layer list

// The remembered column widths of the two layer lists.
constexpr int kSelectLayerColumnSet = 30001;
constexpr int kAdvancedLayerColumnSet = 30002;

// The name of a layer kind ("Undefined" for kinds past the table).
const char* LayerKindName(std::uint16_t kind);
// Empties the list and adds a row per record in use that has every bit of
// mask (and the block's kind, when it names one); each row's data is the
// layer index and the chosen layer's row is selected. Returns the row count.
int FillLayerList(HWND dialog, int listId, const SelectLayerBlock* block, std::uint32_t mask);
// Puts the header headerId over the list with the columns "Name", "Colour",
// "Type", "Next", "Active" and "Key": the widths remembered for Configure
// Layers (advanced) or Select Layer, else 0.2, 0.15, 0.2, 0.2 and 0.15 of
// the list's width and the rest (then remembered). False without the list.
bool CreateLayerListHeader(HWND dialog, int listId, int headerId, bool advanced);
// A header's notification that a divider moved: the new widths go into the
// remembered set and the list is repainted. False for any other notification.
bool OnLayerListHeaderNotify(HWND dialog, const NMHDR* note, int listId, int headerId, bool advanced);
// One owner-drawn row in the columns of the dialog's header headerId: name,
// colour stroke, kind, partner ("N/A" when the layer is not enabled), active
// state and key letter. A stored key letter that is not a letter or digit is
// cleared in the block.
void DrawLayerListItem(HWND dialog, int headerId, const DRAWITEMSTRUCT* item, SelectLayerBlock* block);
// A 4-pixel line across the cell in the active window's colour of the plane bit.
void DrawColourStroke(HDC dc, const RECT& cell, std::uint32_t planeBit);
// Configure Layers on the block; 1 on OK. Owned by the layer dialogs that
// edit the table.
int RunAdvancedLayerDialog(HWND owner, SelectLayerBlock* block);

// Fills the block from the window's table; the mode word as given.
void PrepareSelectLayerBlock(SelectLayerBlock* block, const LayerTable& table, std::uint8_t current,
                             std::uint16_t mode);
// Runs the dialog; 1 on OK (the block's chosen layer set), 0 on Cancel.
int ShowSelectLayerDialog(HWND owner, SelectLayerBlock* block);
INT_PTR CALLBACK SelectLayerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
