// The cursor kinds of the tools and their cursor resources (draw/cursors.rc).
#include "draw/crosshair.h"
#include "platform/resources.h"
#include "platform/user.h"

namespace {

constexpr std::uint32_t kStyleTargetCursors = 1;

// Kinds 1 to 41; a null second name means the same cursor for both styles.
constexpr CursorNames kCursorKinds[] = {
    {"CURSOR_A", "CURSOR_A_NO_TARGET"},                            // 1
    {"CURSOR_C", "CURSOR_C_NO_TARGET"},                            // 2
    {"CURSOR_E", "CURSOR_E_NO_TARGET"},                            // 3
    {"CURSOR_EDIT_ADD_POINT", "CURSOR_EDIT_ADD_POINT_NO_TARGET"},  // 4
    {"CURSOR_F", "CURSOR_F_NO_TARGET"},                            // 5
    {"CURSOR_INSERT", "CURSOR_INSERT_NO_TARGET"},                  // 6
    {"CURSOR_T", "CURSOR_T_NO_TARGET"},                            // 7
    {"CURSOR_M", "CURSOR_M_NO_TARGET"},                            // 8
    {"CURSOR_N", "CURSOR_N_NO_TARGET"},                            // 9
    {"CURSOR_NO", nullptr},                                        // 10
    {"CURSOR_ORIGIN", nullptr},                                    // 11
    {"CURSOR_PAN", nullptr},                                       // 12
    {"CURSOR_P", "CURSOR_P_NO_TARGET"},                            // 13
    {"CURSOR_R", "CURSOR_R_NO_TARGET"},                            // 14
    {"CURSOR_ZOOM_IN", nullptr},                                   // 15
    {"CURSOR_ZOOM_OUT", nullptr},                                  // 16
    {"CURSOR_DELETE", "CURSOR_DELETE_NO_TARGET"},                  // 17
    {"CURSOR_DRC", "CURSOR_DRC_NO_TARGET"},                        // 18
    {"CURSOR_U", "CURSOR_U_NO_TARGET"},                            // 19
    {"CURSOR_J", "CURSOR_J_NO_TARGET"},                            // 20
    {"CURSOR_B", "CURSOR_B_NO_TARGET"},                            // 21
    {"CURSOR_PAD_CENTRE", nullptr},                                // 22
    {"CURSOR_CENTROID", "CURSOR_CENTROID_NO_TARGET"},              // 23
    {"CURSOR_H", "CURSOR_H_NO_TARGET"},                            // 24
    {"CURSOR_SPIRAL", "CURSOR_SPIRAL_NO_TARGET"},                  // 25
    {"CURSOR_P", "CURSOR_P_NO_TARGET"},                            // 26
    {"CURSOR_W", "CURSOR_W_NO_TARGET"},                            // 27
    {"CURSOR_B", "CURSOR_B_NO_TARGET"},                            // 28
    {"CURSOR_D", "CURSOR_D_NO_TARGET"},                            // 29
    {"CURSOR_F", "CURSOR_F_NO_TARGET"},                            // 30
    {"CURSOR_P", "CURSOR_P_NO_TARGET"},                            // 31
    {"CURSOR_+N", "CURSOR_+N_NO_TARGET"},                          // 32
    {"CURSOR_-N", "CURSOR_-N_NO_TARGET"},                          // 33
    {"CURSOR_SA", "CURSOR_SA_NO_TARGET"},                          // 34
    {"CURSOR_PA", "CURSOR_PA_NO_TARGET"},                          // 35
    {"CURSOR_GN", "CURSOR_GN_NO_TARGET"},                          // 36
    {"CURSOR_PS", "CURSOR_PS_NO_TARGET"},                          // 37
    {"CURSOR_PZ", "CURSOR_PZ_NO_TARGET"},                          // 38
    {"CURSOR_PR", "CURSOR_PR_NO_TARGET"},                          // 39
    {"CURSOR_MM", "CURSOR_MM_NO_TARGET"},                          // 40
    {"CURSOR_RADIUS", "CURSOR_RADIUS_NO_TARGET"},                  // 41
};
constexpr std::uint32_t kLastKind = sizeof kCursorKinds / sizeof kCursorKinds[0];

}  // namespace

CursorNames CursorNamesOfKind(std::uint32_t kind) {
  if (kind == 0 || kind > kLastKind) return {"CURSOR_CROSS", nullptr};
  const CursorNames& names = kCursorKinds[kind - 1];
  return {names.withTarget, names.withLines ? names.withLines : names.withTarget};
}

HCURSOR LoadEditCursor(const CrosshairRecord* record) {
  const CursorNames names = CursorNamesOfKind(record->kind);
  const char* name = record->style == kStyleTargetCursors ? names.withTarget : names.withLines;
  HCURSOR cursor = name ? LoadCursorA(GetModuleHandleA(nullptr), name) : nullptr;
  if (ActiveWindowData) ActiveWindowData->CursorHandle = cursor;
  return cursor;
}

void SetEditCursor(std::uint32_t kind) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block) return;
  block->CursorKind = kind;
  SetCursor(LoadEditCursor(&block->Crosshair));
  if (block->Window)
    MoveCrosshair(static_cast<HWND>(block->Window), &block->Crosshair, block->MousePixel.x, block->MousePixel.y);
}
