// Dialogs and controls: a modal dialog's own loop ending with EndDialog and
// returning its result, dialogs driven by hooks as a user would, the dialog
// keys, and the notifications of the basic controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr int kPrompt = 100, kName = 101, kCheck = 102, kRadioA = 103, kRadioB = 104, kList = 105, kCombo = 106;

const DialogControl kControls[] = {
    {"STATIC", kPrompt, "Name:", 7, 7, 40, 10, SS_LEFT},
    {"EDIT", kName, "", 50, 7, 100, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kCheck, "&Check", 7, 24, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", kRadioA, "A", 7, 38, 30, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {"BUTTON", kRadioB, "B", 40, 38, 30, 10, BS_AUTORADIOBUTTON},
    {"LISTBOX", kList, "", 7, 52, 80, 40, LBS_NOTIFY | LBS_SORT | WS_BORDER | WS_TABSTOP | WS_GROUP},
    {"COMBOBOX", kCombo, "", 90, 52, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 40, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 100, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kTestDlg{"TestEnterDlg", 1004, "Enter Things", 0, 0, 180, 120,
                              DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER, kControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kTestDlg);

struct Params {
  std::string name;
  bool checked = false;
  int radio = 0;
  std::string listPick;
  std::string comboPick;
  std::vector<WORD> notifications;  // codes heard from the controls, in order
  bool initialised = false;
};

INT_PTR CALLBACK TestDlgProc(HWND dlg, UINT m, WPARAM w, LPARAM l) {
  auto* p = reinterpret_cast<Params*>(GetWindowLongPtrA(dlg, DWLP_USER));
  switch (m) {
    case WM_INITDIALOG:
      p = reinterpret_cast<Params*>(l);
      SetWindowLongPtrA(dlg, DWLP_USER, l);
      p->initialised = true;
      SetDlgItemTextA(dlg, kName, p->name.c_str());
      for (const char* s : {"pear", "Apple", "fig"}) SendDlgItemMessageA(dlg, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      for (const char* s : {"Thou", "Inch", "Millimetre"}) SendDlgItemMessageA(dlg, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendDlgItemMessageA(dlg, kCombo, CB_SETCURSEL, 0, 0);
      CheckRadioButton(dlg, kRadioA, kRadioB, kRadioA);
      return TRUE;
    case WM_COMMAND: {
      WORD id = LOWORD(w), code = HIWORD(w);
      if (id != IDOK && id != IDCANCEL && p) p->notifications.push_back(code);
      if (id == IDOK) {
        char text[64];
        GetDlgItemTextA(dlg, kName, text, sizeof text);
        if (!text[0]) return TRUE;  // the dialog stays open
        p->name = text;
        p->checked = IsDlgButtonChecked(dlg, kCheck) == BST_CHECKED;
        p->radio = IsDlgButtonChecked(dlg, kRadioB) ? 2 : 1;
        LRESULT i = SendDlgItemMessageA(dlg, kList, LB_GETCURSEL, 0, 0);
        if (i >= 0) {
          SendDlgItemMessageA(dlg, kList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
          p->listPick = text;
        }
        GetDlgItemTextA(dlg, kCombo, text, sizeof text);
        p->comboPick = text;
        EndDialog(dlg, 42);
      } else if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
      }
      return TRUE;
    }
    default: return FALSE;
  }
}

TEST(Dialogs, AHookDrivesTheRealDialogProcedureInsideItsModalLoop) {
  ASSERT_TRUE(kRegistered);
  Params p;
  pl3::SetDialogHook("testenterdlg", [](HWND dlg) {
    pl3::TypeDialogText(dlg, kName, "U1");
    pl3::SetDialogCheck(dlg, kCheck, true);
    pl3::ClickDialogButton(dlg, kRadioB);
    EXPECT_TRUE(pl3::PickDialogListText(dlg, kList, "fig"));
    EXPECT_TRUE(pl3::PickDialogListItem(dlg, kCombo, 2));
    pl3::ClickDialogButton(dlg, IDOK);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), 42);
  EXPECT_TRUE(p.initialised);
  EXPECT_EQ(p.name, "U1");
  EXPECT_TRUE(p.checked);
  EXPECT_EQ(p.radio, 2);
  EXPECT_EQ(p.listPick, "fig");
  EXPECT_EQ(p.comboPick, "Millimetre");
  // The controls told their dialog what the user did.
  auto has = [&](WORD code) { return std::find(p.notifications.begin(), p.notifications.end(), code) != p.notifications.end(); };
  EXPECT_TRUE(has(EN_CHANGE));
  EXPECT_TRUE(has(BN_CLICKED));
  EXPECT_TRUE(has(LBN_SELCHANGE));
  EXPECT_TRUE(has(CBN_SELCHANGE));
  EXPECT_EQ(FindWindowA(WC_DIALOG, nullptr), nullptr);  // destroyed after the loop
}

TEST(Dialogs, HelpersFailOnADisabledOrHiddenControlAndSendNothing) {
  Params p;
  pl3::SetDialogHook("testenterdlg", [&p](HWND dlg) {
    pl3::TypeDialogText(dlg, kName, "kept");
    for (int id : {kName, kCheck, kRadioB, kList, kCombo, IDOK}) EnableWindow(GetDlgItem(dlg, id), FALSE);
    ShowWindow(GetDlgItem(dlg, IDCANCEL), SW_HIDE);
    p.notifications.clear();
    EXPECT_FALSE(pl3::TypeDialogText(dlg, kName, "lost"));
    EXPECT_FALSE(pl3::SetDialogCheck(dlg, kCheck, true));
    EXPECT_FALSE(pl3::ClickDialogButton(dlg, kRadioB));
    EXPECT_FALSE(pl3::PickDialogListText(dlg, kList, "fig"));
    EXPECT_FALSE(pl3::PickDialogListItem(dlg, kCombo, 2));
    EXPECT_FALSE(pl3::ClickDialogButton(dlg, IDOK));
    EXPECT_FALSE(pl3::ClickDialogButton(dlg, IDCANCEL));
    EXPECT_TRUE(p.notifications.empty());
    EXPECT_FALSE(IsDlgButtonChecked(dlg, kCheck));
    // Enabled again, the same clicks act.
    for (int id : {kName, kCheck, kRadioB, kList, kCombo, IDOK}) EnableWindow(GetDlgItem(dlg, id), TRUE);
    EXPECT_TRUE(pl3::SetDialogCheck(dlg, kCheck, true));
    EXPECT_TRUE(pl3::ClickDialogButton(dlg, IDOK));
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), 42);
  EXPECT_EQ(p.name, "kept");
  EXPECT_TRUE(p.checked);
  EXPECT_EQ(p.radio, 1);
  EXPECT_EQ(p.listPick, "");
  EXPECT_EQ(p.comboPick, "Thou");
  pl3::ClearDialogHooks();
}

INT_PTR CALLBACK PlainDlgProc(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }

// Where a dialog opens: at its template's position in its owner's client
// area, centred on the owner (or the screen) with DS_CENTER, always on screen.
TEST(Dialogs, ADialogOpensWhereItsTemplateAsksAndStaysOnScreen) {
  const RECT screen = pl3::ScreenRect();
  const int sw = screen.right - screen.left, sh = screen.bottom - screen.top;
  struct Case {
    const char* what;
    RECT owner;  // empty: no owner
    bool centre;
  };
  const Case cases[] = {
      {"template position in the owner's client area", {100, 80, 500, 380}, false},
      {"centred on the owner", {100, 80, 500, 380}, true},
      {"centred on the screen without an owner", {}, true},
      {"pushed back from the right and bottom edges", {sw - 60, sh - 40, sw + 340, sh + 260}, false},
      {"pushed back from the left and top edges", {-700, -500, -300, -200}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND owner = nullptr;
    if (!IsRectEmpty(&c.owner))
      owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, c.owner.left, c.owner.top,
                              c.owner.right - c.owner.left, c.owner.bottom - c.owner.top, nullptr, nullptr, nullptr,
                              nullptr);
    const DialogTemplate tpl{nullptr, 0, "Placed", 20, 12, 120, 60,
                             WS_POPUP | WS_CAPTION | (c.centre ? static_cast<DWORD>(DS_CENTER) : 0u), {}};
    HWND dlg = CreateDialogIndirectParamA(nullptr, &tpl, owner, &PlainDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_GE(r.left, screen.left);
    EXPECT_GE(r.top, screen.top);
    EXPECT_LE(r.right, screen.right);
    EXPECT_LE(r.bottom, screen.bottom);
    if (c.centre) {
      RECT around = owner ? c.owner : screen;
      EXPECT_NEAR((r.left + r.right) / 2, (around.left + around.right) / 2, 1);
      EXPECT_NEAR((r.top + r.bottom) / 2, (around.top + around.bottom) / 2, 1);
    } else if (c.owner.left == 100) {
      RECT at{20, 12, 0, 0};
      MapDialogRect(dlg, &at);
      POINT origin{0, 0};
      ClientToScreen(owner, &origin);
      EXPECT_EQ(r.left, origin.x + at.left);
      EXPECT_EQ(r.top, origin.y + at.top);
    }
    DestroyWindow(dlg);
    if (owner) DestroyWindow(owner);
  }
}

TEST(Dialogs, KeyedByNumberAndDrivenByKeysEnterPressesTheDefaultButton) {
  Params p;
  p.name = "start";
  pl3::SetDialogHook(1004, [](HWND dlg) {
    // The first tab stop (the name field) has the focus with its text selected.
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kName));
    pl3::InjectText("xy");
    pl3::InjectKeyStroke(VK_RETURN);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCE(1004), nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), 42);
  EXPECT_EQ(p.name, "xy");  // typing replaced the selected text
}

TEST(Dialogs, EscapeCancelsAndAnUnhookedDialogIsCancelledHeadless) {
  Params p;
  pl3::SetDialogHookByCaption("Enter things", [](HWND) { pl3::InjectKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), IDCANCEL);
  pl3::ClearDialogHooks();
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), IDCANCEL);
  EXPECT_EQ(DialogBoxParamA(nullptr, "NoSuchDlg", nullptr, &TestDlgProc, 0), -1);
}

TEST(Dialogs, OkWithAnEmptyNameKeepsTheDialogOpenUntilItIsFilled) {
  Params p;
  pl3::SetDialogHook("TestEnterDlg", [](HWND dlg) {
    pl3::ClickDialogButton(dlg, IDOK);  // refused: the name is empty
    EXPECT_TRUE(IsWindowVisible(dlg));
    pl3::TypeDialogText(dlg, kName, "later");
    pl3::ClickDialogButton(dlg, IDOK);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), 42);
  EXPECT_EQ(p.name, "later");
}

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A visible top-level window of a class of its own, to own dialogs.
HWND MakeOwner(const char* className, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                         nullptr);
}

TEST(Dialogs, ModalDialogDisablesItsOwnerAndNestedLoopsUnwind) {
  HWND owner = MakeOwner("Owner", &OwnerProc);
  static HWND s_owner;
  s_owner = owner;
  static INT_PTR s_inner;
  Params outer, inner;
  static Params* s_innerParams;
  s_innerParams = &inner;
  pl3::SetDialogHook("TestEnterDlg", [](HWND dlg) {
    EXPECT_FALSE(IsWindowEnabled(s_owner));
    static int depth = 0;
    if (depth++ == 0) {
      // A dialog opened from inside a dialog runs its own loop inside this one.
      pl3::ClearDialogHooks();
      pl3::SetDialogHook("TestEnterDlg", [](HWND d2) {
        pl3::TypeDialogText(d2, kName, "inner");
        pl3::ClickDialogButton(d2, IDOK);
      });
      s_inner = DialogBoxParamA(nullptr, "TestEnterDlg", dlg, &TestDlgProc, reinterpret_cast<LPARAM>(s_innerParams));
      EXPECT_TRUE(IsWindowVisible(dlg));
      pl3::TypeDialogText(dlg, kName, "outer");
      pl3::ClickDialogButton(dlg, IDOK);
    }
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", owner, &TestDlgProc, reinterpret_cast<LPARAM>(&outer)), 42);
  EXPECT_EQ(s_inner, 42);
  EXPECT_EQ(inner.name, "inner");
  EXPECT_EQ(outer.name, "outer");
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(Dialogs, ModelessDialogItemsAndTabOrder) {
  Params p;
  HWND dlg = CreateDialogParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p));
  ASSERT_NE(dlg, nullptr);
  EXPECT_FALSE(IsWindowVisible(dlg));  // the template has no WS_VISIBLE
  EXPECT_TRUE(SetDlgItemInt(dlg, kName, static_cast<UINT>(-25), TRUE));
  BOOL ok = FALSE;
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, kName, &ok, TRUE)), -25);
  EXPECT_TRUE(ok);
  SetDlgItemTextA(dlg, kName, "12x");
  GetDlgItemInt(dlg, kName, &ok, FALSE);
  EXPECT_FALSE(ok);
  // Tab order follows the template; the radio group is one stop, at its checked button.
  HWND name = GetDlgItem(dlg, kName);
  EXPECT_EQ(GetNextDlgTabItem(dlg, name, FALSE), GetDlgItem(dlg, kCheck));
  EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, kCheck), FALSE), GetDlgItem(dlg, kRadioA));
  EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, kRadioA), FALSE), GetDlgItem(dlg, kList));
  EXPECT_EQ(GetNextDlgTabItem(dlg, name, TRUE), GetDlgItem(dlg, IDCANCEL));
  EXPECT_EQ(GetNextDlgGroupItem(dlg, GetDlgItem(dlg, kRadioA), FALSE), GetDlgItem(dlg, kRadioB));
  EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SendMessageA(dlg, DM_GETDEFID, 0, 0))), IDOK);
  DestroyWindow(dlg);
}

// A modeless dialog that destroys itself on hearing one notification code
// from one control, while that control is still handling the input.
struct Doom {
  int id;
  WORD code;
};
Doom g_doom;
bool g_doomHeard = false;

INT_PTR CALLBACK SelfDestroyingDlgProc(HWND dlg, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_INITDIALOG) {
    for (const char* s : {"pear", "Apple", "fig"}) SendDlgItemMessageA(dlg, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    for (const char* s : {"Thou", "Inch"}) SendDlgItemMessageA(dlg, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    return TRUE;
  }
  if (m == WM_COMMAND && LOWORD(w) == g_doom.id && HIWORD(w) == g_doom.code) {
    g_doomHeard = true;
    DestroyWindow(dlg);
    return TRUE;
  }
  return FALSE;
}

TEST(Dialogs, ADialogDestroyedByAControlsNotificationLeavesTheControlHarmless) {
  struct Case {
    int id;
    WORD code;
    void (*input)(HWND control);
  };
  const Case cases[] = {
      {IDOK, BN_CLICKED, [](HWND c) { pl3::InjectClick(c, POINT{3, 3}); }},
      {kCheck, BN_CLICKED, [](HWND c) { pl3::InjectClick(c, POINT{3, 3}); }},
      {kRadioB, BN_CLICKED, [](HWND c) {
         SetFocus(c);
         pl3::InjectKeyStroke(VK_SPACE);
       }},
      {kName, EN_CHANGE, [](HWND c) {
         SetFocus(c);
         pl3::InjectText("ab");
       }},
      {kList, LBN_SELCHANGE, [](HWND c) { pl3::InjectClick(c, POINT{5, 3}); }},
      {kList, LBN_DBLCLK, [](HWND c) {
         pl3::InjectClick(c, POINT{5, 3});
         pl3::InjectClick(c, POINT{5, 3});
       }},
      {kCombo, CBN_SELCHANGE, [](HWND c) {
         SetFocus(c);
         pl3::InjectKeyStroke(VK_DOWN);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id << " code " << c.code);
    g_doom = Doom{c.id, c.code};
    g_doomHeard = false;
    HWND dlg = CreateDialogParamA(nullptr, "TestEnterDlg", nullptr, &SelfDestroyingDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    ShowWindow(dlg, SW_SHOW);
    pl3::PumpMessages();
    HWND control = GetDlgItem(dlg, c.id);
    ASSERT_NE(control, nullptr);
    c.input(control);
    pl3::PumpMessages();
    EXPECT_TRUE(g_doomHeard);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(GetFocus(), nullptr);
    pl3::AdvanceTestClock(1000);  // past any double click
  }
}

// ---- Owner-drawn, sorted combo box and list box notifications ----------------------------

struct OwnerLog {
  int measures = 0;
  int compares = 0;
  int draws = 0;
  int deletes = 0;
  std::vector<WORD> codes;
};
OwnerLog g_owner;

LRESULT CALLBACK OwnerDrawParent(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      ++g_owner.measures;
      mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 20 : 18;
      return TRUE;
    }
    case WM_COMPAREITEM: {
      auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(l);
      ++g_owner.compares;
      return cis->itemData1 < cis->itemData2 ? -1 : (cis->itemData1 > cis->itemData2 ? 1 : 0);
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      ++g_owner.draws;
      EXPECT_EQ(dis->CtlType, ODT_COMBOBOX);
      return TRUE;
    }
    case WM_DELETEITEM: ++g_owner.deletes; return TRUE;
    case WM_COMMAND: g_owner.codes.push_back(HIWORD(w)); return 0;
    default: return DefWindowProcA(h, m, w, l);
  }
}

TEST(Controls, OwnerDrawnSortedComboMeasuresComparesDrawsAndNotifies) {
  g_owner = OwnerLog{};
  WNDCLASSA wc{};
  wc.lpfnWndProc = &OwnerDrawParent;
  wc.lpszClassName = "OwnerParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "OwnerParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                nullptr, nullptr, nullptr);
  HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT,
                               10, 10, 120, 200, parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(g_owner.measures, 2);  // the selection field and the items
  RECT r;
  GetWindowRect(combo, &r);
  EXPECT_EQ(r.bottom - r.top, 26);  // the field's height, not the dropped list's
  for (ULONG_PTR v : {30u, 10u, 20u}) SendMessageA(combo, CB_ADDSTRING, 0, static_cast<LPARAM>(v));
  EXPECT_GT(g_owner.compares, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 0, 0), 10);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 2, 0), 30);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  pl3::PumpMessages();
  EXPECT_GT(g_owner.draws, 0);
  EXPECT_TRUE(g_owner.codes.empty());  // setting the selection from code is silent
  // The user picks with the keyboard: CBN_SELCHANGE.
  SetFocus(combo);
  g_owner.codes.clear();
  pl3::InjectKeyStroke(VK_DOWN);
  pl3::PumpMessages();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(g_owner.codes, std::vector<WORD>{CBN_SELCHANGE});
  // Drop the list with a click and pick the first item.
  g_owner.codes.clear();
  pl3::InjectClick(combo, POINT{5, 5});
  pl3::PumpMessages();
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  HWND popup = FindWindowA("ComboLBox", nullptr);
  ASSERT_NE(popup, nullptr);
  pl3::InjectClick(popup, POINT{5, 5});
  pl3::PumpMessages();
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(g_owner.codes, (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  // Owner-drawn items are announced when deleted.
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(g_owner.deletes, 3);
}

TEST(Controls, SortedListBoxTakesANullStringAsAnEmptyOne) {
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_VISIBLE | LBS_SORT, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  for (const char* s : {"pear", "Apple"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("APPLE")), 1);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("PE")), 2);
  DestroyWindow(list);
}

TEST(Controls, ListBoxSelectionsAndNotifications) {
  g_owner = OwnerLog{};
  WNDCLASSA wc{};
  wc.lpfnWndProc = &OwnerDrawParent;
  wc.lpszClassName = "ListParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "ListParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                nullptr, nullptr);
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_EXTENDEDSEL, 0, 0, 100, 100,
                              parent, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  for (const char* s : {"a", "b", "c", "d"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(list, LB_SETITEMDATA, 2, 777);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), 777);
  RECT item;
  SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  pl3::InjectClick(list, POINT{5, item.top + 1});
  pl3::PumpMessages();
  // Shift-click extends the selection from the anchor.
  SendMessageA(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  pl3::InjectKey(VK_SHIFT, true);
  pl3::InjectClick(list, POINT{5, item.top + 1});
  pl3::InjectKey(VK_SHIFT, false);
  pl3::PumpMessages();
  int sel[4] = {};
  ASSERT_EQ(SendMessageA(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(sel)), 3);
  EXPECT_EQ(sel[0], 1);
  EXPECT_EQ(sel[2], 3);
  EXPECT_EQ(g_owner.codes, (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE}));
  // Double click.
  g_owner.codes.clear();
  pl3::AdvanceTestClock(1000);
  pl3::InjectClick(list, POINT{5, 1});
  pl3::InjectClick(list, POINT{5, 1});
  pl3::PumpMessages();
  EXPECT_EQ(g_owner.codes.back(), LBN_DBLCLK);
  // Deleting an item with data tells the parent.
  SendMessageA(list, LB_DELETESTRING, 2, 0);
  EXPECT_EQ(g_owner.deletes, 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
}

TEST(Controls, EditFieldEditingSelectionLimitAndChangeNotification) {
  g_owner = OwnerLog{};
  WNDCLASSA wc{};
  wc.lpfnWndProc = &OwnerDrawParent;
  wc.lpszClassName = "EditParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "EditParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "Edit", "hello", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 150, 20, parent,
                              reinterpret_cast<HMENU>(4), nullptr, nullptr);
  SendMessageA(edit, EM_LIMITTEXT, 7, 0);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 1, 3);
  DWORD a = 0, b = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 1u);
  EXPECT_EQ(b, 3u);
  g_owner.codes.clear();
  pl3::InjectText("XYZW");  // replaces "el", then the limit of 7 stops the last letter
  pl3::PumpMessages();
  char text[32];
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "hXYZWlo");
  EXPECT_EQ(std::count(g_owner.codes.begin(), g_owner.codes.end(), EN_CHANGE), 4);
  pl3::InjectKeyStroke(VK_BACK);
  pl3::InjectKeyStroke(VK_HOME);
  pl3::InjectKeyStroke(VK_DELETE);
  pl3::PumpMessages();
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "XYZlo");
  EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
  // A multi-line field keeps its line breaks.
  HWND multi = CreateWindowExA(0, "EDIT", "one\r\ntwo", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 30, 150, 60, parent,
                               reinterpret_cast<HMENU>(5), nullptr, nullptr);
  EXPECT_EQ(SendMessageA(multi, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(multi, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessageA(multi, EM_LINELENGTH, 5, 0), 3);
}

TEST(Controls, CheckBoxesCycleAndRadioButtonsClearTheirGroup) {
  const DialogControl controls[] = {
      {"BUTTON", 1, "3", 0, 0, 40, 10, BS_AUTO3STATE | WS_TABSTOP},
      {"BUTTON", 2, "r1", 0, 12, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP},
      {"BUTTON", 3, "r2", 0, 24, 40, 10, BS_AUTORADIOBUTTON},
      {"BUTTON", 4, "r3", 0, 36, 40, 10, BS_AUTORADIOBUTTON},
      {"BUTTON", 5, "other", 0, 48, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP},
  };
  const DialogTemplate tpl{nullptr, 0, "Buttons", 0, 0, 100, 80, WS_POPUP, controls};
  HWND dlg = CreateDialogIndirectParamA(nullptr, &tpl, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dlg, nullptr);
  std::vector<UINT> cycle;
  for (int i = 0; i < 3; ++i) {
    pl3::ClickDialogButton(dlg, 1);
    cycle.push_back(IsDlgButtonChecked(dlg, 1));
  }
  EXPECT_EQ(cycle, (std::vector<UINT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
  CheckDlgButton(dlg, 5, BST_CHECKED);
  pl3::ClickDialogButton(dlg, 2);
  pl3::ClickDialogButton(dlg, 4);
  EXPECT_EQ(IsDlgButtonChecked(dlg, 2), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dlg, 4), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dlg, 5), BST_CHECKED);  // another group
  DestroyWindow(dlg);
}

struct DrawLog {
  std::vector<UINT> measuredIds;
  std::vector<std::pair<UINT, UINT>> drawn;  // control type, item
};
DrawLog g_draw;

LRESULT CALLBACK VariableParent(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    g_draw.measuredIds.push_back(mis->itemID);
    mis->itemHeight = 10 + 5 * static_cast<UINT>(mis->itemData);  // each row its own height
    return TRUE;
  }
  if (m == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    g_draw.drawn.emplace_back(dis->CtlType, dis->itemID);
    return TRUE;
  }
  return DefWindowProcA(h, m, w, l);
}

TEST(Controls, OwnerDrawnVariableListAndOwnerDrawnButton) {
  g_draw = DrawLog{};
  WNDCLASSA wc{};
  wc.lpfnWndProc = &VariableParent;
  wc.lpszClassName = "VariableParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "VariableParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                nullptr, nullptr);
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY, 0, 0, 100,
                              150, parent, reinterpret_cast<HMENU>(8), nullptr, nullptr);
  for (LPARAM data : {0, 2, 1}) SendMessageA(list, LB_ADDSTRING, 0, data);  // no strings: the data is the item
  EXPECT_EQ(g_draw.measuredIds, (std::vector<UINT>{0, 1, 2}));
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 1, 0), 20);
  RECT r2;
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
  EXPECT_EQ(r2.top, 10 + 20);
  EXPECT_EQ(r2.bottom, 10 + 20 + 15);
  // A click in the third row's band selects it.
  pl3::InjectClick(list, POINT{5, 35});
  pl3::PumpMessages();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  HWND button = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 110, 0, 50, 20, parent,
                                reinterpret_cast<HMENU>(9), nullptr, nullptr);
  g_draw.drawn.clear();
  pl3::PumpMessages();
  EXPECT_NE(std::find(g_draw.drawn.begin(), g_draw.drawn.end(), std::make_pair(ODT_BUTTON, 0u)), g_draw.drawn.end());
  (void)button;
}

TEST(Dialogs, AModalDialogPaintedAndDrivenLeavesNoDrawingObjectOrContextBehind) {
  pl3::PumpMessages();
  const std::size_t before = pl3::LiveGdiObjectCount();
  Params p;
  pl3::SetDialogHook("TestEnterDlg", [before](HWND dlg) {
    pl3::PumpMessages();  // every control paints itself
    UpdateWindow(dlg);
    EXPECT_GT(pl3::LiveGdiObjectCount(), before);  // the dialog's font at least
    pl3::TypeDialogText(dlg, kName, "leak check");
    pl3::SetDialogCheck(dlg, kCheck, true);
    EXPECT_TRUE(pl3::PickDialogListText(dlg, kList, "pear"));
    EXPECT_TRUE(pl3::PickDialogListItem(dlg, kCombo, 1));
    pl3::PumpMessages();
    pl3::ClickDialogButton(dlg, IDOK);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestEnterDlg", nullptr, &TestDlgProc, reinterpret_cast<LPARAM>(&p)), 42);
  pl3::PumpMessages();
  EXPECT_EQ(pl3::LiveGdiObjectCount(), before);
}

INT_PTR g_modalResult = 0;
LRESULT CALLBACK DoomedOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) {
    static Params p;
    g_modalResult = DialogBoxParamA(nullptr, "TestEnterDlg", h, &TestDlgProc, reinterpret_cast<LPARAM>(&p));
    SetWindowTextA(h, "still here?");  // the owner went away while the dialog ran
    return 0;
  }
  if (m == WM_USER + 2) {
    DestroyWindow(h);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

TEST(Dialogs, AnOwnerDestroyedWhileItsModalDialogRunsEndsTheDialogAndItsLoop) {
  static HWND s_owner;
  s_owner = MakeOwner("DoomedOwner", &DoomedOwnerProc);
  static HWND s_dialog;
  pl3::SetDialogHook("TestEnterDlg", [](HWND dlg) {
    s_dialog = dlg;
    PostMessageA(s_owner, WM_USER + 2, 0, 0);  // handled inside the dialog's own loop
  });
  g_modalResult = 0;
  PostMessageA(s_owner, WM_USER + 1, 0, 0);
  PostMessageA(s_owner, WM_USER + 3, 0, 0);
  pl3::PumpMessages();
  EXPECT_EQ(g_modalResult, -1);
  EXPECT_FALSE(IsWindow(s_owner));
  EXPECT_FALSE(IsWindow(s_dialog));
  EXPECT_EQ(FindWindowA(WC_DIALOG, nullptr), nullptr);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace

#include "platform/commctrl.h"

namespace {

LRESULT CALLBACK NotifyParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    return static_cast<LRESULT>(wp * 1000 + static_cast<WPARAM>(-static_cast<int>(hdr->code)));
  }
  return DefWindowProc(hwnd, msg, wp, lp);
}

TEST(CommonControls, InitChecksItsRecordAndNotifyReachesTheParent) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
  EXPECT_TRUE(InitCommonControlsEx(&init));
  init.dwSize = 4;
  EXPECT_FALSE(InitCommonControlsEx(&init));
  EXPECT_FALSE(InitCommonControlsEx(nullptr));

  WNDCLASS wc{};
  wc.lpfnWndProc = NotifyParentProc;
  wc.lpszClassName = "NotifyParent";
  ASSERT_TRUE(RegisterClass(&wc));
  HWND parent = CreateWindowEx(0, "NotifyParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  HWND child = CreateWindowEx(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(7),
                              nullptr, nullptr);
  NMHDR hdr{};
  EXPECT_EQ(SendNotify(child, NM_DBLCLK, &hdr), 7 * 1000 + 3);
  EXPECT_EQ(hdr.hwndFrom, child);
  EXPECT_EQ(hdr.idFrom, 7u);
  EXPECT_EQ(hdr.code, NM_DBLCLK);
  DestroyWindow(parent);
}

}  // namespace
