// Driving dialogs without a display. A test registers a hook for a dialog,
// keyed by the dialog's template name, its number, or its caption; when that
// dialog's modal loop first runs out of messages the hook is called with the
// dialog window. The hook sets texts, ticks boxes, picks list items and
// presses buttons through the helpers below, as a user would, so the real
// dialog procedure runs and decides the dialog's result.
//
// A modal dialog left open with nothing more to do on the headless backend is
// cancelled as if Escape were pressed (and, if it still stays open, ended
// with -1), with a note on stderr.
#pragma once
#include <functional>
#include <string>

#include "platform/dialogs.h"

namespace pl3 {

using DialogHook = std::function<void(HWND dialog)>;

void SetDialogHook(const std::string& templateName, DialogHook hook);
void SetDialogHook(int templateId, DialogHook hook);
void SetDialogHookByCaption(const std::string& caption, DialogHook hook);
void ClearDialogHooks();
// The hook for a dialog being shown (empty when none); name and caption
// compare without regard to case.
DialogHook FindDialogHook(const char* templateName, int templateId, const char* caption);

// ---- Acting on a dialog as a user -------------------------------------------------
// Each fails (false, nothing sent) when the control is missing, disabled or
// hidden, as a user's click on it would do nothing.
// Presses a button (a push button's command, a check box's toggle); OK and
// Cancel work without such a button, as Enter and Escape do.
bool ClickDialogButton(HWND dialog, int id);
// Replaces an edit field's (or a drop-down combo's) text, with EN_CHANGE.
bool TypeDialogText(HWND dialog, int id, const char* text);
// Ticks or clears a check box or radio button by clicking it when needed.
bool SetDialogCheck(HWND dialog, int id, bool checked);
// Selects item `index` of a list box or combo box with the notification a
// user's pick sends (LBN_SELCHANGE or CBN_SELCHANGE); false when out of range.
bool PickDialogListItem(HWND dialog, int id, int index);
// The same, finding the item by its exact text; false when not found.
bool PickDialogListText(HWND dialog, int id, const char* text);
// Double-clicks a list box item (LBN_DBLCLK).
bool DoubleClickDialogListItem(HWND dialog, int id, int index);
// Selects and focuses item `index` of a list view alone, with the
// LVN_ITEMCHANGED notes a click sends; false when out of range.
bool PickDialogListViewItem(HWND dialog, int id, int index);
// The same, finding the item by its label; false when not found.
bool PickDialogListViewText(HWND dialog, int id, const char* text);
// Picks a list view item and double-clicks it (NM_DBLCLK).
bool DoubleClickDialogListViewItem(HWND dialog, int id, int index);
// Walks a tree view item by item from its roots, each step an item's text
// (no case) of `path` separated by "\", expanding the items on the way as a
// user's click on their buttons would, and selects the last; false when a
// step is not found.
bool PickDialogTreeItem(HWND dialog, int id, const char* path);

}  // namespace pl3
