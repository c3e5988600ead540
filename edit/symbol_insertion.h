// Writing placed composite items into the design: a PCB symbol instance with
// its designator, attribute displays and net cross-reference entry, a shape
// instance and a pad-stack instance; re-placing an existing instance; the
// shape of one pad-stack layer; naming a pad; committing a moved designator
// or attribute display; a new attribute display on an item. Each commit
// that changes the design returns a new heap Box (std::free) of the changed
// area for the caller to redraw, or null.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct EntityRecord;
struct Tower;

// The prefix a new designator is numbered from when the definition has none.
constexpr const char* kDefaultDesignatorPrefix = "R";
// The prefix of the designator taken when the user cancels the question.
constexpr const char* kCancelledDesignatorPrefix = "DES";
// The longest designator or attribute text the dialogs take.
constexpr std::uint32_t kDesignatorTextMax = 255;

// Commits the item held in the active window's Selection at the point:
// a symbol (105, null: it is drawn through the display list), a shape (109)
// or a pad stack (115, 116).
pl3::Box* AcceptInsertion(pl3::Point point);
// The accept of modes 24 to 27 (new symbol, edited symbol, new shape, placed
// shape): the item committed with the design marked changed around it, the
// box redrawn, the selection and the array cleared and the tool ended. 1
// when the mode is one of them, else 0.
int CommitInsertionMode(HWND window, std::uint8_t mode, pl3::Point point);
// Inserts a Symbol Instance of the definition at the point with its
// designator (asked for), displays and netlist entry; a new Tower on it.
Tower* InsertSymbol(pl3::Point point, const Tower* definition);
// Moves the held existing item (106, 107, 116) to the point (mode 25).
pl3::Box* ModifyInsertion(pl3::Point point);
// The pad-stack editor: a new layer entry for the routing layer with the
// held shape (mode 26), or the held shape in place of the layer's (mode 27;
// option bit 0 deletes the old entry, bit 1 the old shape when no other
// layer uses it).
pl3::Box* InsertNewPadLayer();
pl3::Box* EditPadLayerShape(std::uint8_t layer, std::uint32_t options);
// Names the held pad with the pending label (mode 31); 0, the mode stays.
int AcceptPadName(HWND window, EntityRecord** pendingSlot);
// The placed designator copy (234) or attribute display (309) at its new
// place: box and offset anew, redrawn, mode 0.
void AcceptDesignatorPlacement(HWND window, const Tower* node, const pl3::Transform* transform);
void AcceptAttributeDisplayPlacement(HWND window, const Tower* node, const pl3::Transform* transform);
// A new attribute display (309) on the item, copying the given display or
// at the cursor; with ask the attribute is chosen first. A new Tower on the
// display, or null.
Tower* BuildDesignatorTextRecord(const Tower* item, const Tower* display, int ask);
