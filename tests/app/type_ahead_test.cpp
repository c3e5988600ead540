#include "app/type_ahead.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/user.h"

namespace {

TEST(MatchesTypedPrefix, ComparesWithoutCaseAndNeverPastTheName) {
  struct Case {
    const char* typed;
    const char* name;
    int match;
  } cases[] = {
      {"val", "Value", 1}, {"VALUE", "value", 1}, {"", "Value", 1},       {nullptr, "Value", 1},
      {"valu", "Val", 0},  {"x", "Value", 0},     {"Value2", "Value", 0}, {"a", nullptr, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesTypedPrefix(c.typed, c.name), c.match) << (c.typed ? c.typed : "null");
  EXPECT_EQ(IsPrefixNoCase("ab", "ABC"), 1);
}

// A parent that completes from a fixed list and counts the questions asked.
const char* const kNames[] = {"Resistance", "Rating", "Value"};
int gQuestions = 0;

const char* Completion(const char* typed) {
  if (!typed || !*typed) return nullptr;
  for (const char* name : kNames)
    if (MatchesTypedPrefix(typed, name)) return name;
  return nullptr;
}

LRESULT CALLBACK CompletingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static std::string typed;  // the text of the last question, for 1690
  switch (message) {
    case kTypeAheadHasCompletion:
      ++gQuestions;
      typed = reinterpret_cast<const char*>(wParam);
      return Completion(typed.c_str()) ? 1 : 0;
    case kTypeAheadCompletionLength: {
      const char* name = Completion(reinterpret_cast<const char*>(wParam));
      return name ? static_cast<LRESULT>(std::strlen(name) - std::strlen(reinterpret_cast<const char*>(wParam))) : 0;
    }
    case kTypeAheadCopyCompletion: {
      const char* name = Completion(typed.c_str());
      auto* buffer = reinterpret_cast<char*>(lParam);
      if (!name || wParam == 0) return 0;
      std::strncpy(buffer, name + typed.size(), wParam - 1);
      buffer[wParam - 1] = '\0';
      return 1;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

class TypeAhead : public testing::Test {
 protected:
  void SetUp() override {
    gQuestions = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CompletingParent;
    wc.lpszClassName = "TypeAheadParent";
    ASSERT_TRUE(RegisterClassA(&wc));
    parent = CreateWindowExA(0, "TypeAheadParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  HWND Child(const char* cls, DWORD style, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 5, 5, 200, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  static std::string TextOf(HWND window) {
    char buffer[128] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
  }
  static void Type(HWND edit, const char* text) {
    for (const char* p = text; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*p), 0);
  }
  HWND parent = nullptr;
};

TEST_F(TypeAhead, AnEditShowsTheRestOfTheNameSelected) {
  HWND edit = Child("EDIT", ES_AUTOHSCROLL, 10);
  ASSERT_EQ(SubclassTypeAheadBox(parent, 10), 1);
  SetFocus(edit);
  Type(edit, "r");
  EXPECT_EQ(TextOf(edit), "resistance");  // what was typed keeps its case
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 10u);
  // The next letter replaces the selection and completes again.
  Type(edit, "a");
  EXPECT_EQ(TextOf(edit), "rating");
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 6u);
  // No name completes "rx": the typed text stays as it is.
  Type(edit, "x");
  EXPECT_EQ(TextOf(edit), "rax");
  // Control characters ask nothing.
  const int asked = gQuestions;
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(gQuestions, asked);
}

TEST_F(TypeAhead, AComboPassesItsFieldsQuestionsOn) {
  HWND combo = Child("COMBOBOX", CBS_DROPDOWN, 11);
  ASSERT_EQ(EnableTypeAhead(combo), 1);
  HWND edit = ChildWindowFromPoint(combo, POINT{20, 5});
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(edit, combo);
  Type(edit, "v");
  EXPECT_EQ(TextOf(combo), "value");
  EXPECT_GT(gQuestions, 0);
}

TEST_F(TypeAhead, OtherControlsAndMissingOnesAreLeftAlone) {
  Child("BUTTON", BS_PUSHBUTTON, 12);
  EXPECT_EQ(SubclassTypeAheadBox(parent, 12), 0);
  EXPECT_EQ(SubclassTypeAheadBox(parent, 99), 0);
  EXPECT_EQ(EnableTypeAheadForItem(parent, 99), 0);
}

}  // namespace
