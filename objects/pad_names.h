// Pad names: the Label (202) under a pad's Label Hier (142), the next pin
// name in sequence, stepping a name's suffix, the duplicate test, naming a
// pad through the text-entry dialog, drawing the name, and the look-up of a
// symbol by the designator of an imported netlist.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct SelectionInfo;

#pragma pack(push, 1)
// The head of a Label; the NUL-terminated name follows it.
struct PadLabelHead {
  std::uint16_t display;      // bits 2-5 justification
  std::uint16_t flags;        // bit 0: the size is an index into the font size list
  std::uint32_t sizeIndex;
  std::uint8_t layer;
  std::uint8_t spare[3];
  std::uint32_t font;         // 3
  std::uint32_t reserved16;
  pl3::Transform transform;   // relative to the pad
  std::uint8_t reserved44[8];
  std::uint32_t last;         // 0
};
#pragma pack(pop)
static_assert(sizeof(PadLabelHead) == 56);
static_assert(offsetof(PadLabelHead, transform) == 20);
static_assert(offsetof(PadLabelHead, last) == 52);

// Where a new pad label goes relative to its pad; minus 50 thou each at start.
extern pl3::Point PadLabelOffset;

// A new Label (head and name) as SetPadLabel stores it, freed with free();
// its payload size is sizeof(PadLabelHead) + strlen(name) + 1.
PadLabelHead* NewPadLabel(const char* name);
void SetPadLabel(const Tower* pad, const char* name);
// The Label payload of the pad's newest Label Hier, or null.
std::uint8_t* GetPadStackInstanceLabel(const Tower* pad);
const char* GetPadLabelName(const Tower* pad);
void DeletePadLabel(const Tower* pad);
// Removes the labels of every pad in the selection list.
void DeleteSelectedPadLabels(const SelectionInfo* list);

// The next free pin name with the base's prefix among the pads under the
// parent; a new heap string.
char* GetNextPinName(const Tower* parent, const char* base);

// Numbered names (pin names, designators) number upward from their prefix and
// stop at the limit, where the fallback number is taken.
constexpr std::uint32_t kPinNumberLimit = 100000;
constexpr std::uint32_t kPinNumberFallback = 99998;
// Length of the text without its trailing decimal digits.
std::size_t PrefixLength(const char* text);
// A run of decimal digits as a number, saturating at the limit instead of overflowing.
std::uint64_t ReadClamped(const char* digits, std::uint64_t limit);
void AssignNextPinName(const Tower* pad);
int IsPadNameDuplicate(const Tower* pad);
// Step the suffix of a heap string; 1 when the name changed.
int IncrementNameSuffix(char** name, int allowLetters);
int DecrementNameSuffix(char* name);

// Opens the pad's name for editing; 1 with *label a new Label (freed with
// free()) when the user gave a name.
int EditPadName(const Tower* pad, PadLabelHead** label);
void EndPadNaming();
// The walker's draw handler of a Label: the name, centred in its pad when it fits.
int DrawPadLabel(void* dc, const Tower* label);
// One step of moving a pad name with the mouse (world point).
void MoveLabelToMouse(PadLabelHead* label, pl3::Point mouse);

// The Symbol Definition the imported netlist maps to the designator; the
// designator's case is set from the netlist. Null with a message otherwise.
Tower* GetSymbol(HWND owner, const Tower* design, char* designator);
// Brings the imported attribute values of the instance's designator in line
// with the symbol's own attribute texts.
void SyncImportedSymbolAttributes(const Tower* instance);
