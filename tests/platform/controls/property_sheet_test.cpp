// Property sheets: the notifications pages hear, in order, for page changes,
// OK, Apply, refusals and Cancel; pages made only when first shown; Apply
// following PSM_CHANGED; sibling queries; a page that disables OK; bad
// headers and missing templates; and the sheet's picture with its tabs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/dialogs.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_png.h"

namespace {

constexpr int kEditId = 300;

const DialogControl kPageControls[] = {
    {"STATIC", -1, "Name:", 7, 9, 40, 8, SS_LEFT},
    {"EDIT", kEditId, "", 50, 7, 100, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", 301, "Keep a copy", 7, 26, 100, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
};
const DialogTemplate kLayersPage{"SheetTestLayers", 0, "Layers", 0, 0, 180, 80, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                                 kPageControls};
const DialogTemplate kSizePage{nullptr, 7301, "Size", 0, 0, 200, 100, WS_CHILD, kPageControls};
const DialogTemplate kRangePage{"SheetTestRange", 0, "Page Range", 0, 0, 150, 60, WS_CHILD, kPageControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kLayersPage) && pl3::RegisterDialogTemplate(&kSizePage) &&
                         pl3::RegisterDialogTemplate(&kRangePage);

struct Heard {
  int page;
  UINT code;  // a PSN_ code, or WM_INITDIALOG
  LPARAM param;
  bool operator==(const Heard&) const = default;
};
std::vector<Heard> g_heard;
// What each page answers: PSN_KILLACTIVE, PSN_APPLY, PSN_QUERYCANCEL, PSM_QUERYSIBLINGS.
struct PageAnswers {
  LRESULT killActive = 0;
  std::vector<LRESULT> apply;  // one per PSN_APPLY, then 0
  LRESULT queryCancel = 0;
  LRESULT siblings = 0;
};
PageAnswers g_answers[3];
std::vector<std::pair<int, WPARAM>> g_siblingQueries;

int PageOf(HWND page) { return static_cast<int>(GetWindowLongPtrA(page, DWLP_USER)); }

INT_PTR Reply(HWND page, LRESULT value) {
  SetWindowLongPtrA(page, DWLP_MSGRESULT, value);
  return TRUE;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const int index = static_cast<int>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    SetWindowLongPtrA(page, DWLP_USER, index);
    g_heard.push_back({index, WM_INITDIALOG, 0});
    return TRUE;
  }
  const int index = PageOf(page);
  if (message == WM_COMMAND && LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
    SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
    return TRUE;
  }
  if (message == PSM_QUERYSIBLINGS) {
    g_siblingQueries.push_back({index, wParam});
    return Reply(page, g_answers[index].siblings);
  }
  if (message != WM_NOTIFY) return FALSE;
  const auto* note = reinterpret_cast<const PSHNOTIFY*>(lParam);
  g_heard.push_back({index, note->hdr.code, note->lParam});
  PageAnswers& a = g_answers[index];
  switch (note->hdr.code) {
    case PSN_KILLACTIVE: return Reply(page, a.killActive);
    case PSN_QUERYCANCEL: return Reply(page, a.queryCancel);
    case PSN_APPLY: {
      LRESULT r = a.apply.empty() ? PSNRET_NOERROR : a.apply.front();
      if (!a.apply.empty()) a.apply.erase(a.apply.begin());
      return Reply(page, r);
    }
    default: return Reply(page, 0);
  }
}

PROPSHEETPAGEA Page(LPCSTR tpl, int index, LPCSTR title = nullptr) {
  PROPSHEETPAGEA p{};
  p.dwSize = sizeof p;
  p.dwFlags = title ? PSP_USETITLE : PSP_DEFAULT;
  p.pszTemplate = tpl;
  p.pszTitle = title;
  p.pfnDlgProc = PageProc;
  p.lParam = index;
  return p;
}

void ClickTab(HWND sheet, int index) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  RECT r{};
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
  pl3test::ClickMiddle(tabs, r);
}

int CurrentTab(HWND sheet) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

class PropertySheetTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kRegistered);
    g_heard.clear();
    g_siblingQueries.clear();
    for (PageAnswers& a : g_answers) a = PageAnswers{};
    pages = {Page("SheetTestLayers", 0), Page(MAKEINTRESOURCE(7301), 1, "Size"), Page("SheetTestRange", 2)};
    header = PROPSHEETHEADERA{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.pszCaption = "Print Options";
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
  }
  INT_PTR Run(std::function<void(HWND)> hook) {
    pl3::SetDialogHookByCaption("Print Options", std::move(hook));
    return PropertySheetA(&header);
  }
  std::vector<PROPSHEETPAGEA> pages;
  PROPSHEETHEADERA header{};
};

constexpr UINT kInit = WM_INITDIALOG;

TEST_F(PropertySheetTest, PageChangesAndOkNotifyOnlyThePagesMadeInOrder) {
  const INT_PTR result = Run([](HWND sheet) {
    EXPECT_EQ(CurrentTab(sheet), 0);
    ClickTab(sheet, 1);
    EXPECT_EQ(CurrentTab(sheet), 1);
    EXPECT_TRUE(IsWindowVisible(CurrentPage(sheet)));
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(result, 1);
  const std::vector<Heard> expected = {
      {0, kInit, 0},         {0, PSN_SETACTIVE, 0}, {0, PSN_KILLACTIVE, 0}, {1, kInit, 0},
      {1, PSN_SETACTIVE, 0}, {1, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, TRUE},  {1, PSN_APPLY, TRUE},
  };
  EXPECT_EQ(g_heard, expected);
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftKeepsItsTab) {
  g_answers[0].killActive = TRUE;
  const INT_PTR result = Run([](HWND sheet) {
    HWND first = CurrentPage(sheet);
    ClickTab(sheet, 2);
    EXPECT_EQ(CurrentTab(sheet), 0);
    EXPECT_EQ(CurrentPage(sheet), first);
    EXPECT_FALSE(SendMessageA(sheet, PSM_SETCURSEL, 1, 0));
    EXPECT_EQ(CurrentTab(sheet), 0);
    // OK asks the page too: it refuses, so nothing applies and the sheet stays.
    pl3::ClickDialogButton(sheet, IDOK);
    EXPECT_TRUE(IsWindow(sheet));
    g_answers[0].killActive = FALSE;
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  const std::vector<Heard> expected = {
      {0, kInit, 0},          {0, PSN_SETACTIVE, 0},  {0, PSN_KILLACTIVE, 0},
      {0, PSN_KILLACTIVE, 0}, {0, PSN_KILLACTIVE, 0}, {0, PSN_QUERYCANCEL, 0},
      {0, PSN_RESET, 0},
  };
  EXPECT_EQ(g_heard, expected);
}

TEST_F(PropertySheetTest, AnInvalidApplyKeepsTheSheetOpenOnThatPage) {
  g_answers[1].apply = {PSNRET_INVALID};
  const INT_PTR result = Run([](HWND sheet) {
    ClickTab(sheet, 1);
    ClickTab(sheet, 2);
    g_heard.clear();
    pl3::ClickDialogButton(sheet, IDOK);
    ASSERT_TRUE(IsWindow(sheet));
    EXPECT_EQ(CurrentTab(sheet), 1);  // the invalid page is brought forward
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(result, 1);
  const std::vector<Heard> expected = {
      {2, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, TRUE}, {1, PSN_APPLY, TRUE},  {1, PSN_SETACTIVE, 0},
      {1, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, TRUE}, {1, PSN_APPLY, TRUE}, {2, PSN_APPLY, TRUE},
  };
  EXPECT_EQ(g_heard, expected);
}

TEST_F(PropertySheetTest, NoChangePageInvalidStaysOnTheShownPage) {
  g_answers[0].apply = {PSNRET_INVALID_NOCHANGEPAGE};
  const INT_PTR result = Run([](HWND sheet) {
    ClickTab(sheet, 1);
    g_heard.clear();
    pl3::ClickDialogButton(sheet, IDOK);
    EXPECT_EQ(CurrentTab(sheet), 1);
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  // Page 0 stopped the apply: page 1 never applied, and Cancel reset both.
  const std::vector<Heard> expected = {{1, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, TRUE}, {1, PSN_QUERYCANCEL, 0},
                                       {0, PSN_RESET, 0},      {1, PSN_RESET, 0}};
  EXPECT_EQ(g_heard, expected);
}

TEST_F(PropertySheetTest, CancelCanBeRefusedThenResetsEveryPageMade) {
  g_answers[1].queryCancel = TRUE;
  const INT_PTR result = Run([](HWND sheet) {
    ClickTab(sheet, 1);
    g_heard.clear();
    pl3::ClickDialogButton(sheet, IDCANCEL);
    ASSERT_TRUE(IsWindow(sheet));
    g_answers[1].queryCancel = FALSE;
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  const std::vector<Heard> expected = {
      {1, PSN_QUERYCANCEL, 0}, {1, PSN_QUERYCANCEL, 0}, {0, PSN_RESET, 0}, {1, PSN_RESET, 0}};
  EXPECT_EQ(g_heard, expected);
}

TEST_F(PropertySheetTest, ApplyFollowsChangesAndAppliesWithoutClosing) {
  const INT_PTR result = Run([](HWND sheet) {
    HWND apply = GetDlgItem(sheet, ID_APPLY_NOW);
    ASSERT_NE(apply, nullptr);
    EXPECT_FALSE(IsWindowEnabled(apply));
    pl3::TypeDialogText(CurrentPage(sheet), kEditId, "10 mil");
    EXPECT_TRUE(IsWindowEnabled(apply));
    SendMessageA(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(CurrentPage(sheet)), 0);
    EXPECT_FALSE(IsWindowEnabled(apply));
    pl3::TypeDialogText(CurrentPage(sheet), kEditId, "12 mil");
    g_heard.clear();
    pl3::ClickDialogButton(sheet, ID_APPLY_NOW);
    EXPECT_TRUE(IsWindow(sheet));
    EXPECT_FALSE(IsWindowEnabled(apply));
    const std::vector<Heard> applied = {{0, PSN_KILLACTIVE, 0}, {0, PSN_APPLY, FALSE}};
    EXPECT_EQ(g_heard, applied);
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
}

TEST_F(PropertySheetTest, SiblingQueriesReachThePagesMadeUntilOneAnswers) {
  g_answers[1].siblings = 42;
  header.dwFlags |= PSH_NOAPPLYNOW;
  const INT_PTR result = Run([](HWND sheet) {
    EXPECT_EQ(GetDlgItem(sheet, ID_APPLY_NOW), nullptr);
    EXPECT_EQ(SendMessageA(sheet, PSM_QUERYSIBLINGS, 1, 0), 0);  // only page 0 is made
    ClickTab(sheet, 2);
    ClickTab(sheet, 1);
    EXPECT_EQ(SendMessageA(sheet, PSM_QUERYSIBLINGS, 7, 0), 42);
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  const std::vector<std::pair<int, WPARAM>> expected = {{0, 1}, {0, 7}, {1, 7}};
  EXPECT_EQ(g_siblingQueries, expected);
}

// Enter in a page's edit presses the sheet's OK, unless a page disabled it;
// the keys are taken by the sheet's own loop once the hook returns, and the
// sheet left open afterwards is cancelled.
TEST_F(PropertySheetTest, APageThatDisablesOkKeepsEnterFromEndingTheSheet) {
  for (const bool disable : {false, true}) {
    g_heard.clear();
    const INT_PTR result = Run([disable](HWND sheet) {
      if (disable) EnableWindow(GetDlgItem(sheet, IDOK), FALSE);
      SetFocus(GetDlgItem(CurrentPage(sheet), kEditId));
      pl3::InjectKeyStroke(VK_RETURN);
    });
    EXPECT_EQ(result, disable ? 0 : 1) << disable;
    int applies = 0;
    for (const Heard& h : g_heard) applies += h.code == PSN_APPLY;
    EXPECT_EQ(applies, disable ? 0 : 1) << disable;
  }
}

TEST_F(PropertySheetTest, BadHeadersAndMissingTemplatesFailWithoutShowing) {
  bool shown = false;
  pl3::SetDialogHookByCaption("Print Options", [&](HWND) { shown = true; });
  std::vector<PROPSHEETPAGEA> missing = {Page("SheetTestLayers", 0), Page("NoSuchPage", 1)};
  std::vector<PROPSHEETPAGEA> shortPage = {Page("SheetTestLayers", 0)};
  shortPage[0].dwSize = sizeof(PROPSHEETPAGEA) - 8;
  struct Case {
    const char* what;
    std::function<void(PROPSHEETHEADERA&)> spoil;
  } const cases[] = {
      {"wrong dwSize", [](PROPSHEETHEADERA& h) { h.dwSize = sizeof h + 4; }},
      {"no pages", [](PROPSHEETHEADERA& h) { h.nPages = 0; }},
      {"no page array", [](PROPSHEETHEADERA& h) { h.ppsp = nullptr; }},
      {"page handles", [](PROPSHEETHEADERA& h) { h.dwFlags = PSH_DEFAULT; }},
      {"missing template", [&](PROPSHEETHEADERA& h) { h.ppsp = missing.data(), h.nPages = 2; }},
      {"wrong page dwSize", [&](PROPSHEETHEADERA& h) { h.ppsp = shortPage.data(), h.nPages = 1; }},
  };
  for (const Case& c : cases) {
    PROPSHEETHEADERA h = header;
    c.spoil(h);
    EXPECT_EQ(PropertySheetA(&h), -1) << c.what;
  }
  EXPECT_EQ(PropertySheetA(nullptr), -1);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(g_heard.empty());
}

TEST_F(PropertySheetTest, MatchesItsPicture) {
  header.nStartPage = 1;
  const INT_PTR result = Run([](HWND sheet) {
    EXPECT_EQ(CurrentTab(sheet), 1);
    pl3::TypeDialogText(CurrentPage(sheet), kEditId, "25 mil");
    pl3test::ExpectWindowMatchesGolden(sheet, "property_sheet.png");
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
}

}  // namespace
