// The program run in process from WinMain to its exit: a start without the
// user's registry branch, the console's banner, what quitting saves and in
// which order (the docking layout, "PL3.CFG", the placement, the settings,
// the auto-pan options, the recently used list), and a document that refuses
// to close keeps the frame and everything unsaved.
//
// The docking layout file is the docking framework's; this test stands in
// for it and notes the save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/registry_values.h"
#include "app/about_box.h"
#include "app/recent_projects.h"
#include "app/start_values.h"
#include "app/ui_seams.h"
#include "app/win_main.h"
#include "draw/auto_pan.h"
#include "draw/ui_colours.h"
#include "platform/controls.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/registry.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/filing_seams.h"

namespace {

std::vector<std::string> gJournal;
std::string gConfigurationFile;  // the host path of PL3.CFG
bool gRefuse = false;
bool gRefusalChecked = false;

void ResetJournal() {
  gJournal.clear();
  gConfigurationFile.clear();
  gRefuse = false;
  gRefusalChecked = false;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetJournal);

// Every value written; "PL3.CFG" is noted before the first write that finds
// the file made.
void NoteValue(const char* name) {
  const bool noted = std::find(gJournal.begin(), gJournal.end(), "PL3.CFG") != gJournal.end();
  if (!noted && !gConfigurationFile.empty() && std::filesystem::exists(gConfigurationFile))
    gJournal.push_back("PL3.CFG");
  gJournal.push_back(name);
}

LRESULT CALLBACK DocumentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE && gRefuse) return 0;
  return DefMDIChildProcA(w, m, wp, lp);
}

// The journal cut to the first write of each name the test follows.
std::vector<std::string> Followed() {
  const std::vector<std::string> followed = {"docking", "PL3.CFG", "DefaultWindowPlacement", "CompressionLevel",
                                             "AutoPanOptions", "MRUProject1", "MRUProject2"};
  std::vector<std::string> out;
  for (const std::string& entry : gJournal)
    if (std::find(followed.begin(), followed.end(), entry) != followed.end() &&
        std::find(out.begin(), out.end(), entry) == out.end())
      out.push_back(entry);
  return out;
}

void StartJournal() {
  gConfigurationFile = pl3::HostPath(std::string(DirectoryBuffer(ConfigurationFolder)) + "\\PL3.CFG");
  std::filesystem::remove(gConfigurationFile);
  pl3::SetRegistryValueObserverForTests(&NoteValue);
  AddToMRUList("C:\\p\\", "one.p3p", "pcb");
  AddToMRUList("C:\\p\\", "two.p3p", "pcb");
}

TEST(ProgramRun, WithoutTheUserBranchTheMachineBranchIsCopiedAndTheStartGoesOn) {
  RegDeleteTree(HKEY_CURRENT_USER, "SOFTWARE\\Corvane");
  static std::string banner;
  static bool frameMade = false;
  banner.clear();
  frameMade = false;
  FrameReadyHook = [](HWND frame) {
    frameMade = IsWindow(frame);
    if (ProgramLog.list && SendMessageA(ProgramLog.list, LB_GETCOUNT, 0, 0) > 0) {
      const auto* line = reinterpret_cast<const ConsoleLine*>(SendMessageA(ProgramLog.list, LB_GETITEMDATA, 0, 0));
      char text[512] = "";
      if (line) FormatConsoleLineText(*line, text, sizeof text);
      banner = text;
    }
    PostMessageA(frame, WM_CLOSE, 0, 0);
  };
  char line[] = "";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), 0);
  EXPECT_TRUE(frameMade);
  HKEY key = nullptr;
  ASSERT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, "Directories", 0, KEY_READ, &key), 0);
  RegCloseKey(key);
  const std::string start = "Pelmora3 started 3.00.0001 (Built on ";
  EXPECT_EQ(banner.rfind(start, 0), 0u) << banner;
  EXPECT_EQ(banner.substr(start.size()), std::string(GetBuildDateText()) + ")");
}

TEST(Quit, SavesTheLayoutsTheSettingsAndTheRecentListInTheirOrder) {
  FrameReadyHook = [](HWND frame) {
    StartJournal();
    PostMessageA(frame, WM_CLOSE, 0, 0);
  };
  char line[] = "";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), 0);
  const std::vector<std::string> expected = {"docking", "PL3.CFG", "DefaultWindowPlacement", "CompressionLevel",
                                             "AutoPanOptions", "MRUProject1", "MRUProject2"};
  EXPECT_EQ(Followed(), expected);
  EXPECT_EQ(std::count(gJournal.begin(), gJournal.end(), "AutoPanOptions"), 1) << "saved once, by WinMain";
  EXPECT_TRUE(std::filesystem::exists(gConfigurationFile));
}

TEST(ProgramRun, TheAutoPanOptionsAndInterfaceColoursLastFromStartToQuit) {
  HKEY key = nullptr;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr),
            static_cast<LONG>(ERROR_SUCCESS));
  RegCloseKey(key);
  SetRegistryString("Initialisation\\AutoPanOptions", "0 300 40");
  static bool checked = false;
  checked = false;
  FrameReadyHook = [](HWND frame) {
    EXPECT_EQ(AutoPanOptions.enabled, 0);
    EXPECT_EQ(AutoPanOptions.initialDelay, 300);
    EXPECT_EQ(AutoPanOptions.repeatPeriod, 40);
    EXPECT_EQ(AutoPanOptions.panSize, 12) << "a missing field keeps its default";
    EXPECT_NE(GetUIColourBrush(20), nullptr);
    AutoPanOptions.panSize = 33;
    StartJournal();
    checked = true;
    PostMessageA(frame, WM_CLOSE, 0, 0);
  };
  char line[] = "";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), 0);
  ASSERT_TRUE(checked);
  char* stored = GetRegistryString("Initialisation\\AutoPanOptions");
  ASSERT_NE(stored, nullptr);
  EXPECT_STREQ(stored, "0 300 40 23 33");
  std::free(stored);
  EXPECT_EQ(std::count(gJournal.begin(), gJournal.end(), "AutoPanOptions"), 1);
  EXPECT_EQ(GetUIColourBrush(20), nullptr) << "the colours are freed at the end";
}

TEST(Quit, ADocumentThatRefusesToCloseKeepsTheFrameAndNothingIsSaved) {
  FrameReadyHook = [](HWND frame) {
    StartJournal();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DocumentProc;
    wc.lpszClassName = "RefusingDocument";
    RegisterClassA(&wc);
    MDICREATESTRUCTA mcs{"RefusingDocument", "Board", nullptr, 0, 0, 100, 80, 0, 0};
    HWND document =
        reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(document, nullptr);
    gRefuse = true;
    EXPECT_EQ(SendMessageA(frame, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_TRUE(IsWindow(document));
    EXPECT_EQ(gJournal, std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(gConfigurationFile));
    gRefusalChecked = true;
    // The document agrees the second time; the run then ends as usual.
    gRefuse = false;
    PostMessageA(frame, WM_CLOSE, 0, 0);
  };
  char line[] = "";
  EXPECT_EQ(WinMain(nullptr, nullptr, line, SW_SHOW), 0);
  EXPECT_TRUE(gRefusalChecked);
  ASSERT_FALSE(Followed().empty());
  EXPECT_EQ(Followed().front(), "docking");
}

}  // namespace

// The docking framework's layout file, noted.
int Docking_LoadLayout(const char*) { return 0; }
void Docking_SaveLayout(const char* path) {
  if (path && std::string(path).ends_with("\\dockingwindows.xml")) gJournal.push_back("docking");
}
