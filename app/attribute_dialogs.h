// The attribute dialogs: "Edit Attributes" (1036), which lists an item's user
// attributes in a grid and writes the changes back; "Enter New Attribute"
// (1038), which asks for a name, offering the names the item knows of, and a
// value; and "Enter Text" (1132), which asks for a net name or "All".
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/user.h"

struct Tower;
struct AttributeNameList;

constexpr int kEditAttributesDialogId = 1036;
constexpr int kAttributeGrid = 3133;
constexpr int kNewAttributeButton = 3131;
constexpr int kDeleteAttributeButton = 3132;
constexpr int kApplyAttributesButton = 480;
constexpr int kAttributesOk = 407;
constexpr int kAttributesCancel = 408;

constexpr int kEnterNewAttributeDialogId = 1038;
constexpr int kNewAttributeName = 3136;
constexpr int kNewAttributeValue = 3236;

constexpr int kEnterTextDialogId = 1132;
constexpr int kEnterTextPrompt = 53;
constexpr int kEnterTextField = 72;
constexpr int kEnterTextAll = 3148;

// The column-width set of the attribute grid.
constexpr int kAttributeColumnSet = 30007;

// Edit Attributes' parameter block, the caller's for the length of the dialog.
struct EditAttributesBlock {
  char caption[1024];
  const Tower* item;
  std::uint32_t changed;  // set to 1 when an apply changed the item
};

// Runs Edit Attributes over the item's user attributes (Attributes of kind
// 14 directly under it); 1 when an apply changed the item. 0 when the dialog
// cannot be shown (without a grid control class it cannot).
std::uint32_t ShowEditAttributesDialog(HWND owner, const Tower* item, const char* caption);
INT_PTR CALLBACK EditAttributesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Writes Edit Attributes' grid to the item: an attribute without a row is
// deleted; one whose row shows another value is deleted and set again with
// the row's value; each new row's attribute is set. 1 when anything was
// deleted or set.
int ApplyAttributeRows(HWND dialog, const Tower* item);

// Enter New Attribute's parameter block: the names to offer (the caller's),
// and on OK the entered name (heap, never empty) and value (heap, or null
// when the value field is empty), which the caller frees.
struct NewAttributeBlock {
  const AttributeNameList* names;
  char* name;
  char* value;
};
// 1 on OK, 0 on Cancel.
INT_PTR ShowEnterNewAttributeDialog(HWND owner, NewAttributeBlock* block);
INT_PTR CALLBACK EnterNewAttributeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The first name of the list, in list order, that begins with the text of
// the dialog's name box (without regard to case), or null.
const char* FindCompletionName(HWND dialog, const AttributeNameList* list);

// Runs Enter Text: the prompt above a field holding the initial text, all of
// it selected. OK gives a new heap copy of the field, "All" a new empty heap
// string; Cancel gives back the initial text itself (which stays the
// caller's in every case).
char* AskText(const char* caption, const char* prompt, char* initial);
