// Dialog 1134 "Choose Items For Selection", which fills the rectangle
// selection's filter (CurrentSelectionFilter, edit/pick_hits.h).
#pragma once
#include "platform/dialogs.h"

constexpr int kChooseItemsDialog = 1134;
// The dialog's layer list and its first kind check box ("Tracks"; the
// others follow in the order of the dialog).
constexpr int kChooseItemsLayerList = 1203;
constexpr int kChooseItemsFirstKind = 1210;

INT_PTR CALLBACK ChooseItemsForSelectionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the dialog over the owner; 1 when OK built an accepted filter, 0
// after Cancel or closing (the filter is then not accepted).
int ChooseItemsForSelection(HWND owner);
