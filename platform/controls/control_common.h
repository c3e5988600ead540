// What the basic controls share: notifying the parent, the control font,
// colours from the parent, and the item list behind list boxes and combo
// boxes (with sorting through WM_COMPAREITEM for owner-drawn lists).
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/user_internal.h"

namespace pl3::controls {

void Notify(HWND control, WORD code);
// The control's font (WM_SETFONT), else the GUI font.
HFONT ControlFont(HWND control);
// Asks the parent for the brush and colours (WM_CTLCOLOR...), selecting the
// font into dc; returns the brush to fill with.
HBRUSH PrepareDC(HWND control, HDC dc, UINT ctlColorMessage);
int FontHeight(HWND control);
// WM_PAINT of a control: paints the update through `paint` between
// BeginPaint and EndPaint; returns 0 for the window procedure.
LRESULT PaintControl(HWND control, void (*paint)(HWND, HDC));

struct ListItem {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;
};

// Items of a list box or combo box, with their parent-facing ownership rules.
struct ItemList {
  HWND owner = nullptr;  // the list box or combo box
  UINT ctlType = ODT_LISTBOX;
  bool hasStrings = true;
  bool sorted = false;
  bool ownerDrawn = false;
  bool variable = false;
  int itemHeight = 16;
  std::vector<ListItem> items;

  int Count() const { return static_cast<int>(items.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  // Inserts at `index` (-1: the end; sorted lists find their own place).
  int Insert(int index, LPARAM value);
  bool Erase(int index);
  void Clear();
  int Find(int start, const char* text, bool exact) const;
  void Measure(int index);
  int Compare(int index, LPARAM value);
  // The item messages list boxes and combo boxes share; -1 on a bad index.
  enum class Query { GetText, TextLength, GetData, SetData, Find, FindExact };
  LRESULT Answer(Query q, WPARAM wParam, LPARAM lParam);
  // Inserts at a given place even in a sorted list (LB_INSERTSTRING, CB_INSERTSTRING).
  int InsertAt(int index, LPARAM value);
};

// Draws one item the way an owner-drawn control would be asked to, or as
// plain text when not owner-drawn.
void DrawListItem(const ItemList& list, HDC dc, int index, const RECT& rc, bool selected, bool focus, UINT extraState,
                  HBRUSH background);

}  // namespace pl3::controls
