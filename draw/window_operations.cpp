// Three window operations that sit with the crosshair and cursor code.
#include <cstring>

#include "draw/crosshair.h"
#include "objects/display_list_seams.h"
#include "objects/designators.h"
#include "objects/type_codes.h"
#include "platform/mdi.h"
#include "platform/resources.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {
constexpr UINT kShowMaximised = 3;
}  // namespace

HWND CreateSchematicWindow(void* parameter) {
  if (!MDIClientWindow) return nullptr;
  DWORD style = 0;
  if (HWND active = reinterpret_cast<HWND>(SendMessage(MDIClientWindow, WM_MDIGETACTIVE, 0, 0))) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(active, &placement) && placement.showCmd == kShowMaximised) style |= WS_MAXIMIZE;
  }
  MDICREATESTRUCT create{};
  create.szClass = "SCHEMATIC_CHILD";
  create.szTitle = "Schematic Window";
  create.hOwner = GetModuleHandleA(nullptr);
  create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
  create.style = style;
  create.lParam = reinterpret_cast<LPARAM>(parameter);
  return reinterpret_cast<HWND>(SendMessage(MDIClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void ClearSubNetPointLists(const Tower* design) {
  if (!design) return;
  Tower* nets = GetAllNetsTower(design);
  while (nets && FindNextEntity(nets)) {
    Tower* subNets = GetChildTower(nets, Type_SubNetHier);
    while (subNets && FindNextEntity(subNets)) DeleteChildEntities(subNets, Type_SubNetPointsListInfo);
    ReleaseTower(&subNets);
  }
  ReleaseTower(&nets);
}

void SetDesignatorInfoBits(std::uint16_t bits, int on) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block || !block->design) return;
  Tower* symbols = GetChildTower(block->design, Type_SymbolInstance);
  while (symbols && FindNextEntity(symbols)) {
    Tower* designator = OpenChildTower(symbols, Type_Designator);
    Tower* copies = designator ? GetChildTower(designator, Type_DesignatorData) : nullptr;
    bool removed = false;
    while (copies && FindNextEntity(copies)) {
      Tower* info = OpenChildTower(copies, Type_DesignatorInfo);
      if (info && TowerEntity(info)->payloadSize >= sizeof(DesignatorInfo)) {
        if (!removed) RemoveFromDisplayList(block->Display, symbols);
        removed = true;
        auto* payload = reinterpret_cast<DesignatorInfo*>(TowerPayload(info));
        std::uint16_t display = 0;
        std::memcpy(&display, &payload->display, sizeof display);
        display = static_cast<std::uint16_t>(on ? display | bits : display & ~bits);
        std::memcpy(&payload->display, &display, sizeof display);
      }
      ReleaseTower(&info);
    }
    if (removed) PutEntityOnDisplayList(block->Display, symbols);
    ReleaseTower(&copies);
    ReleaseTower(&designator);
  }
  ReleaseTower(&symbols);
}
