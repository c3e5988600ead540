// The common controls: shared records and notifications, and each control's
// class name, messages and records in a section of its own below.
//
// InitCommonControlsEx registers every class of this file; the window layer
// also registers them with the system classes, so a control can be created
// without it, as the Parts' dialogs do.
#pragma once
#include "platform/user.h"

// ---- Shared -----------------------------------------------------------------

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
using LPNMHDR = NMHDR*;

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};

constexpr DWORD ICC_LISTVIEW_CLASSES = 0x0001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x0002;
constexpr DWORD ICC_BAR_CLASSES = 0x0004;
constexpr DWORD ICC_TAB_CLASSES = 0x0008;
constexpr DWORD ICC_PROGRESS_CLASS = 0x0020;
constexpr DWORD ICC_WIN95_CLASSES = 0x00FF;
constexpr DWORD ICC_STANDARD_CLASSES = 0x4000;

// FALSE for a null record or a wrong dwSize.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
void InitCommonControls();

// Notifications every control may send (WM_NOTIFY codes count down from 0).
constexpr UINT NM_FIRST = 0u;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
constexpr UINT NM_HOVER = NM_FIRST - 13;

// Sends WM_NOTIFY with hdr to the parent of hdr->hwndFrom (filling hwndFrom's
// id and the code first) and returns its answer.
LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr);

// ---- Image list handle -----------------------------------------------------
// Header and list view keep the image lists they are given; the lists
// themselves are made and drawn by the ImageList_ calls.
struct IMAGELIST_RECORD;
using HIMAGELIST = IMAGELIST_RECORD*;

// ---- Header (SysHeader32) ---------------------------------------------------

#define WC_HEADER "SysHeader32"

constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;

struct HDITEM {
  UINT mask;
  int cxy;  // width
  LPSTR pszText;
  HBITMAP hbm;
  int cchTextMax;
  int fmt;
  LPARAM lParam;
  int iImage;
  int iOrder;
};
using LPHDITEM = HDITEM*;

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_BITMAP = 0x0010;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_ORDER = 0x0080;

constexpr UINT ODT_HEADER = 100;  // WM_DRAWITEM of an HDF_OWNERDRAW item

constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_SORTDOWN = 0x0200;
constexpr int HDF_SORTUP = 0x0400;
constexpr int HDF_IMAGE = 0x0800;
constexpr int HDF_BITMAP_ON_RIGHT = 0x1000;
constexpr int HDF_BITMAP = 0x2000;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};

// HDM_LAYOUT: the header takes its row off the top of *prc and says where it goes.
struct HDLAYOUT {
  RECT* prc;
  WINDOWPOS* pwpos;
};

struct HDHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
};
constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_TOLEFT = 0x0800;
constexpr UINT HHT_TORIGHT = 0x0400;

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_INSERTITEM = HDM_FIRST + 1;  // wParam index, lParam HDITEM*; the index or -1
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_GETITEM = HDM_FIRST + 3;
constexpr UINT HDM_SETITEM = HDM_FIRST + 4;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;  // wParam count, lParam int[]: a permutation or FALSE

constexpr UINT HDN_FIRST = 0u - 300u;
constexpr UINT HDN_ITEMCHANGING = HDN_FIRST - 0;  // non-zero refuses the change
constexpr UINT HDN_ITEMCHANGED = HDN_FIRST - 1;
constexpr UINT HDN_ITEMCLICK = HDN_FIRST - 2;
constexpr UINT HDN_ITEMDBLCLICK = HDN_FIRST - 3;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_FIRST - 5;
constexpr UINT HDN_BEGINTRACK = HDN_FIRST - 6;  // non-zero refuses the divider drag
constexpr UINT HDN_ENDTRACK = HDN_FIRST - 7;
constexpr UINT HDN_TRACK = HDN_FIRST - 8;
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;  // non-zero refuses the item drag
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;    // pitem->iOrder the new place; non-zero refuses

struct NMHEADER {
  NMHDR hdr;
  int iItem;
  int iButton;
  HDITEM* pitem;
};
using LPNMHEADER = NMHEADER*;

// ---- List view (SysListView32) ----------------------------------------------

#define WC_LISTVIEW "SysListView32"

constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_NOLABELWRAP = 0x0080;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x0010;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

constexpr UINT ODT_LISTVIEW = 102;

// A text pointer that makes the list ask its parent (LVN_GETDISPINFO).
#define LPSTR_TEXTCALLBACK (reinterpret_cast<LPSTR>(-1))
constexpr int I_IMAGECALLBACK = -1;

struct LVCOLUMN {
  UINT mask;
  int fmt;
  int cx;
  LPSTR pszText;
  int cchTextMax;
  int iSubItem;
  int iImage;
  int iOrder;
};
using LPLVCOLUMN = LVCOLUMN*;
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_IMAGE = 0x0010;
constexpr UINT LVCF_ORDER = 0x0020;
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

struct LVITEM {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};
using LPLVITEM = LVITEM*;
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;

constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;
constexpr UINT LVNI_TOLEFT = 0x0400;
constexpr UINT LVNI_TORIGHT = 0x0800;

constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

constexpr int LVA_DEFAULT = 0x0000;
constexpr int LVA_ALIGNLEFT = 0x0001;
constexpr int LVA_ALIGNTOP = 0x0002;
constexpr int LVA_SNAPTOGRID = 0x0005;

constexpr LPARAM LVSICF_NOINVALIDATEALL = 0x0001;
constexpr LPARAM LVSICF_NOSCROLL = 0x0002;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
  int iSubItem;
};
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;  // wParam LVSIL_; the previous list
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEM = LVM_FIRST + 5;
constexpr UINT LVM_SETITEM = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEM = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;  // lParam RECT* with left the LVIR_ code
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_ARRANGE = LVM_FIRST + 22;
constexpr UINT LVM_EDITLABEL = LVM_FIRST + 23;  // the edit control, null when refused
constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
constexpr UINT LVM_GETCOLUMN = LVM_FIRST + 25;
constexpr UINT LVM_SETCOLUMN = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMN = LVM_FIRST + 27;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
// wParam index, lParam POINT* (may be null) given the image's upper-left corner
// in client coordinates; a new one-image list of the item's icon and label.
constexpr UINT LVM_CREATEDRAGIMAGE = LVM_FIRST + 33;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;  // wParam index, -1 for all
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;  // lParam the mask
constexpr UINT LVM_GETITEMTEXT = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXT = LVM_FIRST + 46;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;  // wParam mask (0: all), lParam styles
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58;
constexpr UINT LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59;

constexpr UINT LVN_FIRST = 0u - 100u;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;  // non-zero refuses
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;  // TRUE: no LVN_DELETEITEM per item
constexpr UINT LVN_BEGINLABELEDIT = LVN_FIRST - 5;  // non-zero refuses
constexpr UINT LVN_ENDLABELEDIT = LVN_FIRST - 6;    // TRUE keeps the new text; pszText null when cancelled
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
constexpr UINT LVN_ODCACHEHINT = LVN_FIRST - 13;
constexpr UINT LVN_GETDISPINFO = LVN_FIRST - 50;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
  UINT uKeyFlags;
};

struct NMLVDISPINFO {
  NMHDR hdr;
  LVITEM item;
};

struct NMLVCACHEHINT {
  NMHDR hdr;
  int iFrom;
  int iTo;
};

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};

// ---- Image lists --------------------------------------------------------------
// A list of same-sized images kept as 32-bit pixels with alpha. A handle names
// a record of its own, never reused: a stale one fails the call. Lists of
// fewer than 32 bits take their images' colours to their depth (4 bits: the
// sixteen standard colours; 16 bits: five bits a channel); only 32-bit lists
// keep an image's alpha. With ILC_MASK the mask (or the colour key of
// AddMasked) makes pixels transparent. (HIMAGELIST is declared above.)

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// No image (I_IMAGECALLBACK, an image the parent gives, is declared above).
constexpr int I_IMAGENONE = -2;

// cx, cy 1 to 4096; `initial` and `grow` only size the storage.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds one image per cx-wide strip of the bitmap; the mask bitmap (white:
// transparent) counts only with ILC_MASK. Returns the first new index, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// The same, pixels of colour `key` becoming transparent (with ILC_MASK).
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF key);
// Replaces image `index` by the icon scaled to the list's size, or adds it
// when index is -1; returns its index, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }
// Removes image `index`, or every image when index is -1.
BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) { return ImageList_Remove(list, -1); }
// The colour drawn under transparent pixels by ILD_NORMAL; CLR_NONE (the
// default) leaves them transparent. Returns the previous one.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// Draws image `index` at (x, y). ILD_BLEND25 and ILD_BLEND50 tint it with the
// highlight colour; ILD_MASK draws the mask (black where opaque, white elsewhere).
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// A new icon of image `index`; the caller destroys it.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT style);

// Drag images: one image at a time moves over the screen context
// (GetDC(NULL)), restoring what lay under it at each move.
// Starts a drag of image `index`, the pointer being at (dx, dy) in the image.
BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot);
// Shows the image with the pointer at (x, y) relative to the window's
// upper-left corner (of the screen when lock is null).
BOOL ImageList_DragEnter(HWND lock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL show);
// Hides the image, restoring what lay under it.
BOOL ImageList_DragLeave(HWND lock);
void ImageList_EndDrag();

// ---- Tree view ("SysTreeView32") ------------------------------------------------
// Item handles are never reused: a deleted item's handle fails every call.

#define WC_TREEVIEW "SysTreeView32"
#define WC_TREEVIEWA WC_TREEVIEW

struct TREEITEM_RECORD;
using HTREEITEM = TREEITEM_RECORD*;

#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD)))

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
constexpr DWORD TVS_INFOTIP = 0x0800;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;

constexpr int I_CHILDRENCALLBACK = -1;

struct TVITEMA {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};
using TVITEM = TVITEMA;
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCTA {
  HTREEITEM hParent;  // TVI_ROOT or null: a root item
  HTREEITEM hInsertAfter;  // an item, TVI_FIRST, TVI_LAST or TVI_SORT
  TVITEM item;
};
using TVINSERTSTRUCT = TVINSERTSTRUCTA;
using LPTVINSERTSTRUCT = TVINSERTSTRUCT*;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr int TVSIL_NORMAL = 0;
constexpr int TVSIL_STATE = 2;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

struct TVHITTESTINFO {
  POINT pt;  // client coordinates
  UINT flags;
  HTREEITEM hItem;
};
using LPTVHITTESTINFO = TVHITTESTINFO*;

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;        // lParam TVINSERTSTRUCT*; the new item or null
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;         // lParam item (TVI_ROOT: all)
constexpr UINT TVM_EXPAND = TV_FIRST + 2;             // wParam TVE_ code, lParam item
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;        // wParam TRUE: the label only; lParam RECT* holding the item in
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;       // wParam TVSIL_, lParam HIMAGELIST; the previous list
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;       // wParam TVGN_, lParam item
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;        // wParam TVGN_CARET, DROPHILITE or FIRSTVISIBLE
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;          // lParam TVITEM*
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;          // lParam TVITEM*
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;        // lParam item; the edit control or null
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;           // lParam TVHITTESTINFO*
constexpr UINT TVM_CREATEDRAGIMAGE = TV_FIRST + 18;   // lParam item; a new image list
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;   // wParam TRUE: cancel
constexpr UINT TVM_INSERTITEM = TVM_INSERTITEMA;
constexpr UINT TVM_GETITEM = TVM_GETITEMA;
constexpr UINT TVM_SETITEM = TVM_SETITEMA;
constexpr UINT TVM_EDITLABEL = TVM_EDITLABELA;

constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

constexpr UINT TVN_FIRST = 0u - 400u;
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;  // NMTREEVIEW; non-zero refuses
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;   // NMTREEVIEW
constexpr UINT TVN_GETDISPINFOA = TVN_FIRST - 3;  // NMTVDISPINFO for LPSTR_TEXTCALLBACK and I_ callbacks
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;  // NMTREEVIEW (action TVE_); non-zero refuses
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAGA = TVN_FIRST - 7;      // NMTREEVIEW with ptDrag
constexpr UINT TVN_BEGINRDRAGA = TVN_FIRST - 8;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;     // NMTREEVIEW, itemOld the item going
constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;  // NMTVDISPINFO; non-zero refuses
constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;  // NMTVDISPINFO, pszText null when cancelled; TRUE keeps the text
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;        // NMTVKEYDOWN
constexpr UINT TVN_GETINFOTIPA = TVN_FIRST - 13;    // NMTVGETINFOTIP
constexpr UINT TVN_SELCHANGING = TVN_SELCHANGINGA;
constexpr UINT TVN_SELCHANGED = TVN_SELCHANGEDA;
constexpr UINT TVN_GETDISPINFO = TVN_GETDISPINFOA;
constexpr UINT TVN_ITEMEXPANDING = TVN_ITEMEXPANDINGA;
constexpr UINT TVN_ITEMEXPANDED = TVN_ITEMEXPANDEDA;
constexpr UINT TVN_BEGINDRAG = TVN_BEGINDRAGA;
constexpr UINT TVN_BEGINRDRAG = TVN_BEGINRDRAGA;
constexpr UINT TVN_DELETEITEM = TVN_DELETEITEMA;
constexpr UINT TVN_BEGINLABELEDIT = TVN_BEGINLABELEDITA;
constexpr UINT TVN_ENDLABELEDIT = TVN_ENDLABELEDITA;
constexpr UINT TVN_GETINFOTIP = TVN_GETINFOTIPA;

struct NMTREEVIEWA {
  NMHDR hdr;
  UINT action;  // TVC_ for selection, TVE_ for expansion
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};
using NMTREEVIEW = NMTREEVIEWA;
using LPNMTREEVIEW = NMTREEVIEW*;

struct NMTVDISPINFOA {
  NMHDR hdr;
  TVITEM item;
};
using NMTVDISPINFO = NMTVDISPINFOA;
using TV_DISPINFO = NMTVDISPINFO;

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};

struct NMTVGETINFOTIPA {
  NMHDR hdr;
  LPSTR pszText;  // a buffer of cchTextMax bytes the parent fills
  int cchTextMax;
  HTREEITEM hItem;
  LPARAM lParam;
};
using NMTVGETINFOTIP = NMTVGETINFOTIPA;

// The message helpers of the tree view.
inline HTREEITEM TreeView_InsertItem(HWND tree, const TVINSERTSTRUCT* is) {
  return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(is)));
}
inline BOOL TreeView_DeleteItem(HWND tree, HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_DeleteAllItems(HWND tree) { return TreeView_DeleteItem(tree, TVI_ROOT); }
inline BOOL TreeView_Expand(HWND tree, HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessage(tree, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM TreeView_GetNextItem(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM TreeView_GetChild(HWND tree, HTREEITEM item) { return TreeView_GetNextItem(tree, item, TVGN_CHILD); }
inline HTREEITEM TreeView_GetNextSibling(HWND tree, HTREEITEM item) { return TreeView_GetNextItem(tree, item, TVGN_NEXT); }
inline HTREEITEM TreeView_GetParent(HWND tree, HTREEITEM item) { return TreeView_GetNextItem(tree, item, TVGN_PARENT); }
inline HTREEITEM TreeView_GetRoot(HWND tree) { return TreeView_GetNextItem(tree, nullptr, TVGN_ROOT); }
inline HTREEITEM TreeView_GetSelection(HWND tree) { return TreeView_GetNextItem(tree, nullptr, TVGN_CARET); }
inline BOOL TreeView_GetItem(HWND tree, TVITEM* item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SetItem(HWND tree, const TVITEM* item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SelectItem(HWND tree, HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SelectDropTarget(HWND tree, HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info) {
  return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}
inline HIMAGELIST TreeView_SetImageList(HWND tree, HIMAGELIST list, int which) {
  return reinterpret_cast<HIMAGELIST>(SendMessage(tree, TVM_SETIMAGELIST, static_cast<WPARAM>(which),
                                                  reinterpret_cast<LPARAM>(list)));
}
inline HWND TreeView_EditLabel(HWND tree, HTREEITEM item) {
  return reinterpret_cast<HWND>(SendMessage(tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(item)));
}
inline HIMAGELIST TreeView_CreateDragImage(HWND tree, HTREEITEM item) {
  return reinterpret_cast<HIMAGELIST>(SendMessage(tree, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(item)));
}
inline UINT TreeView_GetCount(HWND tree) { return static_cast<UINT>(SendMessage(tree, TVM_GETCOUNT, 0, 0)); }
// Mouse notifications of bars (NM_CLICK, NM_DBLCLK, NM_RCLICK): the item
// (status bar part, toolbar command) under the point, in client coordinates.
struct NMMOUSE {
  NMHDR hdr;
  DWORD_PTR dwItemSpec;
  DWORD_PTR dwItemData;
  POINT pt;
  LPARAM dwHitInfo;
};

// Styles every bar (status bar, toolbar) shares.
constexpr DWORD CCS_TOP = 0x0001;
constexpr DWORD CCS_NOMOVEY = 0x0002;
constexpr DWORD CCS_BOTTOM = 0x0003;
constexpr DWORD CCS_NORESIZE = 0x0004;
constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
constexpr DWORD CCS_NODIVIDER = 0x0040;

// ---- Status bar ---------------------------------------------------------------
//
// A bar along the bottom of its parent (the parent forwards WM_SIZE, and the
// bar places itself) split into parts. Its height follows its font only, so
// texts and icons never change it.

#define STATUSCLASSNAME "msctls_statusbar32"
#define STATUSCLASSNAMEA STATUSCLASSNAME

constexpr DWORD SBARS_SIZEGRIP = 0x0100;

constexpr UINT SB_SETTEXTA = WM_USER + 1;
constexpr UINT SB_GETTEXTA = WM_USER + 2;
constexpr UINT SB_GETTEXTLENGTHA = WM_USER + 3;
constexpr UINT SB_SETPARTS = WM_USER + 4;
constexpr UINT SB_GETPARTS = WM_USER + 6;
constexpr UINT SB_GETBORDERS = WM_USER + 7;
constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;
constexpr UINT SB_SIMPLE = WM_USER + 9;
constexpr UINT SB_GETRECT = WM_USER + 10;
constexpr UINT SB_ISSIMPLE = WM_USER + 14;
constexpr UINT SB_SETICON = WM_USER + 15;
constexpr UINT SB_GETICON = WM_USER + 20;
constexpr UINT SB_SETTEXT = SB_SETTEXTA;
constexpr UINT SB_GETTEXT = SB_GETTEXTA;
constexpr UINT SB_GETTEXTLENGTH = SB_GETTEXTLENGTHA;

// SB_SETTEXT: the part in the low byte of wParam (SB_SIMPLEID for the one
// part of simple mode), one of these in the high byte.
constexpr UINT SB_SIMPLEID = 0x00FF;
constexpr UINT SBT_OWNERDRAW = 0x1000;
constexpr UINT SBT_NOBORDERS = 0x0100;
constexpr UINT SBT_POPOUT = 0x0200;
constexpr UINT SBT_RTLREADING = 0x0400;
// The most parts a bar keeps (SB_SETPARTS fails beyond it).
constexpr int SB_MAXPARTS = 256;

HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);
#define CreateStatusWindow CreateStatusWindowA

// ---- Tab control ---------------------------------------------------------------
//
// One row of tabs along the top over a raised display area. A click or the
// arrow keys change the selection: TCN_SELCHANGING first (a non-zero answer
// keeps the old tab), then TCN_SELCHANGE. TCM_SETCURSEL notifies nothing.

#define WC_TABCONTROL "SysTabControl32"
#define WC_TABCONTROLA WC_TABCONTROL

constexpr DWORD TCS_FOCUSNEVER = 0x8000;

struct TCITEMA {
  UINT mask;
  DWORD dwState;
  DWORD dwStateMask;
  LPSTR pszText;
  int cchTextMax;  // TCM_GETITEM: the buffer's size, the text cut and terminated to fit
  int iImage;
  LPARAM lParam;
};
using TCITEM = TCITEMA;
using LPTCITEMA = TCITEMA*;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

struct TCHITTESTINFO {
  POINT pt;
  UINT flags;
};
constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEM = 0x0006;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_GETITEM = TCM_GETITEMA;
constexpr UINT TCM_SETITEM = TCM_SETITEMA;
constexpr UINT TCM_INSERTITEM = TCM_INSERTITEMA;

constexpr UINT TCN_FIRST = 0u - 550u;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

struct NMTCKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};

// ---- Property sheets -------------------------------------------------------------
//
// PropertySheet shows a modal dialog with a tab per page over the page area
// and OK, Cancel and Apply below. A page is a child dialog made from its
// template when first shown; it hears the sheet's notifications as WM_NOTIFY
// with a PSHNOTIFY and answers through DWLP_MSGRESULT. PropertySheet returns
// 1 after OK, 0 after Cancel and -1 when it cannot show the sheet (a wrong
// dwSize, no pages, a page template that does not exist). A page
// that disables the sheet's OK button keeps Enter from ending the sheet.

struct DialogTemplate;

struct PROPSHEETPAGEA {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  union {
    LPCSTR pszTemplate;               // a template's name, or MAKEINTRESOURCE of its number
    const DialogTemplate* pResource;  // with PSP_DLGINDIRECT
  };
  union {
    HICON hIcon;
    LPCSTR pszIcon;
  };
  LPCSTR pszTitle;  // the tab's text with PSP_USETITLE, else the template's caption
  DLGPROC pfnDlgProc;
  LPARAM lParam;  // the page's WM_INITDIALOG receives this record
};
using PROPSHEETPAGE = PROPSHEETPAGEA;
using LPCPROPSHEETPAGEA = const PROPSHEETPAGEA*;

constexpr DWORD PSP_DEFAULT = 0x0000;
constexpr DWORD PSP_DLGINDIRECT = 0x0001;
constexpr DWORD PSP_USETITLE = 0x0008;

struct PROPSHEETHEADERA {
  DWORD dwSize;
  DWORD dwFlags;
  HWND hwndParent;
  HINSTANCE hInstance;
  union {
    HICON hIcon;
    LPCSTR pszIcon;
  };
  LPCSTR pszCaption;
  UINT nPages;
  union {
    UINT nStartPage;
    LPCSTR pStartPage;
  };
  const PROPSHEETPAGEA* ppsp;  // an array of nPages pages (PSH_PROPSHEETPAGE)
};
using PROPSHEETHEADER = PROPSHEETHEADERA;

constexpr DWORD PSH_DEFAULT = 0x0000;
constexpr DWORD PSH_PROPSHEETPAGE = 0x0008;  // required: pages come as an array of records
constexpr DWORD PSH_NOAPPLYNOW = 0x0080;     // no Apply button

INT_PTR PropertySheetA(const PROPSHEETHEADERA* header);
#define PropertySheet PropertySheetA

struct PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;  // PSN_APPLY: TRUE when OK applies, FALSE for Apply
};

constexpr UINT PSN_FIRST = 0u - 200u;
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;  // TRUE in DWLP_MSGRESULT keeps the page
constexpr UINT PSN_APPLY = PSN_FIRST - 2;
constexpr UINT PSN_RESET = PSN_FIRST - 3;
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;  // TRUE keeps the sheet open

// Answers to PSN_APPLY.
constexpr LRESULT PSNRET_NOERROR = 0;
constexpr LRESULT PSNRET_INVALID = 1;               // the sheet stays, on this page
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2;  // the sheet stays, on the page it showed

constexpr UINT PSM_SETCURSEL = WM_USER + 101;
constexpr UINT PSM_CHANGED = WM_USER + 104;  // wParam: the page; enables Apply
constexpr UINT PSM_CANCELTOCLOSE = WM_USER + 107;
constexpr UINT PSM_QUERYSIBLINGS = WM_USER + 108;
constexpr UINT PSM_UNCHANGED = WM_USER + 109;
constexpr UINT PSM_APPLY = WM_USER + 110;
constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;
constexpr UINT PSM_GETTABCONTROL = WM_USER + 116;
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;

constexpr int PSBTN_OK = 1;
constexpr int PSBTN_APPLYNOW = 4;
constexpr int PSBTN_CANCEL = 5;

// The sheet's own controls.
constexpr int IDC_TABCONTROL = 0x3020;
constexpr int ID_APPLY_NOW = 0x3021;

// ---- Progress bar --------------------------------------------------------------

#define PROGRESS_CLASS "msctls_progress32"
#define PROGRESS_CLASSA PROGRESS_CLASS

constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

// Positions are clamped to the range; PBM_SETPOS, DELTAPOS and STEPIT answer
// the previous position, PBM_SETRANGE the previous range as MAKELONG(low, high).
constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;  // past the high end it starts again from the low end
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;

struct PBRANGE {
  int iLow;
  int iHigh;
};

// ---- Trackbar ---------------------------------------------------------------------
//
// A thumb on a channel. Every move tells the parent with WM_HSCROLL (WM_VSCROLL
// for TBS_VERT), lParam the trackbar, a TB_ code in the low word of wParam
// and, for TB_THUMBTRACK and TB_THUMBPOSITION, the position in the high word;
// TB_ENDTRACK follows when the key or button is released.

#define TRACKBAR_CLASS "msctls_trackbar32"
#define TRACKBAR_CLASSA TRACKBAR_CLASS

constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_NOTICKS = 0x0010;

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;    // wParam: redraw; lParam: the position, clamped
constexpr UINT TBM_SETRANGE = WM_USER + 6;  // wParam: redraw; lParam: MAKELONG(min, max)
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;
constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;

constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// ---- Custom draw ---------------------------------------------------------------------
//
// NM_CUSTOMDRAW: the control asks its parent before it paints (CDDS_PREPAINT);
// an answer with CDRF_NOTIFYITEMDRAW asks again for each item
// (CDDS_ITEMPREPAINT), where CDRF_SKIPDEFAULT means the parent drew it.

struct NMCUSTOMDRAW {
  NMHDR hdr;
  DWORD dwDrawStage;
  HDC hdc;
  RECT rc;
  DWORD_PTR dwItemSpec;  // the item: a toolbar button's command id
  UINT uItemState;       // CDIS_ flags
  LPARAM lItemlParam;
};

constexpr DWORD CDDS_PREPAINT = 0x00000001;
constexpr DWORD CDDS_POSTPAINT = 0x00000002;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

constexpr LRESULT CDRF_DODEFAULT = 0x00;
constexpr LRESULT CDRF_SKIPDEFAULT = 0x04;
constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x10;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x20;

constexpr UINT CDIS_SELECTED = 0x0001;
constexpr UINT CDIS_GRAYED = 0x0002;
constexpr UINT CDIS_DISABLED = 0x0004;
constexpr UINT CDIS_CHECKED = 0x0008;
constexpr UINT CDIS_FOCUS = 0x0010;
constexpr UINT CDIS_HOT = 0x0040;
constexpr UINT CDIS_INDETERMINATE = 0x0100;

// ---- Toolbar ---------------------------------------------------------------------------
//
// A row of buttons along the top of its parent (the parent forwards WM_SIZE).
// A click on an enabled button sends WM_COMMAND (the id, BN_CLICKED, the
// toolbar) to the parent; BTNS_CHECK buttons toggle first, and a check group
// keeps one checked. A drop-down button sends TBN_DROPDOWN when pressed on its
// arrow part (TBSTYLE_EX_DRAWDDARROWS) or anywhere (without it) instead.
// With TBSTYLE_TOOLTIPS the bar makes its own tooltip window and shows the
// tip TBN_GETINFOTIP gives for the button the pointer rests on.

#define TOOLBARCLASSNAME "ToolbarWindow32"
#define TOOLBARCLASSNAMEA TOOLBARCLASSNAME

struct TBBUTTON {
  int iBitmap;
  int idCommand;
  BYTE fsState;
  BYTE fsStyle;
  BYTE bReserved[6];
  DWORD_PTR dwData;
  INT_PTR iString;  // the button's text as a pointer, or none
};
using LPTBBUTTON = TBBUTTON*;
using LPCTBBUTTON = const TBBUTTON*;

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;

constexpr BYTE BTNS_BUTTON = 0x00;
constexpr BYTE BTNS_SEP = 0x01;
constexpr BYTE BTNS_CHECK = 0x02;
constexpr BYTE BTNS_GROUP = 0x04;
constexpr BYTE BTNS_CHECKGROUP = BTNS_GROUP | BTNS_CHECK;
constexpr BYTE BTNS_DROPDOWN = 0x08;
constexpr BYTE TBSTYLE_BUTTON = BTNS_BUTTON;
constexpr BYTE TBSTYLE_SEP = BTNS_SEP;
constexpr BYTE TBSTYLE_CHECK = BTNS_CHECK;
constexpr BYTE TBSTYLE_DROPDOWN = BTNS_DROPDOWN;

constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x0001;

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
constexpr UINT TB_SETSTATE = WM_USER + 17;  // wParam: the command id; lParam: TBSTATE_ flags
constexpr UINT TB_GETSTATE = WM_USER + 18;  // -1 for an unknown id
constexpr UINT TB_ADDBUTTONSA = WM_USER + 20;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;  // wParam: the index
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;
constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;
constexpr UINT TB_AUTOSIZE = WM_USER + 33;
constexpr UINT TB_GETROWS = WM_USER + 40;
// lParam: the list the buttons' iBitmap indexes (the bar does not own it); returns the previous one.
constexpr UINT TB_SETIMAGELIST = WM_USER + 48;
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
constexpr UINT TB_GETTOOLTIPS = WM_USER + 35;
constexpr UINT TB_SETTOOLTIPS = WM_USER + 36;  // wParam: a tooltip window the bar uses but does not own
constexpr UINT TB_SETBUTTONINFOA = WM_USER + 66;
constexpr UINT TB_GETHOTITEM = WM_USER + 71;
constexpr UINT TB_SETHOTITEM = WM_USER + 72;
constexpr UINT TB_SETEXTENDEDSTYLE = WM_USER + 84;
constexpr UINT TB_GETEXTENDEDSTYLE = WM_USER + 85;
constexpr UINT TB_ADDBUTTONS = TB_ADDBUTTONSA;
constexpr UINT TB_SETBUTTONINFO = TB_SETBUTTONINFOA;

struct TBBUTTONINFOA {
  UINT cbSize;
  DWORD dwMask;
  int idCommand;
  int iImage;
  BYTE fsState;
  BYTE fsStyle;
  WORD cx;
  DWORD_PTR lParam;
  LPSTR pszText;
  int cchText;
};
using TBBUTTONINFO = TBBUTTONINFOA;

constexpr DWORD TBIF_IMAGE = 0x00000001;
constexpr DWORD TBIF_TEXT = 0x00000002;
constexpr DWORD TBIF_STATE = 0x00000004;
constexpr DWORD TBIF_STYLE = 0x00000008;
constexpr DWORD TBIF_LPARAM = 0x00000010;
constexpr DWORD TBIF_COMMAND = 0x00000020;
constexpr DWORD TBIF_SIZE = 0x00000040;

constexpr UINT TBN_FIRST = 0u - 700u;
constexpr UINT TBN_DROPDOWN = TBN_FIRST - 10;
constexpr UINT TBN_HOTITEMCHANGE = TBN_FIRST - 13;
constexpr UINT TBN_GETINFOTIPA = TBN_FIRST - 18;
constexpr UINT TBN_GETINFOTIP = TBN_GETINFOTIPA;

// TBN_GETINFOTIP: asked when the pointer comes to rest on a button of a bar
// with tooltips; the parent writes the tip into pszText (cchTextMax bytes
// with the terminator). An empty text shows no tip.
struct NMTBGETINFOTIPA {
  NMHDR hdr;
  LPSTR pszText;
  int cchTextMax;
  int iItem;  // the button's command id
  LPARAM lParam;
};
using NMTBGETINFOTIP = NMTBGETINFOTIPA;
constexpr int INFOTIPSIZE = 1024;

struct NMTOOLBARA {
  NMHDR hdr;
  int iItem;  // the button's command id
  TBBUTTON tbButton;
  int cchText;
  LPSTR pszText;
  RECT rcButton;
};
using NMTOOLBAR = NMTOOLBARA;

struct NMTBCUSTOMDRAW {
  NMCUSTOMDRAW nmcd;
  HBRUSH hbrMonoDither;
  HBRUSH hbrLines;
  HPEN hpenLines;
  COLORREF clrText;
  COLORREF clrMark;
  COLORREF clrTextHighlight;
  COLORREF clrBtnFace;
  COLORREF clrBtnHighlight;
  COLORREF clrHighlightHotTrack;
  RECT rcText;
  int nStringBkMode;
  int nHLStringBkMode;
  int iListGap;
};

// ---- Tooltips ---------------------------------------------------------------------------
//
// A topmost pop-up owned by the window that made it. Tools are areas of
// windows (or whole windows with TTF_IDISHWND). A tool's tip shows after the
// pointer rests on it for the initial delay of the message clock, as seen
// through TTM_RELAYEVENT, and goes when the pointer leaves it, after the
// auto-pop delay, or with TTM_POP. A TTF_TRACK tool shows only while
// TTM_TRACKACTIVATE holds it, at TTM_TRACKPOSITION (its top-left corner with
// TTF_ABSOLUTE, else just below and right of the point). Texts longer than
// the maximum tip width wrap at spaces, and line breaks in a text always
// start a new line; tips are kept on the screen.

#define TOOLTIPS_CLASS "tooltips_class32"
#define TOOLTIPS_CLASSA TOOLTIPS_CLASS

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;

struct TOOLINFOA {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;  // with TTF_IDISHWND: the tool's own window
  RECT rect;     // the tool's area in hwnd's client coordinates
  HINSTANCE hinst;
  LPSTR lpszText;
  LPARAM lParam;
};
using TOOLINFO = TOOLINFOA;
using LPTOOLINFOA = TOOLINFOA*;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOLA = WM_USER + 4;  // FALSE for a wrong cbSize or a tool already there
constexpr UINT TTM_DELTOOLA = WM_USER + 5;
constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;  // lParam: the MSG of a mouse message of a tool's window
constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;
constexpr UINT TTM_GETTEXTA = WM_USER + 11;  // wParam: the buffer's size; the text cut and terminated
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;  // lParam: MAKELPARAM(x, y) on the screen
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;  // answers the previous width (-1: none)
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
constexpr UINT TTM_GETBUBBLESIZE = WM_USER + 30;  // answers MAKELONG(width, height)
constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLA;
constexpr UINT TTM_DELTOOL = TTM_DELTOOLA;
constexpr UINT TTM_NEWTOOLRECT = TTM_NEWTOOLRECTA;
constexpr UINT TTM_GETTOOLINFO = TTM_GETTOOLINFOA;
constexpr UINT TTM_GETTEXT = TTM_GETTEXTA;
constexpr UINT TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTA;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTN_FIRST = 0u - 520u;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
