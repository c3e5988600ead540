// The frame's services: recently used projects, placement, the console
// panes and their lines, the date text, menus by document kind, and
// start-up's registry check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/about_box.h"
#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "app/recent_projects.h"
#include "app/registry_values.h"
#include "app/settings_block.h"
#include "app/win_main.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "platform/system_info.h"
#include "platform/user.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"

namespace {

std::string ReadInitialisation(const char* name) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key) != 0) return "<no key>";
  char text[1100] = "";
  const bool read = ReadRegistryText(key, name, text, sizeof text);
  RegCloseKey(key);
  return read ? text : "<none>";
}

void WriteInitialisation(const char* name, const char* value) {
  HKEY key = nullptr;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr),
            0);
  WriteRegistryTextWithNul(key, name, value);
  RegCloseKey(key);
}

// ---- Recently used ------------------------------------------------------------------------

TEST(RecentProjects, OpeningMovesToTheFrontAndTheFifthDropsTheOldest) {
  for (const char* name : {"a.p3p", "b.p3p", "c.p3p"}) ASSERT_TRUE(AddToMRUList("C:\\d\\", name, "pcb"));
  EXPECT_STREQ(RecentEntry(0), "C:\\d\\c.p3p?pcb");
  // The third (a) to the front, the other two keep their order behind it.
  ASSERT_TRUE(AddToMRUList("C:\\d\\", "a.p3p", "pcb"));
  EXPECT_STREQ(RecentEntry(0), "C:\\d\\a.p3p?pcb");
  EXPECT_STREQ(RecentEntry(1), "C:\\d\\c.p3p?pcb");
  EXPECT_STREQ(RecentEntry(2), "C:\\d\\b.p3p?pcb");
  AddToMRUList("C:\\d\\", "d.p3p", "pcb");
  AddToMRUList("C:\\d\\", "e.p3p", nullptr);
  EXPECT_STREQ(RecentEntry(0), "C:\\d\\e.p3p");
  EXPECT_STREQ(RecentEntry(3), "C:\\d\\c.p3p?pcb");  // b, the oldest, is gone
  // A text that does not fit an entry is refused, not cut.
  const std::string longName(5000, 'x');
  EXPECT_FALSE(AddToMRUList("C:\\", longName.c_str(), "pcb"));
  EXPECT_STREQ(RecentEntry(0), "C:\\d\\e.p3p");
}

TEST(RecentProjects, LoadSkipsValuesWithoutAQuestionMarkAndSaveWritesInOrder) {
  WriteInitialisation("MRUProject1", "C:\\p\\one.p3p?pcb");
  WriteInitialisation("MRUProject2", "C:\\p\\no-type.p3p");
  WriteInitialisation("MRUProject3", "C:\\p\\three.p3l?package");
  HKEY key = nullptr;
  ASSERT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key), 0);
  LoadMRUList(key);
  RegCloseKey(key);
  EXPECT_STREQ(RecentEntry(0), "C:\\p\\one.p3p?pcb");
  EXPECT_STREQ(RecentEntry(1), "C:\\p\\three.p3l?package");
  EXPECT_STREQ(RecentEntry(2), "");
  SaveMRUList();
  EXPECT_EQ(ReadInitialisation("MRUProject2"), "C:\\p\\three.p3l?package");
}

TEST(RecentProjects, TheMenuShowsCompactedPathsAndASeparatorOnlyWithEntries) {
  auto popup = [] {
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 459, "Configuration...");
    AppendMenuA(m, MF_STRING, kExitId, "E&xit");
    return m;
  };
  HMENU empty = popup();
  BuildMRUMenu(empty);
  EXPECT_EQ(GetMenuItemCount(empty), 2);
  FreeOwnerDrawnMenu(empty);
  DestroyMenu(empty);

  AddToMRUList("C:\\a very long folder name\\another long folder name\\and more\\", "board.p3p", "pcb");
  HMENU menu = popup();
  BuildMRUMenu(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 4);  // entry, separator, before Exit
  EXPECT_EQ(GetMenuItemID(menu, 1), kRecentFirstId);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(menu, 1, TRUE, &info));
  const auto* record = reinterpret_cast<const OwnerDrawnMenuRecord*>(info.dwItemData);
  ASSERT_NE(record, nullptr);
  const std::string text = record->text;
  EXPECT_EQ(text.rfind("&1 ", 0), 0u) << text;
  EXPECT_NE(text.find("..."), std::string::npos) << text;
  EXPECT_NE(text.find("board.p3p"), std::string::npos) << text;
  EXPECT_EQ(text.find('?'), std::string::npos) << text;
  EXPECT_LE(text.size(), 3u + 49u);
  EXPECT_EQ(record->image, 162u);  // a PCB
  ASSERT_TRUE(GetMenuItemInfoA(menu, 2, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
  FreeOwnerDrawnMenu(menu);
  DestroyMenu(menu);
}

// ---- Dates and version ------------------------------------------------------------------------

TEST(AboutBox, DateTextsKeepTheirSpellingAndOutOfTableValuesReadUndefined) {
  SYSTEMTIME t{2024, 2, 3, 14, 9, 5, 0, 0};
  char* text = FormatDateTime(&t);
  EXPECT_STREQ(text, "9:05 on Wednesday, 14 Feburary 2024");
  std::free(text);
  t.wMonth = 13;
  t.wDayOfWeek = 7;
  text = FormatDateTime(&t);
  EXPECT_STREQ(text, "9:05 on Undefined, 14 Undefined 2024");
  std::free(text);
  char version[32];
  FormatProgramVersion(version, sizeof version);
  EXPECT_EQ(std::string(version).rfind("3.00.0001", 0), 0u);
}

TEST(AboutBox, CreditsListNoPluginsAndShuffleOnlyTheRandomBlock) {
  static char lines[255][255];
  const int n = BuildCreditLines(lines, 255);
  ASSERT_GT(n, 10);
  EXPECT_STREQ(lines[0], "Pelmora 3");
  EXPECT_STREQ(lines[n - 1], "ENDOFTEXT");
  int heading = -1;
  for (int i = 0; i < n; ++i)
    if (std::strcmp(lines[i], "Pelmora3 is using the following plugins...") == 0) heading = i;
  ASSERT_GE(heading, 0);
  EXPECT_STREQ(lines[heading + 1], "");
  EXPECT_STREQ(lines[heading + 2], "This software uses the following libraries:");
}

// ---- Placement ----------------------------------------------------------------------------------

class Placement : public testing::Test {
 protected:
  void SetUp() override {
    FrameWindow = MakeTestParentWindow("PlacementFrame");
    ASSERT_NE(FrameWindow, nullptr);
  }
  void TearDown() override { DestroyWindow(FrameWindow); }
};

TEST_F(Placement, SavedMinimisedRestoresMaximisedAndOffTheDesktopIsIgnored) {
  // flags, length, max x, max y, min x, min y, bottom, top, left, right, show.
  WriteInitialisation("DefaultWindowPlacement", "0 44 0 0 -1 -1 300 20 10 400 2");
  EXPECT_EQ(RestoreWindowPlacement(), 1);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(FrameWindow, &wp);
  EXPECT_EQ(wp.showCmd, 3u);
  EXPECT_EQ(wp.rcNormalPosition.left, 10);
  EXPECT_EQ(wp.rcNormalPosition.right, 400);

  WriteInitialisation("DefaultWindowPlacement", "0 44 0 0 -1 -1 -5000 -6000 -9000 -8000 1");
  EXPECT_EQ(RestoreWindowPlacement(), 0);
  // Fewer than eleven numbers: nothing applies.
  WriteInitialisation("DefaultWindowPlacement", "0 44 0 0 -1 -1 300 20 10");
  EXPECT_EQ(RestoreWindowPlacement(), 0);
}

TEST_F(Placement, AFrameHiddenOnItsWayOutIsSavedAndRestoredShown) {
  // The frame saves its placement on WM_DESTROY, when it is hidden already.
  ShowWindow(FrameWindow, SW_SHOWNORMAL);
  MoveWindow(FrameWindow, 30, 40, 200, 100, FALSE);
  ShowWindow(FrameWindow, SW_HIDE);
  ASSERT_EQ(SaveWindowPlacement(), 0);
  const std::string text = ReadInitialisation("DefaultWindowPlacement");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.substr(text.rfind(' ') + 1), "1") << text;
  ASSERT_EQ(RestoreWindowPlacement(), 1);
  EXPECT_TRUE(IsWindowVisible(FrameWindow)) << "the next start shows its frame";
}

TEST_F(Placement, SaveWritesTheElevenNumbersInTheirOrder) {
  ShowWindow(FrameWindow, SW_SHOWNORMAL);
  MoveWindow(FrameWindow, 30, 40, 200, 100, FALSE);
  ASSERT_EQ(SaveWindowPlacement(), 0);
  int v[11] = {};
  const std::string text = ReadInitialisation("DefaultWindowPlacement");
  ASSERT_EQ(std::sscanf(text.c_str(), "%d %d %d %d %d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &v[7], &v[8], &v[9], &v[10]),
            11)
      << text;
  EXPECT_EQ(v[1], 44);
  EXPECT_EQ(v[6], 140);  // bottom, top, left, right
  EXPECT_EQ(v[7], 40);
  EXPECT_EQ(v[8], 30);
  EXPECT_EQ(v[9], 230);
}

TEST(ToolbarLayout, WrittenWholeAndAnUncreatableFileIsSkipped) {
  const std::string folder = pl3::ProgramPath((std::filesystem::temp_directory_path() / "tb").string());
  std::filesystem::create_directories(pl3::HostPath(folder));
  const std::string path = folder + "\\Toolbars.CFG";
  std::uint8_t records[40];
  for (int i = 0; i < 40; ++i) records[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(WriteToolbarLayoutFile(path.c_str(), records, 2));
  std::ifstream in(pl3::HostPath(path), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[43]), 39);
  EXPECT_FALSE(WriteToolbarLayoutFile((folder + "\\missing\\Toolbars.CFG").c_str(), records, 2));
}

// ---- Consoles -----------------------------------------------------------------------------------

class Consoles : public testing::Test {
 protected:
  void SetUp() override {
    InitTowerStore();
    Settings = ReadSettings();
    for (int k = 0; k < kConsoleKindSlots; ++k) Settings->ConsoleVisible[k] = Settings->ConsoleSaved[k] = 1;
    RegisterConsoleClass(nullptr);
    parent = MakeTestParentWindow("ConsoleParent");
    console = CreateWindowExA(0, "CONSOLECLASS", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, nullptr, nullptr,
                              nullptr);
    design = NewTower(0);
    LastLevel(design).typeCode = 102;
    InsertAtLastLevel(design, 0);
  }
  void TearDown() override {
    DestroyConsolePane(&pane);
    DestroyWindow(console);
    DestroyWindow(parent);
    FreeSettings(Settings);
    Settings = nullptr;
  }
  int Listed() { return static_cast<int>(SendMessageA(pane.list, LB_GETCOUNT, 0, 0)); }
  int StoredLines() {
    Tower* lines = OpenChildTower(design, Type_ConsoleLines);
    Tower* walk = lines ? GetChildTower(lines, Type_ConsoleLine) : nullptr;
    int n = 0;
    while (walk && FindNextEntity(walk)) ++n;
    FreeTower(walk);
    FreeTower(lines);
    return n;
  }
  std::uint32_t NextNumber() {
    Tower* lines = OpenChildTower(design, Type_ConsoleLines);
    std::uint32_t n = 0;
    std::memcpy(&n, GetEntityData(lines, Type_ConsoleNextNumber), 4);
    FreeTower(lines);
    return n;
  }
  HWND parent = nullptr, console = nullptr;
  Tower* design = nullptr;
  ConsolePane pane{};
};

TEST_F(Consoles, AStampedWarningShowsItsTimeInBracketsAfterTheText) {
  CreateConsolePane(console, 1, &pane, design);
  ConsoleLine* line = AddConsoleMessage(&pane, kConsoleGeneral, 5, 6, 0, 0x402, "Pad %d too close", 7);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->flags & kConsoleIconMask, kConsoleIconWarning);
  char shown[256];
  FormatConsoleLineText(*line, shown, sizeof shown);
  const std::string text = shown;
  EXPECT_EQ(text.rfind("Pad 7 too close (", 0), 0u) << text;
  EXPECT_EQ(text.back(), ')');
  EXPECT_EQ(Listed(), 1);
}

TEST_F(Consoles, AHiddenKindIsStoredNotListedAndGoneAfterAReloadWhenNotSaved) {
  Settings->ConsoleVisible[kConsoleDRC] = 0;
  CreateConsolePane(console, 1, &pane, design);
  AddConsoleMessage(&pane, kConsoleDRC, 0, 0, 0, 0, "clearance");
  AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "general");
  EXPECT_EQ(Listed(), 1);
  EXPECT_EQ(StoredLines(), 2);
  DestroyConsolePane(&pane);
  Settings->ConsoleSaved[kConsoleDRC] = 0;
  CreateConsolePane(console, 1, &pane, design);
  LoadConsolePane(&pane, design);
  EXPECT_EQ(StoredLines(), 1);
  EXPECT_EQ(Listed(), 1);
}

TEST_F(Consoles, NumbersContinueAfterTheLargestKeptLine) {
  CreateConsolePane(console, 1, &pane, design);
  for (int i = 0; i < 4; ++i) AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "line %d", i);
  EXPECT_EQ(NextNumber(), 5u);
  // The first two lines are deleted; numbers 3 and 4 stay.
  SendMessageA(pane.list, LB_SETSEL, FALSE, -1);
  SendMessageA(pane.list, LB_SETSEL, TRUE, 0);
  SendMessageA(pane.list, LB_SETSEL, TRUE, 1);
  pl3::PushButtonAnswer(IDYES);
  SendMessageA(console, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0), reinterpret_cast<LPARAM>(pane.list));
  EXPECT_EQ(StoredLines(), 2);
  DestroyConsolePane(&pane);
  CreateConsolePane(console, 1, &pane, design);
  LoadConsolePane(&pane, design);
  EXPECT_EQ(NextNumber(), 5u);
  AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "after");
  EXPECT_EQ(NextNumber(), 6u);
}

TEST_F(Consoles, TheSelectionFollowsNewLinesOnlyFromTheLastLine) {
  CreateConsolePane(console, 1, &pane, design);
  for (int i = 0; i < 3; ++i) AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "line %d", i);
  EXPECT_EQ(SendMessageA(pane.list, LB_GETCARETINDEX, 0, 0), 2);
  SendMessageA(pane.list, LB_SETCARETINDEX, 0, 0);
  AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "more");
  EXPECT_EQ(SendMessageA(pane.list, LB_GETCARETINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageA(pane.list, LB_GETSEL, 3, 0), 0);
}

TEST_F(Consoles, RowsAreTheTextPlusFourAtLeastTwentyBelowSixteenAndStripedByIndex) {
  CreateConsolePane(console, 1, &pane, design);
  ConsoleLine* line = AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "a line to measure");
  ASSERT_NE(line, nullptr);
  // The pane's extent is the widest line plus 20.
  EXPECT_EQ(SendMessageA(pane.list, LB_GETHORIZONTALEXTENT, 0, 0), line->textRect.right - line->textRect.left + 20);
  struct Case {
    int textHeight;
    UINT rowHeight;
  };
  for (const Case c : {Case{10, 20}, Case{11, 20}, Case{12, 16}, Case{16, 20}, Case{30, 34}}) {
    line->textRect = RECT{0, 0, 80, c.textHeight};
    MEASUREITEMSTRUCT m{ODT_LISTBOX, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(line)};
    SendMessageA(console, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_EQ(m.itemHeight, c.rowHeight) << c.textHeight;
  }
  // The background, well right of the text: even rows cream, odd rows white,
  // a selected row in the highlight colour.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 400, 20);
  auto old = SelectObject(dc, bitmap);
  struct Row {
    UINT index, state;
    COLORREF colour;
  };
  for (const Row r : {Row{0, 0, RGB(232, 232, 208)}, Row{1, 0, RGB(255, 255, 255)}, Row{2, 0, RGB(232, 232, 208)},
                      Row{1, ODS_SELECTED, GetSysColor(COLOR_HIGHLIGHT)}}) {
    DRAWITEMSTRUCT d{ODT_LISTBOX, 0, r.index, ODA_DRAWENTIRE, r.state, pane.list, dc, RECT{0, 0, 400, 20},
                     reinterpret_cast<ULONG_PTR>(line)};
    SendMessageA(console, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(GetPixel(dc, 395, 10), r.colour) << r.index << " " << r.state;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(Consoles, ALongTextIsCutToTheBuffer) {
  CreateConsolePane(console, 1, &pane, design);
  const std::string longText(20000, 'y');
  ConsoleLine* line = AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "%s", longText.c_str());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(std::strlen(line->text), kConsoleTextLimit - 1);
}

TEST_F(Consoles, DamagedLinesOfADesignAreSkipped) {
  CreateConsolePane(console, 1, &pane, design);
  AddConsoleMessage(&pane, kConsoleGeneral, 0, 0, 0, 0, "good");
  // A line without its number, and one whose text has no end.
  Tower* lines = OpenChildTower(design, Type_ConsoleLines);
  Tower* bad = InsertEmptyEntity(lines, Type_ConsoleLine);
  FreeTower(InsertEntity(bad, 4, Type_ConsoleLineKind, "\x06\0\0\0"));
  Tower* noEnd = InsertEmptyEntity(lines, Type_ConsoleLine);
  const std::uint32_t number = 9;
  FreeTower(InsertEntity(noEnd, 4, Type_ConsoleLineNumber, &number));
  char text[16];
  std::memset(text, 'z', sizeof text);
  FreeTower(InsertEntity(noEnd, sizeof text, Type_ConsoleLineText, text));
  FreeTower(bad);
  FreeTower(noEnd);
  FreeTower(lines);
  DestroyConsolePane(&pane);
  CreateConsolePane(console, 1, &pane, design);
  LoadConsolePane(&pane, design);
  EXPECT_EQ(Listed(), 1);
  EXPECT_EQ(NextNumber(), 10u);
}

// ---- Menus by kind --------------------------------------------------------------------------------

std::string PopupCaption(HMENU bar, int i) {
  char text[64] = "";
  GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(FrameMenus, WithoutADocumentTheBarHasFileAndHelpWithTheDocumentItemsGreyed) {
  FrameWindow = MakeTestParentWindow("MenuFrame");
  ChangeMenu(0);
  HMENU bar = GetMenu(FrameWindow);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(PopupCaption(bar, 0), "&File");
  EXPECT_EQ(PopupCaption(bar, 1), "&Help");
  for (UINT id : {327u, 286u, 334u, 4004u, 336u})
    EXPECT_TRUE(GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED) << id;
  EXPECT_FALSE(GetMenuState(bar, 283, MF_BYCOMMAND) & MF_GRAYED);
  // 1,000 rebuilds leave nothing behind (the leak checker sees the rest).
  for (int i = 0; i < 1000; ++i) ChangeMenu(0);
  DestroyFrameMenus();
  DestroyWindow(FrameWindow);
}

// ---- Start-up -------------------------------------------------------------------------------------

TEST(StartUp, StripQuotesAndDocumentKinds) {
  char* stripped = StripQuotes("\"C:\\x\\a \"b\".p3p\"");
  EXPECT_STREQ(stripped, "C:\\x\\a b.p3p");
  EXPECT_EQ(CommandLineDocumentKind(stripped), 1);
  std::free(stripped);
  EXPECT_EQ(StripQuotes(nullptr), nullptr);
  EXPECT_EQ(CommandLineDocumentKind("C:\\x.P3L"), 2);
  EXPECT_EQ(CommandLineDocumentKind("C:\\x.p3u"), 3);
  EXPECT_EQ(CommandLineDocumentKind("C:\\x.y\\z"), 0);
}

TEST(StartUp, MissingRegistrySettingsEndTheStartWithMinusOne) {
  // No user key, and a machine branch without the program.
  HKEY machine = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, &machine, nullptr),
            0);
  RegDeleteTree(machine, "Pelmora3");
  RegCloseKey(machine);
  RegDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Corvane");
  char line[] = "";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), -1);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text,
            "The Pelmora3 registry settings are corrupt, please reinstall the software.");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "Pelmora3");
  // The machine branch starts again from its defaults for the tests after this one.
  std::filesystem::remove(pl3::RegistryFile(HKEY_LOCAL_MACHINE));
}

TEST(StartUp, TheMachineBranchIsCopiedWholeIntoAMissingUserBranch) {
  HKEY machine = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Pelmora3\\Extra\\Deep", 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &machine, nullptr),
            0);
  const DWORD value = 42;
  RegSetValueEx(machine, "Answer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(machine);
  RegDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Corvane");
  CopyRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane", HKEY_CURRENT_USER);
  HKEY copied = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Pelmora3\\Extra\\Deep", 0, KEY_READ, &copied), 0);
  DWORD read = 0, size = sizeof read, type = 0;
  EXPECT_EQ(RegQueryValueEx(copied, "Answer", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), 0);
  EXPECT_EQ(read, 42u);
  RegCloseKey(copied);
}

TEST(StartUp, AnotherInstanceGetsThePathAsCopyDataAndThisStartEnds) {
  static std::string received;
  static ULONG_PTR code = 0;
  received.clear();
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_COPYDATA) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      code = data->dwData;
      received.assign(static_cast<const char*>(data->lpData), data->cbData);
      return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
  };
  wc.lpszClassName = kFrameClassName;
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND running = CreateWindowExA(0, kFrameClassName, "Pelmora 3", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
  char line[] = "\"C:\\x\\a \"b\".p3p\"";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), 0);
  EXPECT_EQ(code, 1028u);
  EXPECT_EQ(received, std::string("C:\\x\\a b.p3p", 13));  // NUL counted
  // An update file only tells the user.
  received.clear();
  char update[] = "C:\\x\\u.p3u";
  EXPECT_EQ(WinMain(nullptr, nullptr, update, SW_SHOW), 0);
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "You need to close Pelmora3 before running an update file.");
  DestroyWindow(running);
  UnregisterClassA(kFrameClassName, nullptr);
}

}  // namespace
