// The command table: key text, record order, the menu index and key dispatch,
// with recording handlers and the owners' fakes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "edit/window_data.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "tests/app/pending_fakes.h"

namespace {

std::vector<std::string> g_ran;  // "name" of each handler called, in order
std::uint32_t g_answer = 1;      // what the recording handlers answer

void ResetRecording() {
  g_ran.clear();
  g_answer = 1;
}
const bool registered = pl3::RegisterGlobalReset(&ResetRecording);

// Each handler records the name it was registered under through its parameter.
std::vector<std::string> g_names;
std::uint32_t Recording(HWND, void*, void*, std::uint32_t parameter) {
  g_ran.push_back(g_names.at(parameter));
  return g_answer;
}
void Add(const char* name, std::uint32_t mask, std::int32_t mode) {
  g_names.push_back(name);
  AddCommand(name, name, mask, mode, &Recording, static_cast<std::uint32_t>(g_names.size() - 1));
}

std::string Text(char* heap) {
  std::string s = heap ? heap : "<null>";
  std::free(heap);
  return s;
}

std::vector<std::string> TableOrder() {
  std::vector<std::string> out;
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i)
    out.push_back(std::string(LiveCommandTable.records[i].name) + "/" +
                  std::to_string(LiveCommandTable.records[i].contextBit));
  return out;
}

LRESULT FocusProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    g_names.clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = &FocusProc;
    wc.lpszClassName = "KeyTarget";
    RegisterClass(&wc);
    window_ = CreateWindowEx(0, "KeyTarget", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    SetFocus(window_);
    data_.editorKind = 1;
    ActiveWindowData = &data_;
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DestroyWindow(window_);
  }
  void Hold(int vk, bool down) {
    pl3::InjectKey(vk, down);
    pl3::PumpMessages();
  }
  void Press(std::uint32_t vk) { DispatchKeyCommand(vk, 0, window_, nullptr, nullptr); }
  HWND window_ = nullptr;
  CurrentWindowData data_{};
};

TEST(KeyText, NamesEachKindOfCode) {
  struct Case {
    std::vector<std::uint16_t> codes;
    const char* text;
  };
  const Case cases[] = {
      {{17, 16, 90}, "Ctrl+Shift+Z"}, {{112}, "F1"},          {{37}, "Left"},       {{107}, "Num +"},
      {{109}, "Num -"},               {{33}, "Page Up"},      {{17, 67}, "Ctrl+C"}, {{16, 13}, "Shift+Enter"},
      {{27}, "Esc"},                  {{8}, "Backspace"},     {{32}, "Space"},      {{0x30}, "0"},
      {{46}, "Delete"},               {{17, 0xDF}, "Ctrl+\xDF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(FormatKeyCodes(static_cast<std::uint32_t>(c.codes.size()), c.codes.data())), c.text)
        << c.text;
  std::uint16_t codes[] = {16, 9};
  EXPECT_EQ(Text(FormatKeySequence(KeySequence{2, codes})), "Shift+Tab");
}

TEST(CommandTable, OneRecordPerKindOfTheMask) {
  AddCommand("x.five", "Five", 55, 0, nullptr, 0);
  ASSERT_EQ(LiveCommandTable.count, 5u);
  const std::uint32_t bits[] = {1, 2, 4, 16, 32};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(LiveCommandTable.records[i].contextBit, bits[i]);
    EXPECT_EQ(LiveCommandTable.records[i].kindMask, 55u);
    EXPECT_EQ(LiveCommandTable.records[i].keyText, nullptr);
  }
}

TEST(CommandTable, SortsByKeyCountKeyTextKindThenModeRankKeepingTies) {
  AddCommand("a.nokeys", "", 2, 0, nullptr, 0);
  AddCommand("b.f1any", "", 1, kToolModeAny, nullptr, 0);
  AddCommand("c.f1tool", "", 1, kToolModeTool, nullptr, 0);
  AddCommand("d.f1idle", "", 1, kToolModeIdle, nullptr, 0);
  AddCommand("e.f1mode39", "", 1, 39, nullptr, 0);
  AddCommand("f.f1shape", "", 2, 39, nullptr, 0);
  AddCommand("g.ctrlc", "", 1, 0, nullptr, 0);
  AddCommand("h.a", "", 1, 0, nullptr, 0);
  AddCommand("i.a.twin", "", 1, 0, nullptr, 0);
  SetCommandKey(&LiveCommandTable, "B.F1ANY", 112);  // names are case-free
  SetCommandKey(&LiveCommandTable, "c.f1tool", 112);
  SetCommandKey(&LiveCommandTable, "d.f1idle", 112);
  SetCommandKey(&LiveCommandTable, "e.f1mode39", 112);
  SetCommandKey(&LiveCommandTable, "f.f1shape", 112);
  SetCommandKeys2("g.ctrlc", 17, 67);
  SetCommandKey(&LiveCommandTable, "i.a.twin", 'A');
  SetCommandKey(&LiveCommandTable, "h.a", 'A');
  SortCommandTable();
  // "A" before "F1" by key text; the "A" twins keep their registration
  // order although their keys were set the other way round.
  const std::vector<std::string> expected = {"a.nokeys/2", "h.a/1",     "i.a.twin/1",  "e.f1mode39/1", "d.f1idle/1",
                                             "c.f1tool/1", "b.f1any/1", "f.f1shape/2", "g.ctrlc/1"};
  EXPECT_EQ(TableOrder(), expected);
}

TEST(CommandTable, KeyTextComparesWithoutCaseAndNoTextFirst) {
  char upper[] = "Ctrl+B", lower[] = "ctrl+a";
  std::uint16_t codes[] = {17, 65};
  CommandRecord a{}, b{}, none{};
  a.keyCount = b.keyCount = none.keyCount = 2;
  a.keyCodes = b.keyCodes = none.keyCodes = codes;
  a.keyText = lower;  // before "Ctrl+B" without regard to case, after it by bytes
  b.keyText = upper;
  EXPECT_LT(CompareCommandRecords(&a, &b), 0);
  EXPECT_GT(CompareCommandRecords(&b, &a), 0);
  EXPECT_LT(CompareCommandRecords(&none, &a), 0);
  EXPECT_GT(CompareCommandRecords(&b, &none), 0);
  b.keyText = lower;
  b.contextBit = 2;
  a.contextBit = 1;
  EXPECT_LT(CompareCommandRecords(&a, &b), 0);
}

TEST(CommandTable, MenuIndexGivesKeyTextByKindAndId) {
  AddCommand("edit.copy", "Copy", 63, kToolModeTool, nullptr, 0);
  BindCommandMenuId("EDIT.COPY", 2257);
  AddCommand("tools.other", "Other", 32, 0, nullptr, 0);
  BindCommandMenuId("tools.other", 100);
  SetCommandKeys2("edit.copy", 17, 67);
  SortCommandTable();
  BuildCommandMenuIndex();
  SortCommandMenuIndex();
  EXPECT_STREQ(GetCommandKeyText(1, 2257), "Ctrl+C");
  EXPECT_STREQ(GetCommandKeyText(32, 2257), "Ctrl+C");
  EXPECT_EQ(GetCommandKeyText(64, 2257), nullptr);   // not a kind of the command
  EXPECT_EQ(GetCommandKeyText(1, 2258), nullptr);
  EXPECT_EQ(GetCommandKeyText(32, 100), nullptr);    // bound, but no keys
  // Rebuilding does not keep entries of the old table.
  BuildCommandMenuIndex();
  // Six records, each bound with all six kinds, and the other command's one.
  EXPECT_EQ(CommandMenuIndexCount, 37u);
}

TEST(CommandTable, DeepCopyOwnsEverything) {
  AddCommand("edit.copy", "Copy", 3, kToolModeTool, nullptr, 7);
  BindCommandMenuId("edit.copy", 2257);
  SetCommandKeys2("edit.copy", 17, 67);
  CommandTable* copy = CopyCommandTable(&LiveCommandTable);
  FreeCommandTables();
  ASSERT_EQ(copy->count, 2u);
  EXPECT_STREQ(copy->records[1].name, "edit.copy");
  EXPECT_STREQ(copy->records[1].keyText, "Ctrl+C");
  EXPECT_EQ(copy->records[1].keyCodes[1], 67);
  EXPECT_EQ(copy->records[1].menuBindings[0].menuId, 2257u);
  EXPECT_EQ(copy->records[1].userParameter, 7u);
  FreeCommandTable(copy);
  std::free(copy);
}

TEST(CommandTable, CaptionsInNaturalOrder) {
  AddCommand("z10", "Zoom To Level 10", 1, 0, nullptr, 0);
  AddCommand("z2", "Zoom To Level 2", 1, 0, nullptr, 0);
  AddCommand("a", "Accept", 1, 0, nullptr, 0);
  CommandRecord* records[] = {&LiveCommandTable.records[0], &LiveCommandTable.records[1], &LiveCommandTable.records[2]};
  SortCommandsByCaption(records, 3);
  EXPECT_STREQ(records[0]->caption, "Accept");
  EXPECT_STREQ(records[1]->caption, "Zoom To Level 2");
  EXPECT_STREQ(records[2]->caption, "Zoom To Level 10");
  EXPECT_LT(CompareCommandCaptions(records[1], records[2]), 0);
}

TEST_F(Dispatch, SpecificModeFirstThenAnyToolWhenItDeclines) {
  Add("tool", 1, kToolModeTool);
  Add("mode39", 1, 39);
  Add("idle", 1, kToolModeIdle);
  Add("any", 1, kToolModeAny);
  for (const char* n : {"tool", "mode39", "idle", "any"}) SetCommandKey(&LiveCommandTable, n, 'F');
  SortCommandTable();
  data_.EditMode = 39;
  Press('F');
  EXPECT_EQ(g_ran, (std::vector<std::string>{"mode39"}));
  g_ran.clear();
  g_answer = 0;
  Press('F');
  EXPECT_EQ(g_ran, (std::vector<std::string>{"mode39", "tool", "any"}));  // idle never during a tool
  g_ran.clear();
  data_.EditMode = 0;
  Press('F');
  EXPECT_EQ(g_ran, (std::vector<std::string>{"idle", "any"}));  // -1 never when idle
}

TEST_F(Dispatch, KindComesFromTheActiveWindowAndMustBeExact) {
  Add("pcb", 1, kToolModeAny);
  Add("view3d", 256, kToolModeAny);
  Add("mask", 257 & ~256, kToolModeAny);
  SetCommandKey(&LiveCommandTable, "pcb", 'Z');
  SetCommandKey(&LiveCommandTable, "view3d", 'Z');
  SetCommandKey(&LiveCommandTable, "mask", 'Z');
  SortCommandTable();
  data_.editorKind = 256;
  Press('Z');
  EXPECT_EQ(g_ran, (std::vector<std::string>{"view3d"}));
  g_ran.clear();
  data_.editorKind = 257;
  Press('Z');
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Dispatch, ModifiersAloneAndShiftGhost) {
  Add("shiftz", 1, kToolModeAny);
  SetCommandKeys2("shiftz", 16, 'Z');
  Press(16);
  Press(17);
  Press(18);
  EXPECT_TRUE(g_ran.empty());
  EXPECT_EQ(pendingfakes::Recorded().ghostUpdates, 1);
  Hold(VK_SHIFT, true);
  Press('Z');
  Hold(VK_SHIFT, false);
  EXPECT_EQ(g_ran, (std::vector<std::string>{"shiftz"}));
  EXPECT_EQ(pendingfakes::Recorded().ghostUpdates, 2);
  Press('Z');  // Shift released: a different sequence
  EXPECT_EQ(g_ran.size(), 1u);
}

TEST_F(Dispatch, PcbCtrlKeyGoesToTheLayerToggleFirst) {
  Add("ctrlq", 1 | 32, kToolModeAny);
  Add("ctrlshiftq", 1, kToolModeAny);
  SetCommandKeys2("ctrlq", 17, 'Q');
  SetCommandKeys3("ctrlshiftq", 17, 16, 'Q');
  SortCommandTable();
  auto& fakes = pendingfakes::Recorded();
  Hold(VK_CONTROL, true);
  fakes.layerToggleResult = 1;
  Press('Q');
  EXPECT_TRUE(g_ran.empty());
  fakes.layerToggleResult = 0;
  Press('Q');
  EXPECT_EQ(g_ran, (std::vector<std::string>{"ctrlq"}));
  EXPECT_EQ(fakes.layerToggleKeys, (std::vector<std::uint32_t>{'Q', 'Q'}));
  fakes.layerToggleResult = 1;
  Hold(VK_SHIFT, true);
  Press('Q');
  EXPECT_EQ(fakes.layerToggleKeys.size(), 2u);  // Ctrl+Shift is never offered
  EXPECT_EQ(g_ran.back(), "ctrlshiftq");
  Hold(VK_SHIFT, false);
  data_.editorKind = 32;  // a schematic: no layer toggle
  Press('Q');
  EXPECT_EQ(fakes.layerToggleKeys.size(), 2u);
  EXPECT_EQ(g_ran.back(), "ctrlq");
  Hold(VK_CONTROL, false);
}

// A handler that empties the table must not leave the walk on freed records.
std::uint32_t Clearing(HWND, void*, void*, std::uint32_t) {
  FreeCommandTables();
  return 0;
}

TEST_F(Dispatch, HandlerMayChangeTheTable) {
  AddCommand("first", "", 1, kToolModeAny, &Clearing, 0);
  Add("second", 1, kToolModeAny);
  SetCommandKey(&LiveCommandTable, "first", 'W');
  SetCommandKey(&LiveCommandTable, "second", 'W');
  Press('W');
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Dispatch, NullHandlerAndLongSequencesNeverRun) {
  AddCommand("nohandler", "", 1, kToolModeAny, nullptr, 0);
  Add("four", 1, kToolModeAny);
  SetCommandKey(&LiveCommandTable, "nohandler", 'N');
  const std::uint16_t four[] = {17, 16, 'N', 'M'};
  SetCommandKeyCodes(&LiveCommandTable, "four", 4, four);
  const std::uint16_t codes[] = {17, 16, 'N'};
  EXPECT_EQ(RunMatchingCommand(KeyLookup{1, 0, 1, codes + 2}, window_, nullptr, nullptr), 0u);
  EXPECT_EQ(RunMatchingCommand(KeyLookup{1, 0, 3, codes}, window_, nullptr, nullptr), 0u);
  EXPECT_TRUE(g_ran.empty());
}

}  // namespace
