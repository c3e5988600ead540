// "Select Attribute" (dialog 1186): the list of the attribute names of a
// placed symbol's imported symbol, from which a new attribute display takes
// its attribute. ChooseItemAttribute (edit/attribute_choice.h) runs it.
#pragma once
#include <string>
#include <vector>

#include "platform/user.h"

constexpr int kSelectAttributeDialogId = 1186;
constexpr int kAttributeListId = 1187;

struct Tower;

// The names of the imported attributes (291 under 290 under 289) of the
// Imported Symbol, in stored order.
std::vector<std::string> ImportedAttributeNames(const Tower* importedSymbol);
// lParam: a pointer to the AttributeChoice the dialog fills.
INT_PTR CALLBACK SelectAttributeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

struct AttributeChoice {
  std::vector<std::string> names;  // listed
  std::string chosen;              // set by OK with a line selected
};
