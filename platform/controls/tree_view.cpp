// The tree view ("SysTreeView32"): items in a hierarchy with lines, buttons
// and images; selection, expansion, label editing, drag start, hit testing
// and drag images, with the TVN_ notifications a parent relies on.
//
// The parent may delete items or the tree itself while a notification is
// being answered, so no item or state reference is held across SendNotify:
// everything is found again by handle afterwards.
#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "platform/commctrl.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"
#include "platform/scroll.h"
#include "platform/text_case.h"

namespace pl3::controls {

namespace {

using ItemId = std::uintptr_t;  // a handle's value; 0 is none

constexpr int kNotSet = -2;  // cChildren never given: follows the item's real children
constexpr UINT kEditTimer = 0x7E11;
constexpr UINT kTipTimer = 0x7E12;
constexpr UINT kHoverTime = 400;  // milliseconds of rest before an item's tip shows


struct TreeItem {
  ItemId parent = 0;
  std::vector<ItemId> children;
  std::string text;
  bool textCallback = false;
  int image = 0;
  int selectedImage = 0;
  int childCount = kNotSet;
  UINT state = 0;
  LPARAM param = 0;
  int labelWidth = -1;  // measured when last laid out; -1 when not known
};

struct TreeState : user::WindowState {
  std::map<ItemId, TreeItem> items;
  std::vector<ItemId> roots;
  ItemId selected = 0;
  ItemId dropHilite = 0;
  int top = 0;  // the first visible row shown
  int left = 0;  // pixels scrolled to the right
  int shownCount = 0;    // visible rows and the widest label's right end, as the
  int contentWidth = 0;  // bars were last set from them
  HIMAGELIST images = nullptr;
  HIMAGELIST stateImages = nullptr;
  int indent = 19;
  HFONT font = nullptr;
  bool focused = false;
  HWND edit = nullptr;
  ItemId editing = 0;
  ItemId pressed = 0;  // left button down on it, not yet dragged
  POINT pressAt{};
  ItemId editOnClick = 0;  // a click on the selected label: edit unless a double click follows
  ItemId hovered = 0;  // under the resting pointer, its tip pending or shown
  HWND tip = nullptr;
  std::string typed;  // letters typed in quick succession, sought as a label's start
  std::uint64_t typedAt = 0;
};

WNDPROC gEditProc = nullptr;  // the EDIT class procedure under the label edits

// Handles count up over every tree, so one tree's handle never names another's item.
ItemId gNextItem = 0x10000;

TreeState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<TreeState*>(w->state.get()) : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
ItemId IdOf(HTREEITEM item) { return reinterpret_cast<ItemId>(item); }
HTREEITEM HandleOf(ItemId id) { return reinterpret_cast<HTREEITEM>(id); }

TreeItem* ItemOf(HWND hwnd, ItemId id) {
  TreeState* st = StateOf(hwnd);
  if (!st || !id) return nullptr;
  auto it = st->items.find(id);
  return it == st->items.end() ? nullptr : &it->second;
}

std::vector<ItemId>& Siblings(TreeState& st, ItemId parent) {
  return parent ? st.items[parent].children : st.roots;
}

bool HasChildren(const TreeItem& item) {
  return item.childCount == kNotSet ? !item.children.empty() : item.childCount != 0;
}

bool IsAncestor(TreeState& st, ItemId ancestor, ItemId item) {
  for (ItemId p = item; p; p = st.items[p].parent)
    if (p == ancestor) return true;
  return false;
}

int Depth(TreeState& st, ItemId id) {
  int depth = 0;
  for (ItemId p = st.items[id].parent; p; p = st.items[p].parent) ++depth;
  return depth;
}

void AppendVisible(TreeState& st, const std::vector<ItemId>& level, std::vector<ItemId>& out) {
  for (ItemId id : level) {
    out.push_back(id);
    const TreeItem& item = st.items[id];
    if (item.state & TVIS_EXPANDED) AppendVisible(st, item.children, out);
  }
}

// The items a user can reach by scrolling, top to bottom.
std::vector<ItemId> VisibleItems(TreeState& st) {
  std::vector<ItemId> out;
  AppendVisible(st, st.roots, out);
  return out;
}

int RowOf(TreeState& st, ItemId id) {
  const std::vector<ItemId> rows = VisibleItems(st);
  auto it = std::find(rows.begin(), rows.end(), id);
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

HFONT TreeFont(TreeState& st) {
  return st.font ? st.font : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int RowHeight(HWND hwnd, TreeState& st) {
  return std::max(FontHeight(hwnd) + 3, ImageListSize(st.images, true) + 1);
}

int PageRows(HWND hwnd, TreeState& st) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return std::max(1, (rc.bottom - rc.top) / RowHeight(hwnd, st));
}

// The left edge of an item's image (or label when there is no image list).
int ItemLeft(HWND hwnd, TreeState& st, ItemId id) {
  const DWORD style = StyleOf(hwnd);
  const bool rootColumn = (style & TVS_LINESATROOT) && (style & (TVS_HASLINES | TVS_HASBUTTONS));
  return (Depth(st, id) + (rootColumn ? 1 : 0)) * st.indent + 3;
}

std::string ItemText(HWND hwnd, ItemId id);

int LabelWidth(HWND hwnd, TreeState& st, const std::string& text) {
  HDC dc = GetDC(hwnd);
  auto old = SelectObject(dc, TreeFont(st));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size.cx + 4;
}

struct ItemBox {
  RECT row;
  int buttonCentre;  // x of the lines and button column
  int imageLeft;
  RECT label;
};

ItemBox BoxOf(HWND hwnd, ItemId id, int row) {
  TreeState& st = *StateOf(hwnd);
  const int h = RowHeight(hwnd, st);
  RECT rc;
  GetClientRect(hwnd, &rc);
  ItemBox box{};
  const int y = (row - st.top) * h;
  box.row = RECT{0, y, rc.right, y + h};
  box.imageLeft = ItemLeft(hwnd, st, id) - st.left;
  box.buttonCentre = box.imageLeft - st.indent / 2 - 1;
  const int labelLeft = box.imageLeft + (st.images ? ImageListSize(st.images, false) + 3 : 0);
  const int width = LabelWidth(hwnd, st, ItemText(hwnd, id));
  if (TreeItem* item = ItemOf(hwnd, id)) item->labelWidth = width;
  box.label = RECT{labelLeft, y, labelLeft + width, y + h};
  return box;
}

// The width of everything that can be scrolled to: the right end of the
// widest label. Labels the parent gives count once they were drawn.
int ContentWidth(HWND hwnd, TreeState& st) {
  const int imageWidth = st.images ? ImageListSize(st.images, false) + 3 : 0;
  int widest = 0;
  for (ItemId id : VisibleItems(st)) {
    TreeItem& item = st.items[id];
    if (item.labelWidth < 0 && !item.textCallback) item.labelWidth = LabelWidth(hwnd, st, item.text);
    widest = std::max(widest, ItemLeft(hwnd, st, id) + imageWidth + std::max(item.labelWidth, 0));
  }
  return widest;
}

// ---- Notifications ----

void FillItem(HWND hwnd, ItemId id, TVITEM& out) {
  out = TVITEM{};
  TreeItem* item = ItemOf(hwnd, id);
  out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  out.hItem = HandleOf(id);
  if (!item) return;
  out.state = item->state;
  out.stateMask = 0xFFFF;
  out.lParam = item->param;
  out.iImage = item->image;
  out.iSelectedImage = item->selectedImage;
}

LRESULT NotifyTree(HWND hwnd, UINT code, UINT action, ItemId oldItem, ItemId newItem, POINT pt = POINT{}) {
  NMTREEVIEW nm{};
  nm.action = action;
  FillItem(hwnd, oldItem, nm.itemOld);
  FillItem(hwnd, newItem, nm.itemNew);
  nm.ptDrag = pt;
  return SendNotify(hwnd, code, &nm.hdr);
}

// Asks the parent for the parts of an item it keeps itself.
void AskDisplayInfo(HWND hwnd, ItemId id, UINT mask, TVITEM& out, char* buffer, int size) {
  NMTVDISPINFO nm{};
  FillItem(hwnd, id, nm.item);
  nm.item.mask = mask;
  nm.item.pszText = buffer;
  nm.item.cchTextMax = size;
  if (buffer && size > 0) buffer[0] = '\0';
  SendNotify(hwnd, TVN_GETDISPINFO, &nm.hdr);
  out = nm.item;
}

std::string ItemText(HWND hwnd, ItemId id) {
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return {};
  if (!item->textCallback) return item->text;
  char buffer[260];
  TVITEM answer{};
  AskDisplayInfo(hwnd, id, TVIF_TEXT, answer, buffer, sizeof buffer);
  if (!answer.pszText) return {};
  if (answer.pszText == buffer) buffer[sizeof buffer - 1] = '\0';
  return answer.pszText;
}

int ItemImage(HWND hwnd, ItemId id, bool selected) {
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return 0;
  const int image = selected ? item->selectedImage : item->image;
  if (image != I_IMAGECALLBACK) return image;
  TVITEM answer{};
  AskDisplayInfo(hwnd, id, selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE, answer, nullptr, 0);
  return selected ? answer.iSelectedImage : answer.iImage;
}

bool ItemHasChildren(HWND hwnd, ItemId id) {
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return false;
  if (item->childCount != I_CHILDRENCALLBACK) return HasChildren(*item);
  TVITEM answer{};
  AskDisplayInfo(hwnd, id, TVIF_CHILDREN, answer, nullptr, 0);
  return answer.cChildren != 0;
}

// ---- Scrolling and redrawing ----

// Sets both bars from the counted rows and width.
void ApplyScrollBars(HWND hwnd) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const int count = st->shownCount;
  const int page = PageRows(hwnd, *st);
  st->top = std::clamp(st->top, 0, std::max(0, count - page));
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, count - 1), static_cast<UINT>(page), st->top, 0};
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  st = StateOf(hwnd);
  if (!st) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int width = st->contentWidth;
  st->left = std::clamp(st->left, 0, std::max(0, width - rc.right));
  SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, width - 1), static_cast<UINT>(rc.right), st->left, 0};
  SetScrollInfo(hwnd, SB_HORZ, &h, TRUE);
}

void SyncScrollBar(HWND hwnd) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  st->shownCount = static_cast<int>(VisibleItems(*st).size());
  st->contentWidth = ContentWidth(hwnd, *st);
  ApplyScrollBars(hwnd);
}

void Redraw(HWND hwnd) {
  SyncScrollBar(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollTo(HWND hwnd, int top) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  st->top = top;
  Redraw(hwnd);
}

void ExpandAncestors(HWND hwnd, ItemId id);

void EnsureVisible(HWND hwnd, ItemId id) {
  ExpandAncestors(hwnd, id);
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const int row = RowOf(*st, id);
  if (row < 0) return;
  const int page = PageRows(hwnd, *st);
  if (row < st->top) ScrollTo(hwnd, row);
  else if (row >= st->top + page) ScrollTo(hwnd, row - page + 1);
}

// ---- Expansion ----

BOOL Expand(HWND hwnd, ItemId id, UINT code);

void ExpandAncestors(HWND hwnd, ItemId id) {
  std::vector<ItemId> chain;
  for (TreeItem* item = ItemOf(hwnd, id); item && item->parent; item = ItemOf(hwnd, item->parent))
    chain.push_back(item->parent);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    TreeItem* item = ItemOf(hwnd, *it);
    if (item && !(item->state & TVIS_EXPANDED)) Expand(hwnd, *it, TVE_EXPAND);
  }
}

bool SelectCaret(HWND hwnd, ItemId id, UINT action);
void DeleteItem(HWND hwnd, ItemId id);

BOOL Expand(HWND hwnd, ItemId id, UINT code) {
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return FALSE;
  const bool reset = (code & TVE_COLLAPSERESET) != 0;
  UINT action = code & TVE_TOGGLE;
  if (action == TVE_TOGGLE) action = (item->state & TVIS_EXPANDED) ? TVE_COLLAPSE : TVE_EXPAND;
  if (action != TVE_EXPAND && action != TVE_COLLAPSE) return FALSE;
  const bool expanded = (item->state & TVIS_EXPANDED) != 0;
  if (action == TVE_EXPAND) {
    if (expanded) return TRUE;
    if (!ItemHasChildren(hwnd, id)) return FALSE;
  } else if (!expanded && !reset) {
    return TRUE;
  }
  if (NotifyTree(hwnd, TVN_ITEMEXPANDING, action, 0, id)) return FALSE;
  item = ItemOf(hwnd, id);
  if (!item) return FALSE;
  if (action == TVE_EXPAND) {
    item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  } else {
    item->state &= ~TVIS_EXPANDED;
    TreeState* st = StateOf(hwnd);
    if (st->selected && st->selected != id && IsAncestor(*st, id, st->selected)) SelectCaret(hwnd, id, TVC_UNKNOWN);
    if (reset) {
      item = ItemOf(hwnd, id);
      if (item) {
        item->state &= ~TVIS_EXPANDEDONCE;
        const std::vector<ItemId> children = item->children;
        for (ItemId child : children) DeleteItem(hwnd, child);
      }
    }
  }
  if (!ItemOf(hwnd, id)) return FALSE;
  Redraw(hwnd);
  NotifyTree(hwnd, TVN_ITEMEXPANDED, action, 0, id);
  return TRUE;
}

// ---- Selection ----

bool SelectCaret(HWND hwnd, ItemId id, UINT action) {
  TreeState* st = StateOf(hwnd);
  if (!st || (id && !ItemOf(hwnd, id))) return false;
  const ItemId old = st->selected;
  if (old == id) {
    if (id) EnsureVisible(hwnd, id);
    return true;
  }
  if (NotifyTree(hwnd, TVN_SELCHANGING, action, old, id)) return false;
  st = StateOf(hwnd);
  if (!st || (id && !ItemOf(hwnd, id))) return false;
  if (TreeItem* previous = ItemOf(hwnd, st->selected)) previous->state &= ~TVIS_SELECTED;
  st->selected = id;
  if (TreeItem* item = ItemOf(hwnd, id)) item->state |= TVIS_SELECTED;
  if (id) EnsureVisible(hwnd, id);
  Redraw(hwnd);
  NotifyTree(hwnd, TVN_SELCHANGED, action, ItemOf(hwnd, old) ? old : 0, id);
  return true;
}

// ---- Insertion and deletion ----

HTREEITEM Insert(HWND hwnd, const TVINSERTSTRUCT* is) {
  TreeState* st = StateOf(hwnd);
  if (!st || !is) return nullptr;
  const ItemId parent = (is->hParent == TVI_ROOT || !is->hParent) ? 0 : IdOf(is->hParent);
  if (parent && !ItemOf(hwnd, parent)) return nullptr;
  const HTREEITEM after = is->hInsertAfter;
  std::vector<ItemId>& siblings = Siblings(*st, parent);
  std::size_t place = siblings.size();
  const TVITEM& in = is->item;
  const bool callbackText = (in.mask & TVIF_TEXT) && in.pszText == LPSTR_TEXTCALLBACK;
  const std::string text = (in.mask & TVIF_TEXT) && in.pszText && !callbackText ? in.pszText : "";
  if (after == TVI_FIRST) {
    place = 0;
  } else if (after == TVI_SORT) {
    // After the last sibling whose text sorts at or before the new one.
    if (!callbackText) {
      place = 0;
      for (std::size_t i = 0; i < siblings.size(); ++i) {
        const TreeItem& s = st->items[siblings[i]];
        if (!s.textCallback && CompareNoCase(s.text, text) > 0) break;
        place = i + 1;
      }
    }
  } else if (after && after != TVI_LAST) {
    auto it = std::find(siblings.begin(), siblings.end(), IdOf(after));
    if (it == siblings.end()) return nullptr;
    place = static_cast<std::size_t>(it - siblings.begin()) + 1;
  }
  const ItemId id = gNextItem++;
  TreeItem item;
  item.parent = parent;
  item.text = text;
  item.textCallback = callbackText;
  if (in.mask & TVIF_IMAGE) item.image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) item.selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_CHILDREN) item.childCount = in.cChildren;
  if (in.mask & TVIF_PARAM) item.param = in.lParam;
  // Selection and the drop target are set by their own messages only.
  if (in.mask & TVIF_STATE) item.state = in.state & in.stateMask & ~(TVIS_SELECTED | TVIS_DROPHILITED);
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(place), id);
  st->items.emplace(id, std::move(item));
  // Only an item that shows adds to the bars: counted alone, so filling a
  // tree costs no walk of it per item.
  bool shown = true;
  for (ItemId p = parent; p && shown; p = st->items[p].parent) shown = (st->items[p].state & TVIS_EXPANDED) != 0;
  if (shown) {
    TreeItem& added = st->items[id];
    if (!added.textCallback) added.labelWidth = LabelWidth(hwnd, *st, added.text);
    const int imageWidth = st->images ? ImageListSize(st->images, false) + 3 : 0;
    st->shownCount += 1;
    st->contentWidth = std::max(st->contentWidth, ItemLeft(hwnd, *st, id) + imageWidth + std::max(added.labelWidth, 0));
    ApplyScrollBars(hwnd);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return HandleOf(id);
}

void EndLabelEdit(HWND hwnd, bool cancel);
void HideTip(HWND hwnd);

// Deletes an item and everything under it, one TVN_DELETEITEM per item, the
// item before its children.
void DeleteSubtree(HWND hwnd, ItemId id) {
  TreeState* st = StateOf(hwnd);
  if (!st || !ItemOf(hwnd, id)) return;
  if (st->selected == id) st->selected = 0;
  if (st->dropHilite == id) st->dropHilite = 0;
  if (st->pressed == id) st->pressed = 0;
  if (st->hovered == id) HideTip(hwnd);
  if (st->editOnClick == id) st->editOnClick = 0;
  NotifyTree(hwnd, TVN_DELETEITEM, 0, id, 0);
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return;
  const std::vector<ItemId> children = item->children;
  for (ItemId child : children) DeleteSubtree(hwnd, child);
  st = StateOf(hwnd);
  item = st ? ItemOf(hwnd, id) : nullptr;
  if (!item) return;
  std::vector<ItemId>& siblings = Siblings(*st, item->parent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
  st->items.erase(id);
}

void DeleteItem(HWND hwnd, ItemId id) {
  TreeState* st = StateOf(hwnd);
  TreeItem* item = ItemOf(hwnd, id);
  if (!st || !item) return;
  if (st->editing && IsAncestor(*st, id, st->editing)) EndLabelEdit(hwnd, true);
  st = StateOf(hwnd);
  item = ItemOf(hwnd, id);
  if (!st || !item) return;
  // A selection inside the subtree moves to the next sibling, else the
  // previous one, else the parent.
  ItemId successor = 0;
  const bool selectionGoes = st->selected && IsAncestor(*st, id, st->selected);
  if (selectionGoes) {
    const std::vector<ItemId>& siblings = Siblings(*st, item->parent);
    auto it = std::find(siblings.begin(), siblings.end(), id);
    if (it + 1 != siblings.end()) successor = *(it + 1);
    else if (it != siblings.begin()) successor = *(it - 1);
    else successor = item->parent;
    if (TreeItem* selected = ItemOf(hwnd, st->selected)) selected->state &= ~TVIS_SELECTED;
  }
  DeleteSubtree(hwnd, id);
  if (!StateOf(hwnd)) return;
  Redraw(hwnd);
  if (selectionGoes && successor && ItemOf(hwnd, successor)) SelectCaret(hwnd, successor, TVC_UNKNOWN);
}

void DeleteAll(HWND hwnd) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const std::vector<ItemId> roots = st->roots;
  if (st->editing) EndLabelEdit(hwnd, true);
  for (ItemId root : roots) DeleteSubtree(hwnd, root);
  if (StateOf(hwnd)) {
    StateOf(hwnd)->top = 0;
    Redraw(hwnd);
  }
}

// ---- Items as TVITEM ----

BOOL GetItem(HWND hwnd, TVITEM* out) {
  if (!out) return FALSE;
  const ItemId id = IdOf(out->hItem);
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return FALSE;
  if (out->mask & TVIF_STATE) out->state = item->state & out->stateMask;
  if (out->mask & TVIF_PARAM) out->lParam = item->param;
  if (out->mask & TVIF_IMAGE) out->iImage = item->image;
  if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
  if (out->mask & TVIF_CHILDREN) out->cChildren = item->childCount == kNotSet ? (item->children.empty() ? 0 : 1) : item->childCount;
  if (out->mask & TVIF_TEXT) {
    if (!out->pszText || out->cchTextMax <= 0) return FALSE;
    // Cut to the caller's buffer, always terminated.
    const std::string text = ItemText(hwnd, id);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(out->cchTextMax - 1));
    std::memcpy(out->pszText, text.data(), n);
    out->pszText[n] = '\0';
  }
  return TRUE;
}

BOOL SetItem(HWND hwnd, const TVITEM* in) {
  if (!in) return FALSE;
  TreeItem* item = ItemOf(hwnd, IdOf(in->hItem));
  if (!item) return FALSE;
  if (in->mask & TVIF_TEXT) {
    item->labelWidth = -1;
    item->textCallback = in->pszText == LPSTR_TEXTCALLBACK;
    item->text = in->pszText && !item->textCallback ? in->pszText : "";
  }
  if (in->mask & TVIF_IMAGE) item->image = in->iImage;
  if (in->mask & TVIF_SELECTEDIMAGE) item->selectedImage = in->iSelectedImage;
  if (in->mask & TVIF_CHILDREN) item->childCount = in->cChildren;
  if (in->mask & TVIF_PARAM) item->param = in->lParam;
  if (in->mask & TVIF_STATE) {
    // Selection and the drop target move only through TVM_SELECTITEM.
    const UINT mask = in->stateMask & ~(TVIS_SELECTED | TVIS_DROPHILITED);
    item->state = (item->state & ~mask) | (in->state & mask);
  }
  Redraw(hwnd);
  return TRUE;
}

HTREEITEM NextItem(HWND hwnd, UINT code, ItemId id) {
  TreeState* st = StateOf(hwnd);
  if (!st) return nullptr;
  auto result = [](ItemId v) { return HandleOf(v); };
  switch (code) {
    case TVGN_ROOT: return result(st->roots.empty() ? 0 : st->roots.front());
    case TVGN_CARET: return result(st->selected);
    case TVGN_DROPHILITE: return result(st->dropHilite);
    case TVGN_FIRSTVISIBLE: {
      const std::vector<ItemId> rows = VisibleItems(*st);
      return result(st->top < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(st->top)] : 0);
    }
    case TVGN_LASTVISIBLE: {
      const std::vector<ItemId> rows = VisibleItems(*st);
      return result(rows.empty() ? 0 : rows.back());
    }
    default: break;
  }
  TreeItem* item = ItemOf(hwnd, id);
  if (code == TVGN_CHILD && (!id || reinterpret_cast<HTREEITEM>(id) == TVI_ROOT))
    return result(st->roots.empty() ? 0 : st->roots.front());
  if (!item) return nullptr;
  switch (code) {
    case TVGN_PARENT: return result(item->parent);
    case TVGN_CHILD: return result(item->children.empty() ? 0 : item->children.front());
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
      const std::vector<ItemId>& siblings = Siblings(*st, item->parent);
      auto it = std::find(siblings.begin(), siblings.end(), id);
      if (code == TVGN_NEXT) return result(it + 1 != siblings.end() ? *(it + 1) : 0);
      return result(it != siblings.begin() ? *(it - 1) : 0);
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const std::vector<ItemId> rows = VisibleItems(*st);
      auto it = std::find(rows.begin(), rows.end(), id);
      if (it == rows.end()) return nullptr;
      if (code == TVGN_NEXTVISIBLE) return result(it + 1 != rows.end() ? *(it + 1) : 0);
      return result(it != rows.begin() ? *(it - 1) : 0);
    }
    default: return nullptr;
  }
}

// ---- Hit testing ----

HTREEITEM HitTest(HWND hwnd, TVHITTESTINFO* info) {
  TreeState* st = StateOf(hwnd);
  if (!st || !info) return nullptr;
  RECT rc;
  GetClientRect(hwnd, &rc);
  info->hItem = nullptr;
  info->flags = 0;
  const POINT p = info->pt;
  if (p.x < 0) info->flags |= TVHT_TOLEFT;
  if (p.x >= rc.right) info->flags |= TVHT_TORIGHT;
  if (p.y < 0) info->flags |= TVHT_ABOVE;
  if (p.y >= rc.bottom) info->flags |= TVHT_BELOW;
  if (info->flags) return nullptr;
  const std::vector<ItemId> rows = VisibleItems(*st);
  const int row = st->top + p.y / RowHeight(hwnd, *st);
  if (row >= static_cast<int>(rows.size())) {
    info->flags = TVHT_NOWHERE;
    return nullptr;
  }
  const ItemId id = rows[static_cast<std::size_t>(row)];
  const ItemBox box = BoxOf(hwnd, id, row);
  if (p.x >= box.label.right) info->flags = TVHT_ONITEMRIGHT;
  else if (p.x >= box.label.left) info->flags = TVHT_ONITEMLABEL;
  else if (p.x >= box.imageLeft) info->flags = TVHT_ONITEMICON;
  else if ((StyleOf(hwnd) & TVS_HASBUTTONS) && std::abs(p.x - box.buttonCentre) <= 5 &&
           (Depth(*st, id) > 0 || (StyleOf(hwnd) & TVS_LINESATROOT)) && ItemHasChildren(hwnd, id))
    info->flags = TVHT_ONITEMBUTTON;
  else info->flags = TVHT_ONITEMINDENT;
  info->hItem = HandleOf(id);
  return info->hItem;
}

// ---- Painting ----

void DottedLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  // Every other pixel, on the even grid so that crossing lines meet.
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (((x + y) & 1) == 0) SetPixel(dc, x, y, colour);
}

void PaintButton(HDC dc, int cx, int cy, bool expanded) {
  RECT box{cx - 4, cy - 4, cx + 5, cy + 5};
  FillRect(dc, &box, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  FrameRect(dc, &box, frame);
  DeleteObject(frame);
  RECT dash{cx - 2, cy, cx + 3, cy + 1};
  FillRect(dc, &dash, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
  if (!expanded) {
    RECT bar{cx, cy - 2, cx + 1, cy + 3};
    FillRect(dc, &bar, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
  }
}

bool HasNextSibling(TreeState& st, ItemId id) {
  const std::vector<ItemId>& siblings = Siblings(st, st.items[id].parent);
  return !siblings.empty() && siblings.back() != id;
}

void PaintLines(HWND hwnd, TreeState& st, HDC dc, ItemId id, const ItemBox& box, bool firstRow) {
  const DWORD style = StyleOf(hwnd);
  const bool rootColumn = (style & TVS_LINESATROOT) != 0;
  const int mid = (box.row.top + box.row.bottom) / 2;
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
  const bool column = st.items[id].parent || rootColumn;
  if ((style & TVS_HASLINES) && column) {
    // Lines of the ancestors that still have siblings below.
    int x = box.buttonCentre;
    for (ItemId p = st.items[id].parent; p; p = st.items[p].parent) {
      x -= st.indent;
      if ((st.items[p].parent || rootColumn) && HasNextSibling(st, p))
        DottedLine(dc, x, box.row.top, x, box.row.bottom - 1, grey);
    }
    const int top = firstRow && !st.items[id].parent && st.roots.front() == id ? mid : box.row.top;
    const int bottom = HasNextSibling(st, id) ? box.row.bottom - 1 : mid;
    DottedLine(dc, box.buttonCentre, top, box.buttonCentre, bottom, grey);
    DottedLine(dc, box.buttonCentre, mid, box.imageLeft - 2, mid, grey);
  }
  if ((style & TVS_HASBUTTONS) && column && ItemHasChildren(hwnd, id))
    PaintButton(dc, box.buttonCentre, mid, (st.items[id].state & TVIS_EXPANDED) != 0);
}

void PaintItem(HWND hwnd, HDC dc, ItemId id, int row) {
  TreeState& st = *StateOf(hwnd);
  const ItemBox box = BoxOf(hwnd, id, row);
  const TreeItem& item = st.items[id];
  PaintLines(hwnd, st, dc, id, box, row == 0);
  const bool selected = id == st.selected;
  if (st.images) {
    const int image = ItemImage(hwnd, id, selected);
    const int y = box.row.top + (box.row.bottom - box.row.top - ImageListSize(st.images, true)) / 2;
    ImageList_Draw(st.images, image, dc, box.imageLeft, y, ILD_TRANSPARENT | ((item.state & TVIS_CUT) ? ILD_BLEND50 : 0));
  }
  if (st.editing == id) return;
  const bool dropTarget = st.dropHilite != 0;
  const bool highlighted = dropTarget ? id == st.dropHilite
                                      : selected && (st.focused || (StyleOf(hwnd) & TVS_SHOWSELALWAYS));
  const bool strong = dropTarget || st.focused;
  if (highlighted) {
    FillRect(dc, &box.label, reinterpret_cast<HBRUSH>((strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE) + 1));
    SetTextColor(dc, GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  } else {
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  }
  const std::string text = ItemText(hwnd, id);
  RECT label = box.label;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (selected && st.focused && !dropTarget) DrawFocusRect(dc, &box.label);
}

void Paint(HWND hwnd, HDC dc) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  auto oldFont = SelectObject(dc, TreeFont(*st));
  SetBkMode(dc, TRANSPARENT);
  const std::vector<ItemId> rows = VisibleItems(*st);
  const int h = RowHeight(hwnd, *st);
  for (int row = st->top; row < static_cast<int>(rows.size()) && (row - st->top) * h < rc.bottom; ++row)
    PaintItem(hwnd, dc, rows[static_cast<std::size_t>(row)], row);
  SelectObject(dc, oldFont);
}

// ---- Label editing ----

LRESULT CALLBACK LabelEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND tree = GetParent(edit);
  const WNDPROC base = gEditProc;
  if (!base) return DefWindowProcA(edit, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE: return CallWindowProcA(base, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        EndLabelEdit(tree, wParam == VK_ESCAPE);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == 27) return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT r = CallWindowProcA(base, edit, message, wParam, lParam);
      EndLabelEdit(tree, false);
      return r;
    }
    default: break;
  }
  return CallWindowProcA(base, edit, message, wParam, lParam);
}

HWND BeginLabelEdit(HWND hwnd, ItemId id) {
  if (!ItemOf(hwnd, id)) return nullptr;
  if (StateOf(hwnd)->editing) EndLabelEdit(hwnd, false);
  std::string text = ItemText(hwnd, id);
  NMTVDISPINFO nm{};
  FillItem(hwnd, id, nm.item);
  nm.item.mask |= TVIF_TEXT;
  nm.item.pszText = text.data();
  nm.item.cchTextMax = static_cast<int>(text.size()) + 1;
  if (SendNotify(hwnd, TVN_BEGINLABELEDIT, &nm.hdr)) return nullptr;
  if (!ItemOf(hwnd, id)) return nullptr;
  EnsureVisible(hwnd, id);
  TreeState* st = StateOf(hwnd);
  if (!st) return nullptr;
  const int row = RowOf(*st, id);
  if (row < 0) return nullptr;
  const ItemBox box = BoxOf(hwnd, id, row);
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int right = std::max<int>(box.label.right + 40, std::min<int>(rc.right, box.label.left + 120));
  HWND edit = CreateWindowExA(0, WC_EDIT, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                              box.label.left - 1, box.label.top, right - box.label.left + 1,
                              box.label.bottom - box.label.top, hwnd, nullptr, nullptr, nullptr);
  st = StateOf(hwnd);
  if (!edit || !st) return nullptr;
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(TreeFont(*st)), FALSE);
  st->editing = id;
  st->edit = edit;
  // Every EDIT has the one class procedure, so the label edits share it.
  gEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelEditProc)));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
  InvalidateRect(hwnd, nullptr, TRUE);
  return edit;
}

void EndLabelEdit(HWND hwnd, bool cancel) {
  TreeState* st = StateOf(hwnd);
  if (!st || !st->edit) return;
  // Taken out of the state first: the notification and the edit's
  // destruction come back here.
  const HWND edit = std::exchange(st->edit, nullptr);
  const ItemId id = std::exchange(st->editing, 0);
  const bool hadFocus = GetFocus() == edit;
  const int length = GetWindowTextLengthA(edit);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(edit, text.data(), length + 1);
  if (ItemOf(hwnd, id)) {
    NMTVDISPINFO nm{};
    FillItem(hwnd, id, nm.item);
    nm.item.mask |= TVIF_TEXT;
    nm.item.pszText = cancel ? nullptr : text.data();
    nm.item.cchTextMax = cancel ? 0 : length + 1;
    const LRESULT keep = SendNotify(hwnd, TVN_ENDLABELEDIT, &nm.hdr);
    TreeItem* item = ItemOf(hwnd, id);
    if (!cancel && keep && item && !item->textCallback) {
      item->text = text.c_str();
      item->labelWidth = -1;
    }
  }
  if (IsWindow(edit)) DestroyWindow(edit);
  if (!StateOf(hwnd)) return;
  if (hadFocus) SetFocus(hwnd);
  Redraw(hwnd);
}

// ---- Drag images ----

HIMAGELIST CreateDragImage(HWND hwnd, ItemId id) {
  TreeState* st = StateOf(hwnd);
  const int row = st ? RowOf(*st, id) : -1;
  if (!ItemOf(hwnd, id)) return nullptr;
  const ItemBox box = BoxOf(hwnd, id, std::max(row, 0) + (row < 0 ? st->top : 0));
  return MakeDragImage(st->images, ItemImage(hwnd, id, false), TreeFont(*st), ItemText(hwnd, id),
                       box.label.right - box.label.left, box.row.bottom - box.row.top);
}

// ---- Info tips ----
// With TVS_INFOTIP an item under the resting pointer shows the text its
// parent gives for it (TVN_GETINFOTIP) in a top-most pop-up below the
// pointer, kept on the screen.

// The tree is the one tracked tool of its own tooltip control.
TOOLINFOA TipTool(HWND hwnd) {
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = hwnd;
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
  return ti;
}

void HideTip(HWND hwnd) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  KillTimer(hwnd, kTipTimer);
  st->hovered = 0;
  if (!st->tip) return;
  TOOLINFOA ti = TipTool(hwnd);
  SendMessageA(st->tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void ShowTip(HWND hwnd, const std::string& text) {
  TreeState* st = StateOf(hwnd);
  if (!st || text.empty()) return;
  if (!st->tip) {
    st->tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, hwnd, nullptr, nullptr,
                              nullptr);
    if (!st->tip) return;
    SendMessageA(st->tip, TTM_SETMAXTIPWIDTH, 0, 400);
    TOOLINFOA ti = TipTool(hwnd);
    ti.lpszText = const_cast<char*>("");
    SendMessageA(st->tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  }
  SendMessageA(st->tip, WM_SETFONT, reinterpret_cast<WPARAM>(TreeFont(*st)), FALSE);
  TOOLINFOA ti = TipTool(hwnd);
  ti.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(st->tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  // Below the pointer; the tooltip keeps itself on the screen.
  POINT at{};
  GetCursorPos(&at);
  SendMessageA(st->tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y + 20));
  SendMessageA(st->tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void OnTipTimer(HWND hwnd) {
  KillTimer(hwnd, kTipTimer);
  TreeState* st = StateOf(hwnd);
  const DWORD style = StyleOf(hwnd);
  if (!st || st->editing || !(style & TVS_INFOTIP) || (style & TVS_NOTOOLTIPS)) return;
  const ItemId id = st->hovered;
  TreeItem* item = ItemOf(hwnd, id);
  if (!item) return;
  char buffer[1024];
  const std::string label = ItemText(hwnd, id);
  std::snprintf(buffer, sizeof buffer, "%s", label.c_str());
  NMTVGETINFOTIP nm{};
  nm.pszText = buffer;
  nm.cchTextMax = sizeof buffer;
  nm.hItem = HandleOf(id);
  nm.lParam = item->param;
  SendNotify(hwnd, TVN_GETINFOTIP, &nm.hdr);
  buffer[sizeof buffer - 1] = '\0';
  if (ItemOf(hwnd, id) && StateOf(hwnd)->hovered == id) ShowTip(hwnd, buffer);
}

void OnHover(HWND hwnd, POINT p) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  TVHITTESTINFO hit{p, 0, nullptr};
  const ItemId id = HitTest(hwnd, &hit) && (hit.flags & TVHT_ONITEM) ? IdOf(hit.hItem) : 0;
  if (id == st->hovered) return;
  HideTip(hwnd);
  if (!id) return;
  StateOf(hwnd)->hovered = id;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
  TrackMouseEvent(&track);
  SetTimer(hwnd, kTipTimer, kHoverTime, nullptr);
}

// ---- Keyboard and mouse ----

void OnKey(HWND hwnd, WPARAM key) {
  NMTVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  SendNotify(hwnd, TVN_KEYDOWN, &nm.hdr);
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const std::vector<ItemId> rows = VisibleItems(*st);
  if (rows.empty()) return;
  const ItemId current = st->selected;
  const int row = current ? RowOf(*st, current) : -1;
  const int last = static_cast<int>(rows.size()) - 1;
  auto go = [&](int r) { SelectCaret(hwnd, rows[static_cast<std::size_t>(std::clamp(r, 0, last))], TVC_BYKEYBOARD); };
  const int page = PageRows(hwnd, *st);
  switch (key) {
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: go(row + 1); break;
    case VK_HOME: go(0); break;
    case VK_END: go(last); break;
    case VK_PRIOR: go(row - page + 1); break;
    case VK_NEXT: go(row + page - 1); break;
    case VK_LEFT:
      if (!current) go(0);
      else if (st->items[current].state & TVIS_EXPANDED) Expand(hwnd, current, TVE_COLLAPSE);
      else if (st->items[current].parent) SelectCaret(hwnd, st->items[current].parent, TVC_BYKEYBOARD);
      break;
    case VK_RIGHT:
      if (!current) go(0);
      else if (!(st->items[current].state & TVIS_EXPANDED)) Expand(hwnd, current, TVE_EXPAND);
      else if (!st->items[current].children.empty()) SelectCaret(hwnd, st->items[current].children.front(), TVC_BYKEYBOARD);
      break;
    case VK_ADD:
      if (current) Expand(hwnd, current, TVE_EXPAND);
      break;
    case VK_SUBTRACT:
      if (current) Expand(hwnd, current, TVE_COLLAPSE);
      break;
    case VK_F2:
      if (current && (StyleOf(hwnd) & TVS_EDITLABELS)) BeginLabelEdit(hwnd, current);
      break;
    case VK_RETURN: {
      NMHDR hdr{};
      SendNotify(hwnd, NM_RETURN, &hdr);
      break;
    }
    default: break;
  }
}

// Typed letters select the next visible item whose label starts with them;
// a pause longer than a second starts a new search, and repeating one letter
// steps through the items starting with it.
void OnChar(HWND hwnd, WPARAM ch) {
  TreeState* st = StateOf(hwnd);
  if (!st || ch < ' ' || ch > 255) return;
  constexpr std::uint64_t kTypingPause = 1000;
  const std::uint64_t now = pl3::MessageClockNow();
  if (now - st->typedAt > kTypingPause) st->typed.clear();
  st->typedAt = now;
  st->typed.push_back(static_cast<char>(ch));
  const bool repeated = st->typed.size() > 1 && st->typed.find_first_not_of(st->typed[0]) == std::string::npos;
  const std::string sought = repeated ? st->typed.substr(0, 1) : st->typed;
  const std::vector<ItemId> rows = VisibleItems(*st);
  if (rows.empty()) return;
  const int current = st->selected ? RowOf(*st, st->selected) : -1;
  // A longer search may stay on the current item; a new letter moves on.
  const int first = sought.size() > 1 && current >= 0 ? current : current + 1;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const ItemId id = rows[(static_cast<std::size_t>(std::max(first, 0)) + k) % rows.size()];
    if (StartsWithNoCase(ItemText(hwnd, id), sought)) {
      SelectCaret(hwnd, id, TVC_BYKEYBOARD);
      return;
    }
  }
  MessageBeep(0);
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void OnLeftDown(HWND hwnd, LPARAM lParam) {
  if (TreeState* st = StateOf(hwnd); st && st->editing) EndLabelEdit(hwnd, false);
  SetFocus(hwnd);
  TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
  if (!HitTest(hwnd, &hit)) return;
  const ItemId id = IdOf(hit.hItem);
  if (hit.flags & TVHT_ONITEMBUTTON) {
    Expand(hwnd, id, TVE_TOGGLE);
    return;
  }
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const bool wasSelected = st->selected == id;
  if (!SelectCaret(hwnd, id, TVC_BYMOUSE)) return;
  st = StateOf(hwnd);
  if (!st || !ItemOf(hwnd, id)) return;
  st->pressed = id;
  st->pressAt = hit.pt;
  SetCapture(hwnd);
  if (wasSelected && (hit.flags & TVHT_ONITEMLABEL) && (StyleOf(hwnd) & TVS_EDITLABELS)) {
    // Editing waits for the double-click time, so a double click opens instead.
    st->editOnClick = id;
    SetTimer(hwnd, kEditTimer, GetDoubleClickTime(), nullptr);
  }
}

void OnMouseMove(HWND hwnd, WPARAM buttons, LPARAM lParam) {
  TreeState* st = StateOf(hwnd);
  if (st && !(buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) OnHover(hwnd, PointOf(lParam));
  st = StateOf(hwnd);
  if (!st || !st->pressed) return;
  const POINT p = PointOf(lParam);
  if (std::abs(p.x - st->pressAt.x) < GetSystemMetrics(SM_CXDRAG) &&
      std::abs(p.y - st->pressAt.y) < GetSystemMetrics(SM_CYDRAG))
    return;
  const ItemId id = std::exchange(st->pressed, 0);
  st->editOnClick = 0;
  KillTimer(hwnd, kEditTimer);
  ReleaseCapture();
  if (!(StyleOf(hwnd) & TVS_DISABLEDRAGDROP)) NotifyTree(hwnd, TVN_BEGINDRAG, 0, 0, id, st->pressAt);
}

void OnLeftUp(HWND hwnd) {
  TreeState* st = StateOf(hwnd);
  if (!st || !st->pressed) return;
  st->pressed = 0;
  ReleaseCapture();
  NMHDR hdr{};
  SendNotify(hwnd, NM_CLICK, &hdr);
}

void OnDoubleClick(HWND hwnd, LPARAM lParam) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  st->editOnClick = 0;
  KillTimer(hwnd, kEditTimer);
  TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
  HitTest(hwnd, &hit);
  if (hit.flags & TVHT_ONITEMBUTTON) {
    Expand(hwnd, IdOf(hit.hItem), TVE_TOGGLE);
    return;
  }
  NMHDR hdr{};
  if (SendNotify(hwnd, NM_DBLCLK, &hdr)) return;
  if (hit.hItem && (hit.flags & TVHT_ONITEM)) Expand(hwnd, IdOf(hit.hItem), TVE_TOGGLE);
}

void OnRightUp(HWND hwnd, LPARAM lParam) {
  NMHDR hdr{};
  if (SendNotify(hwnd, NM_RCLICK, &hdr) || !IsWindow(hwnd)) return;
  POINT p = PointOf(lParam);
  ClientToScreen(hwnd, &p);
  SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
}

// A scroll bar's code: rows on the vertical bar, pixels on the horizontal one.
void OnScroll(HWND hwnd, int bar, WORD code) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  const bool vertical = bar == SB_VERT;
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int line = vertical ? 1 : 8;
  const int page = vertical ? PageRows(hwnd, *st) : std::max<int>(line, rc.right - line);
  int& pos = vertical ? st->top : st->left;
  if (ScrollCodePosition(hwnd, bar, code, line, page, pos)) Redraw(hwnd);
}

void OnFocus(HWND hwnd, bool gained) {
  TreeState* st = StateOf(hwnd);
  if (!st) return;
  st->focused = gained;
  InvalidateRect(hwnd, nullptr, TRUE);
  NMHDR hdr{};
  SendNotify(hwnd, gained ? NM_SETFOCUS : NM_KILLFOCUS, &hdr);
}

LRESULT SelectMessage(HWND hwnd, WPARAM code, ItemId id) {
  TreeState* st = StateOf(hwnd);
  if (id && !ItemOf(hwnd, id)) return FALSE;
  switch (code) {
    case TVGN_CARET: return SelectCaret(hwnd, id, TVC_UNKNOWN) ? TRUE : FALSE;
    case TVGN_DROPHILITE:
      if (TreeItem* old = ItemOf(hwnd, st->dropHilite)) old->state &= ~TVIS_DROPHILITED;
      st->dropHilite = id;
      if (TreeItem* item = ItemOf(hwnd, id)) item->state |= TVIS_DROPHILITED;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TVGN_FIRSTVISIBLE: {
      EnsureVisible(hwnd, id);
      const int row = RowOf(*StateOf(hwnd), id);
      if (row >= 0) ScrollTo(hwnd, row);
      return TRUE;
    }
    default: return FALSE;
  }
}

LRESULT CALLBACK TreeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TreeState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE:
      if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<TreeState>();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_DESTROY:
      if (st) {
        HideTip(hwnd);
        if (st->tip) DestroyWindow(std::exchange(st->tip, nullptr));
        if (st->edit) EndLabelEdit(hwnd, true);
        DeleteAll(hwnd);
      }
      return 0;
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: SyncScrollBar(hwnd); return 0;
    case WM_SETFONT:
      if (st) {
        st->font = reinterpret_cast<HFONT>(wParam);
        for (auto& entry : st->items) entry.second.labelWidth = -1;
      }
      if (lParam) Redraw(hwnd);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: OnFocus(hwnd, true); return 0;
    case WM_KILLFOCUS: OnFocus(hwnd, false); return 0;
    case WM_KEYDOWN: OnKey(hwnd, wParam); return 0;
    case WM_CHAR: OnChar(hwnd, wParam); return 0;
    case WM_LBUTTONDOWN:
      HideTip(hwnd);
      OnLeftDown(hwnd, lParam);
      return 0;
    case WM_MOUSEMOVE: OnMouseMove(hwnd, wParam, lParam); return 0;
    case WM_MOUSELEAVE: HideTip(hwnd); return 0;
    case WM_LBUTTONUP: OnLeftUp(hwnd); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(hwnd, lParam); return 0;
    case WM_RBUTTONDOWN: SetFocus(hwnd); return 0;
    case WM_RBUTTONUP: OnRightUp(hwnd, lParam); return 0;
    case WM_CAPTURECHANGED:
      if (st) st->pressed = 0;
      return 0;
    case WM_TIMER:
      if (wParam == kTipTimer) {
        OnTipTimer(hwnd);
        return 0;
      }
      if (wParam == kEditTimer && st) {
        KillTimer(hwnd, kEditTimer);
        const ItemId id = std::exchange(st->editOnClick, 0);
        if (id && id == st->selected) BeginLabelEdit(hwnd, id);
        return 0;
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_VSCROLL: OnScroll(hwnd, SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(hwnd, SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
      if (st) ScrollTo(hwnd, st->top - 3 * static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA);
      return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case TVM_INSERTITEM: return reinterpret_cast<LRESULT>(Insert(hwnd, reinterpret_cast<const TVINSERTSTRUCT*>(lParam)));
    case TVM_DELETEITEM: {
      const auto item = reinterpret_cast<HTREEITEM>(lParam);
      if (!item || item == TVI_ROOT) {
        DeleteAll(hwnd);
        return TRUE;
      }
      if (!ItemOf(hwnd, IdOf(item))) return FALSE;
      DeleteItem(hwnd, IdOf(item));
      return TRUE;
    }
    case TVM_EXPAND: return Expand(hwnd, IdOf(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam));
    case TVM_GETITEMRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!st || !rc) return FALSE;
      ItemId id = 0;
      std::memcpy(&id, rc, sizeof id);
      const int row = ItemOf(hwnd, id) ? RowOf(*st, id) : -1;
      if (row < 0) return FALSE;
      const ItemBox box = BoxOf(hwnd, id, row);
      *rc = wParam ? box.label : box.row;
      return TRUE;
    }
    case TVM_GETCOUNT: return st ? static_cast<LRESULT>(st->items.size()) : 0;
    case TVM_GETINDENT: return st ? st->indent : 0;
    case TVM_SETINDENT:
      if (st) st->indent = std::max(static_cast<int>(wParam), 8);
      Redraw(hwnd);
      return TRUE;
    case TVM_GETIMAGELIST:
      if (!st) return 0;
      return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? st->stateImages : st->images);
    case TVM_SETIMAGELIST: {
      if (!st || (wParam != TVSIL_NORMAL && wParam != TVSIL_STATE)) return 0;
      HIMAGELIST& slot = wParam == TVSIL_STATE ? st->stateImages : st->images;
      const HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
      if (wParam == TVSIL_NORMAL) st->indent = std::max(st->indent, ImageListSize(st->images, false) + 3);
      Redraw(hwnd);
      return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(NextItem(hwnd, static_cast<UINT>(wParam), IdOf(reinterpret_cast<HTREEITEM>(lParam))));
    case TVM_SELECTITEM: return SelectMessage(hwnd, wParam, IdOf(reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETITEM: return GetItem(hwnd, reinterpret_cast<TVITEM*>(lParam));
    case TVM_SETITEM: return SetItem(hwnd, reinterpret_cast<const TVITEM*>(lParam));
    case TVM_EDITLABEL: return reinterpret_cast<LRESULT>(BeginLabelEdit(hwnd, IdOf(reinterpret_cast<HTREEITEM>(lParam))));
    case TVM_GETEDITCONTROL: return st ? reinterpret_cast<LRESULT>(st->edit) : 0;
    case TVM_ENDEDITLABELNOW:
      if (!st || !st->edit) return FALSE;
      EndLabelEdit(hwnd, wParam != 0);
      return TRUE;
    case TVM_GETVISIBLECOUNT: return st ? PageRows(hwnd, *st) : 0;
    case TVM_HITTEST: return reinterpret_cast<LRESULT>(HitTest(hwnd, reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_CREATEDRAGIMAGE:
      return reinterpret_cast<LRESULT>(CreateDragImage(hwnd, IdOf(reinterpret_cast<HTREEITEM>(lParam))));
    case TVM_ENSUREVISIBLE: {
      const ItemId id = IdOf(reinterpret_cast<HTREEITEM>(lParam));
      if (!ItemOf(hwnd, id)) return FALSE;
      EnsureVisible(hwnd, id);
      return TRUE;
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterTreeViewClass() {
  user::AddSystemClass(WC_TREEVIEW, CS_DBLCLKS, &TreeViewProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
