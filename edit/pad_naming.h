// Naming a group of selected pads in one step: the "Name Pads" dialog takes a
// first and a second name, works out which part of the name counts up and by
// how much, and the pads are named in the chosen order.
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/natural_order.h"
#include "platform/user.h"

struct SelectionInfo;
struct Tower;

// Dialog 1144 "Name Pads": the two name fields and the ten order buttons.
constexpr int kNamePadsDialog = 1144;
constexpr int kFirstPadNameEdit = 3282;
constexpr int kSecondPadNameEdit = 3283;
constexpr int kOrderClockwise = 3272;
constexpr int kOrderAnticlockwise = 3273;
constexpr int kOrderRowsDown = 3274;         // left to right, top to bottom
constexpr int kOrderRowsUp = 3275;           // left to right, bottom to top
constexpr int kOrderRowsDownLeft = 3276;     // right to left, top to bottom
constexpr int kOrderRowsUpLeft = 3277;       // right to left, bottom to top
constexpr int kOrderColumnsRight = 3278;     // top to bottom, left to right
constexpr int kOrderColumnsLeft = 3279;      // top to bottom, right to left
constexpr int kOrderColumnsUpRight = 3280;   // bottom to top, left to right
constexpr int kOrderColumnsUpLeft = 3281;    // bottom to top, right to left
constexpr std::uint32_t kPadNameMaxLength = 1024;

// The pad-naming state: one engine-wide instance, cleared before the dialog opens.
struct PadNamingBlock {
  int order = 0;                             // the chosen order button, 0 for none
  std::vector<pl3::NameToken> firstName;
  std::vector<pl3::NameToken> secondName;    // empty when one pad is named
  std::int32_t step = 0;                     // growth of the changing field per pad
  int changingField = 0;                     // index of the token that changes
  int changingCharacter = 0;                 // position in that token, when it is text
  const SelectionInfo* selection = nullptr;  // the list the dialog looks at
};
extern PadNamingBlock PadNaming;

// One selected pad to be named.
struct PadSortRecord {
  std::uint32_t nameSlot;  // 0
  const Tower* item;       // the pad (141)
  std::int32_t x, y;       // its position held in the selection record
  double angle;            // radians, for the circular orders
};

// Checks the two names and fills the block's tokens and progression. A null
// second name means the field is disabled (one pad): the first name alone is
// taken. Null when the names are accepted, else the message to show (the
// block's token lists are then empty).
const char* CheckPadNames(const char* first, const char* second, PadNamingBlock* block);

// The pads (141) of the selection list in the order of the button, keys
// compared (never subtracted), equal keys keeping their list order. The
// circular orders turn about the pads' mean position, starting from the
// direction of the active window's cursor.
std::vector<PadSortRecord> SortPadsForNaming(const SelectionInfo* list, int order);

// Names the sorted pads from the block's first name on, the changing field
// growing by the step from pad to pad. 1 when every pad was named; 0 after a
// message when a pad is not in the list or the progression cannot go on.
int NameSortedPins(const std::vector<PadSortRecord>& pads, const SelectionInfo* list, PadNamingBlock* block);

// The Name Selected Pads command: runs the dialog over the active window's
// selection and, on OK, names the pads. Always 1.
int NameSelectedPads(HWND view);
INT_PTR CALLBACK NamePadsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
