// Dialog 1134 "Choose Items For Selection": which kinds of object, on which
// layers, a rectangle selection takes (CurrentSelectionFilter).
#include "edit/selection_filter_dialog.h"

#include <cstring>
#include <vector>

#include "draw/display_list.h"
#include "edit/pick_hits.h"
#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/frame_drawing.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr int kSelectAllKinds = 1201, kClearAllKinds = 1202;
constexpr int kLayerList = kChooseItemsLayerList, kSelectAllLayers = 1204, kClearAllLayers = 1205;

struct KindBox {
  int id;
  const char* caption;
  std::uint16_t code;  // 7 holes without the via flag, 17 holes with it
};
constexpr KindBox kKindBoxes[] = {
    {1210, "Tracks", Type_Track},
    {1211, "Arcs", Type_Arc},
    {1212, "Circles", Type_Circle},
    {1213, "Polygons", Type_Polygon},
    {1214, "Rectangles", Type_Rectangle},
    {1215, "Non Plated Through Holes", Type_Hole},
    {1216, "Text", Type_Text},
    {1217, "Spirals", Type_Spiral},
    {1218, "Vias", Type_Via},
    {1219, "Symbols", Type_SymbolInstance},
    {1220, "PL2 Symbols", 163},
    {1221, "Planes", Type_Plane},
    {1222, "Poly Cuts", Type_PlaneCutout},
    {1223, "Linked Cuts", Type_LinkedCut},
    {1224, "Thermal Breaks", Type_ThermalBreak},
    {1225, "Star Earth Tracks", Type_StarEarthTrack},
    {1226, "Datums", Type_Datum},
};

constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
const DialogControl kControls[] = {
    {"BUTTON", -1, "Objects", 5, 4, 130, 206, BS_GROUPBOX},
    {"BUTTON", 1210, "Tracks", 12, 16, 110, 10, kCheck | WS_GROUP},
    {"BUTTON", 1211, "Arcs", 12, 27, 110, 10, kCheck},
    {"BUTTON", 1212, "Circles", 12, 38, 110, 10, kCheck},
    {"BUTTON", 1213, "Polygons", 12, 49, 110, 10, kCheck},
    {"BUTTON", 1214, "Rectangles", 12, 60, 110, 10, kCheck},
    {"BUTTON", 1215, "Non Plated Through Holes", 12, 71, 110, 10, kCheck},
    {"BUTTON", 1216, "Text", 12, 82, 110, 10, kCheck},
    {"BUTTON", 1217, "Spirals", 12, 93, 110, 10, kCheck},
    {"BUTTON", 1218, "Vias", 12, 104, 110, 10, kCheck},
    {"BUTTON", 1219, "Symbols", 12, 115, 110, 10, kCheck},
    {"BUTTON", 1220, "PL2 Symbols", 12, 126, 110, 10, kCheck},
    {"BUTTON", 1221, "Planes", 12, 137, 110, 10, kCheck},
    {"BUTTON", 1222, "Poly Cuts", 12, 148, 110, 10, kCheck},
    {"BUTTON", 1223, "Linked Cuts", 12, 159, 110, 10, kCheck},
    {"BUTTON", 1224, "Thermal Breaks", 12, 170, 110, 10, kCheck},
    {"BUTTON", 1225, "Star Earth Tracks", 12, 181, 110, 10, kCheck},
    {"BUTTON", 1226, "Datums", 12, 192, 110, 10, kCheck},
    {"BUTTON", kSelectAllKinds, "Select All", 5, 214, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kClearAllKinds, "Clear All", 73, 214, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", -1, "Layers", 142, 4, 130, 206, BS_GROUPBOX},
    {"LISTBOX", kLayerList, "", 149, 16, 116, 188,
     LBS_OWNERDRAWFIXED | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kSelectAllLayers, "Select All", 142, 214, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kClearAllLayers, "Clear All", 210, 214, 62, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 80, 236, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 150, 236, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kTemplate{nullptr, kChooseItemsDialog, "Choose Items For Selection", 0, 0, 278, 256,
                               DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kTemplate);

// The layer lines: layer number and tick, in list order.
struct LayerLine {
  std::uint8_t layer;
  bool checked;
};
std::vector<LayerLine> gLines;

void SetAllKinds(HWND dialog, bool checked) {
  for (const KindBox& box : kKindBoxes) CheckDlgButton(dialog, box.id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SetAllLayers(HWND dialog, bool checked) {
  for (LayerLine& line : gLines) line.checked = checked;
  InvalidateRect(GetDlgItem(dialog, kLayerList), nullptr, TRUE);
}

void FillLayerList(HWND dialog) {
  gLines.clear();
  const CurrentWindowData* w = ActiveWindowData;
  HWND list = GetDlgItem(dialog, kLayerList);
  if (!w) return;
  for (unsigned layer = 0; layer < kLayerCount; ++layer) {
    const LayerRecord& r = w->layerTable.layers[layer];
    if ((r.flags & (kLayerPresent | kLayerVisible)) != (kLayerPresent | kLayerVisible)) continue;
    gLines.push_back({static_cast<std::uint8_t>(layer), true});
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.name));
  }
}

// One line: a check box, a 4-pixel line in the layer's colour, the name.
void DrawLayerLine(const DRAWITEMSTRUCT& item) {
  if (item.itemID >= gLines.size() || !ActiveWindowData) return;
  const LayerLine& line = gLines[item.itemID];
  const LayerRecord& r = ActiveWindowData->layerTable.layers[line.layer];
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  const int h = area.bottom - area.top;
  RECT box{area.left + 2, area.top + 1, area.left + 1 + h - 1, area.bottom - 1};
  DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (line.checked ? DFCS_CHECKED : 0));
  HBRUSH colour = CreateSolidBrush(ColourToRGB(r.planeBit));
  const int mid = (area.top + area.bottom) / 2;
  RECT stroke{box.right + 4, mid - 2, box.right + 28, mid + 2};
  FillRect(dc, &stroke, colour);
  DeleteObject(colour);
  SetBkMode(dc, TRANSPARENT);
  TextOut(dc, stroke.right + 4, area.top, r.name, static_cast<int>(std::strlen(r.name)));
}

void ToggleLayerLine(HWND dialog) {
  HWND list = GetDlgItem(dialog, kLayerList);
  const auto index = static_cast<std::size_t>(SendMessage(list, LB_GETCURSEL, 0, 0));
  if (index >= gLines.size()) return;
  gLines[index].checked = !gLines[index].checked;
  InvalidateRect(list, nullptr, TRUE);
}

void BuildFilter(HWND dialog) {
  SelectionFilter& filter = CurrentSelectionFilter;
  filter = SelectionFilter{};
  for (const KindBox& box : kKindBoxes)
    if (IsDlgButtonChecked(dialog, box.id) == BST_CHECKED) filter.types.push_back(box.code);
  for (const LayerLine& line : gLines)
    if (line.checked) filter.layers.push_back(line.layer);
  filter.accepted = true;
}

}  // namespace

INT_PTR CALLBACK ChooseItemsForSelectionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CurrentSelectionFilter = SelectionFilter{};
      FillLayerList(dialog);
      return TRUE;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(kLayerList)) {
        DrawLayerLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kSelectAllKinds: SetAllKinds(dialog, true); return TRUE;
        case kClearAllKinds: SetAllKinds(dialog, false); return TRUE;
        case kSelectAllLayers: SetAllLayers(dialog, true); return TRUE;
        case kClearAllLayers: SetAllLayers(dialog, false); return TRUE;
        case kLayerList:
          if (HIWORD(wParam) == LBN_DBLCLK) ToggleLayerLine(dialog);
          return TRUE;
        case IDOK:
          BuildFilter(dialog);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          CurrentSelectionFilter.accepted = false;
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      CurrentSelectionFilter.accepted = false;
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      gLines.clear();
      return FALSE;
    default:
      return FALSE;
  }
}

int ChooseItemsForSelection(HWND owner) {
  CurrentSelectionFilter = SelectionFilter{};
  DialogBoxParam(nullptr, MAKEINTRESOURCE(kChooseItemsDialog), owner, &ChooseItemsForSelectionDlgProc, 0);
  return CurrentSelectionFilter.accepted ? 1 : 0;
}
