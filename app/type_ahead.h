// Type-ahead completion for edit and combo boxes. A hooked box asks its
// dialog, after each typed character, whether a name completes what has been
// typed; the dialog answers three private messages, and the box shows the
// rest of the name selected after the caret, so typing on replaces it.
#pragma once
#include "platform/user.h"

// The questions a hooked box sends its parent (a combo box passes its edit
// field's questions on to its own parent):
// wParam: the buffer's size (the remaining length + 1), lParam: the buffer.
// Copies the completion's remaining characters; 1, or 0 (and an empty text)
// when there is none.
constexpr UINT kTypeAheadCopyCompletion = 1690;
// wParam: the typed text. The number of characters the completion has beyond it.
constexpr UINT kTypeAheadCompletionLength = 1691;
// wParam: the typed text. 1 when a completion exists, else 0.
constexpr UINT kTypeAheadHasCompletion = 1692;

// 1 when the name begins with the typed text, compared character by
// character without regard to case (an empty typed text matches); 0 otherwise
// or when the typed text is longer than the name. Null counts as empty.
int MatchesTypedPrefix(const char* typed, const char* name);
// The same compare under the name the dialog layer uses.
inline int IsPrefixNoCase(const char* prefix, const char* text) { return MatchesTypedPrefix(prefix, text); }

// Hooks an "EDIT" or a "COMBOBOX" (and the combo's edit field, the child at
// client point (20, 5)); 1 when hooked, 0 for any other class. The hooks keep
// no state: each message goes first to the standard procedure of the class.
int EnableTypeAhead(HWND control);
// EnableTypeAhead on a dialog's control; 0 when the dialog has no such control.
int SubclassTypeAheadBox(HWND dialog, int id);
// The same under the name the dialog layer uses.
inline int EnableTypeAheadForItem(HWND dialog, int id) { return SubclassTypeAheadBox(dialog, id); }

LRESULT CALLBACK TypeAheadEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TypeAheadComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
