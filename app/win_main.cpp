#include "app/win_main.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/accelerator_edit.h"
#include "app/pcb_window_seams.h"
#include "app/grid_control.h"
#include "app/builtin_commands.h"
#include "app/command_table.h"
#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "app/owner_drawn_menus.h"
#include "app/recent_projects.h"
#include "app/registry_values.h"
#include "app/settings_block.h"
#include "app/start_values.h"
#include "app/startup_seams.h"
#include "app/ui_seams.h"
#include "draw/auto_pan.h"
#include "draw/image_cache.h"
#include "draw/ui_colours.h"
#include "objects/colours.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "platform/dynlib.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "platform/resources.h"
#include "platform/user.h"
#include "scripting/script_list.h"
#include "store/container_store.h"
#include "store/filing_seams.h"
#include "store/filing_settings.h"
#include "store/document_filing.h"

void (*FrameReadyHook)(HWND frame) = nullptr;
char* CommandLineCopy = nullptr;
OSVERSIONINFOEX OSVersionInfo{};
HMODULE RichEditModule = nullptr;
HFONT SansSerifFont = nullptr;
HWND SplashWindow = nullptr;
HWND ProjectWindow = nullptr;
void* SpiceAttributes = nullptr;
DockingPane* FramePanes[11] = {};

namespace {

constexpr char kCorruptRegistry[] = "The Pelmora3 registry settings are corrupt, please reinstall the software.";
constexpr char kProgramCaption[] = "Pelmora3";

void ResetStart() {
  CommandLineCopy = nullptr;
  RichEditModule = nullptr;
  SansSerifFont = nullptr;
  SplashWindow = ProjectWindow = nullptr;
  SpiceAttributes = nullptr;
  for (DockingPane*& p : FramePanes) p = nullptr;
  FrameReadyHook = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetStart);

void Box(const char* text) { MessageBox(nullptr, text, "Error", MB_OK); }

bool OpensForReading(const char* subkey) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != static_cast<LONG>(ERROR_SUCCESS))
    return false;
  RegCloseKey(key);
  return true;
}

// 8. The user's key, copied from the machine's when missing.
bool CheckRegistry() {
  if (!OpensForReading(nullptr)) {
    CopyRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane", HKEY_CURRENT_USER);
    if (!OpensForReading(nullptr)) {
      MessageBox(nullptr, kCorruptRegistry, kProgramCaption, MB_OK);
      return false;
    }
  } else if (!OpensForReading("Directories")) {
    CopyRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane", HKEY_CURRENT_USER);
  }
  return true;
}

BOOL CollectIconGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* ids = reinterpret_cast<std::vector<unsigned>*>(param);
  const auto value = reinterpret_cast<std::uintptr_t>(name);
  ids->push_back(value < 0x10000 ? static_cast<unsigned>(value) : 0u);
  return TRUE;
}

std::vector<unsigned> IconGroups() {
  std::vector<unsigned> ids;
  EnumResourceNamesA(nullptr, RT_GROUP_ICON, &CollectIconGroup, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

// 12. Another instance: the path goes to it, it comes to the front, this one ends.
bool HandOverToRunningInstance(int documentKind) {
  HWND running = FindWindowA(kFrameClassName, nullptr);
  if (!running) return false;
  if (documentKind == 3) {
    MessageBox(running, "You need to close Pelmora3 before running an update file.", kProgramCaption, MB_OK);
  } else if (CommandLineCopy && *CommandLineCopy) {
    COPYDATASTRUCT data{kHandOverCode, static_cast<DWORD>(std::strlen(CommandLineCopy) + 1), CommandLineCopy};
    SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  }
  SetForegroundWindow(running);
  return true;
}

HWND NewPaneClient(HWND frame, const char* className) {
  return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
                         nullptr, ProgramInstance, nullptr);
}

// 27, 28. The panes, and the default arrangement when no layout file can be read.
void CreatePanes(HWND frame, const char* layoutPath) {
  Docking_RegisterClasses();
  Docking_CreateChannelBars(frame);
  DockingPane* document = Docking_CreateDocumentArea(frame, MDIClientWindow);
  FramePanes[2] = Docking_CreateGenericPane(frame, 2, "Workspace", ProjectWindow);
  FramePanes[0] = Docking_CreateGenericPane(frame, 0, "System Console", SystemConsoleWindow);
  FramePanes[1] = Docking_CreateGenericPane(frame, 1, "Diagram Console", DiagramConsoleWindow);
  FramePanes[3] = Docking_CreateGenericPane(frame, 3, "Component Bin", NewPaneClient(frame, "COMPONENTBINCLASS"));
  FramePanes[4] = Docking_CreateGenericPane(frame, 4, "Layers", NewPaneClient(frame, "LAYERCONTROLCLASS"));
  FramePanes[5] = Docking_CreateGenericPane(frame, 5, "Grids", NewPaneClient(frame, "GRIDCONTROLCLASS"));
  FramePanes[6] = Docking_CreateGenericPane(frame, 6, "Info", NewPaneClient(frame, "INFOCONTROLCLASS"));
  FramePanes[8] = Docking_CreateGenericPane(frame, 8, "Spice Console", NewPaneClient(frame, "SPICECONSOLECLASS"));
  FramePanes[10] = Docking_CreateGenericPane(frame, 10, "Tools", NewPaneClient(frame, "TOOLSPANECLASS"));
  if (Docking_LoadLayout(layoutPath)) return;
  DockingPane* consoles = Docking_CreateTabbedPane(frame);
  Docking_AddToTabGroup(consoles, FramePanes[0]);
  Docking_AddToTabGroup(consoles, FramePanes[1]);
  DockingPane* s1 = Docking_CreateSplitter(frame, 4, 150, document, consoles, 1);
  DockingPane* s2 = Docking_CreateSplitter(frame, 2, 200, FramePanes[2], s1, 1);
  DockingPane* bin = Docking_CreateTabbedPane(frame);
  Docking_AddToTabGroup(bin, FramePanes[3]);
  Docking_AddToTabGroup(bin, FramePanes[4]);
  Docking_AddToTabGroup(bin, FramePanes[5]);
  DockingPane* s3 = Docking_CreateSplitter(frame, 1, 230, FramePanes[6], bin, 1);
  DockingRoot = Docking_CreateSplitter(frame, 8, 260, s2, s3, 1);
  Docking_SetRoot(DockingRoot);
}

// 31. The command-line document, or the default workspace.
void OpenCommandLineDocument(HWND frame, int documentKind) {
  if (documentKind == 1 || documentKind == 2) {
    SendMessageA(frame, kOpenContainerMessage, reinterpret_cast<WPARAM>(CommandLineCopy), 0);
    return;
  }
  ClearProjectTree();
  char path[2200];
  std::snprintf(path, sizeof path, "%s\\default.p3w", Settings && Settings->InstallPath ? Settings->InstallPath : "");
  LoadWorkspace(path);
}

int RunMessageLoop() {
  MSG msg{};
  BOOL got;
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (got < 0) break;
    if (MDIClientWindow && TranslateMDISysAccel(MDIClientWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // A loop that ran dry on the headless backend leaves the frame standing:
  // it is closed as the user would, and destroyed if a document refuses.
  if (FrameWindow && IsWindow(FrameWindow)) {
    SendMessageA(FrameWindow, WM_CLOSE, 0, 0);
    if (FrameWindow && IsWindow(FrameWindow)) DestroyWindow(FrameWindow);
    return 0;
  }
  return static_cast<int>(msg.wParam);
}

void Shutdown(HINSTANCE instance) {
  // A run ended before the splash's timer fired leaves it standing.
  if (SplashWindow && IsWindow(SplashWindow)) DestroyWindow(SplashWindow);
  SplashWindow = nullptr;
  FreeCommandTables();
  FreeScriptList();
  FreeScriptMenus();
  if (SansSerifFont) DeleteObject(SansSerifFont);
  SansSerifFont = nullptr;
  SaveSettings(Settings);
  SaveAutoPanOptions();
  FreeToolbars();
  Docking_Shutdown();
  DockingRoot = nullptr;
  DestroyUIColours();
  DestroyImageCache(ProgramIconCache);
  ProgramIconCache = nullptr;
  if (RichEditModule) FreeLibrary(RichEditModule);
  RichEditModule = nullptr;
  UnregisterClassA(kFrameClassName, instance);
  UnregisterClassA("PCB_CHILD", instance);
  UnregisterPendingWindowClasses(instance);
  UnregisterClassA("CONSOLECLASS", instance);
  UnregisterClassA("ACCELERATOREDIT", instance);
  SaveMRUList();
  FreePlugins();
  FreeSpiceAttributes(SpiceAttributes);
  SpiceAttributes = nullptr;
  ShutdownFilingSystem();
  std::free(CommandLineCopy);
  CommandLineCopy = nullptr;
  FreeSettings(Settings);
  Settings = nullptr;
  CoUninitialize();
}

}  // namespace

char* StripQuotes(const char* text) {
  if (!text) return nullptr;
  const std::size_t n = std::strlen(text);
  auto* copy = static_cast<char*>(std::malloc(n + 1));
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (text[i] != '"') copy[k++] = text[i];
  copy[k] = '\0';
  return copy;
}

void CopyRegistryKey(HKEY sourceRoot, const char* subkey, HKEY destinationRoot) {
  HKEY source = nullptr, destination = nullptr;
  if (RegOpenKeyEx(sourceRoot, subkey, 0, KEY_READ, &source) != ERROR_SUCCESS) {
    Box("Error opening source key");
    return;
  }
  if (RegCreateKeyEx(destinationRoot, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                     &destination, nullptr) != ERROR_SUCCESS) {
    Box("Error creating destination key");
    RegCloseKey(source);
    return;
  }
  DWORD subKeys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKey(source, nullptr, nullptr, nullptr, &subKeys, &longestKey, nullptr, &values, &longestName,
                      &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    Box("Error querying source key");
  } else {
    std::vector<char> name(longestName + longestKey + 2);
    std::vector<BYTE> data(longestData + 1);
    bool ok = true;
    for (DWORD i = 0; ok; ++i) {
      DWORD nameLength = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
      const LSTATUS r = RegEnumValue(source, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS) {
        Box("Error enumerating values");
        ok = false;
      } else if (RegSetValueEx(destination, name.data(), 0, type, data.data(), dataSize) != ERROR_SUCCESS) {
        Box("Error creating destination value");
        ok = false;
      }
    }
    for (DWORD i = 0; ok; ++i) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      const LSTATUS r = RegEnumKeyEx(source, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS) {
        Box("Error enumerating sub keys");
        break;
      }
      CopyRegistryKey(source, name.data(), destination);
    }
  }
  RegCloseKey(source);
  RegCloseKey(destination);
}

int GetIconGroupIndex(unsigned id) {
  const std::vector<unsigned> ids = IconGroups();
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) return static_cast<int>(i);
  return -1;
}

void RegisterShellFileTypes() {
  char install[2048] = "";
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) == static_cast<LONG>(ERROR_SUCCESS))
    RegCloseKey(key);
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Directories", 0, KEY_READ, &key) == static_cast<LONG>(ERROR_SUCCESS)) {
    ReadRegistryText(key, "InstallPath", install, sizeof install);
    RegCloseKey(key);
  }
  const std::string backups = std::string(install) + "\\Auto Backups";
  if (GetFileAttributes(backups.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectory(backups.c_str(), nullptr);
  struct FileType {
    const char* name;
    unsigned icon;
    const char* extension;
  };
  const FileType types[] = {{"PL3ProjectFile", 1067, ".p3p"}, {"PL3LibraryFile", 1068, ".p3l"}};
  auto setDefault = [](HKEY k, const std::string& value) {
    RegSetValueEx(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                  static_cast<DWORD>(value.size() + 1));
  };
  for (const FileType& t : types) {
    HKEY typeKey = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, t.name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &typeKey,
                       nullptr) != ERROR_SUCCESS)
      continue;
    HKEY icon = nullptr;
    if (RegCreateKeyEx(typeKey, "DefaultIcon", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &icon,
                       nullptr) == ERROR_SUCCESS) {
      char text[2200];
      std::snprintf(text, sizeof text, "%s\\pl3.exe,%d", install, GetIconGroupIndex(t.icon));
      setDefault(icon, text);
      RegCloseKey(icon);
    }
    HKEY command = nullptr;
    if (RegCreateKeyEx(typeKey, "Shell\\Open\\Command", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                       &command, nullptr) == ERROR_SUCCESS) {
      setDefault(command, std::string(install) + "\\pl3.exe %1");
      RegCloseKey(command);
    }
    RegCloseKey(typeKey);
    HKEY extension = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, t.extension, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                       &extension, nullptr) == ERROR_SUCCESS) {
      setDefault(extension, t.name);
      RegCloseKey(extension);
    }
  }
}

int CommandLineDocumentKind(const char* path) {
  if (!path) return 0;
  const char* slash = std::strrchr(path, '\\');
  const char* dot = std::strrchr(slash ? slash : path, '.');
  if (!dot) return 0;
  if (strcasecmp(dot, ".p3p") == 0) return 1;
  if (strcasecmp(dot, ".p3l") == 0) return 2;
  if (strcasecmp(dot, ".p3u") == 0) return 3;
  return 0;
}

namespace {

// A start that ends before the frame exists frees the menu images it loaded.
void DropProgramIconCache() {
  DestroyImageCache(ProgramIconCache);
  ProgramIconCache = nullptr;
}

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  // 1 to 7.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InitCommonControls();
  ProgramIconCache = NewImageCache();
  for (unsigned id : IconGroups())
    if (id) AddIconToImageCache(ProgramIconCache, id, 16, 16);
  PrepareImageCache(ProgramIconCache);
  ThemeActive = 0;
  OSVersionInfo.dwOSVersionInfoSize = sizeof OSVersionInfo;
  GetVersionExA(&OSVersionInfo);
  SetUnhandledExceptionFilter(&CrashExceptionFilter);
  RichEditModule = LoadLibrary("riched20.dll");
  CommandLineCopy = StripQuotes(commandLine);
  // 8.
  if (!CheckRegistry()) {
    std::free(CommandLineCopy);
    CommandLineCopy = nullptr;
    DropProgramIconCache();
    return -1;
  }
  // 9 to 11.
  Settings = ReadSettings();
  ApplyCompressionSettings(Settings);
  // The folders are read now: the key bindings file lies in the configuration folder.
  LoadDirectories();
  BuildScriptList();
  RegisterCommands();
  // 12.
  const int documentKind = CommandLineDocumentKind(CommandLineCopy);
  if (HandOverToRunningInstance(documentKind)) {
    std::free(CommandLineCopy);
    CommandLineCopy = nullptr;
    FreeSettings(Settings);
    Settings = nullptr;
    DropProgramIconCache();
    return 0;
  }
  // 13 to 16.
  RegisterShellFileTypes();
  if (!NetFS_IsInitialised()) NetFS_Initialise();
  InitUIColours();
  ClearMRUList();
  ProgramInstance = instance;
  // 17.
  if (!RegisterFrameClass(instance) || !RegisterPCBWindowClass(instance) || !RegisterPendingWindowClasses(instance) ||
      !RegisterConsoleClass(instance) ||
      !RegisterAcceleratorEditClass(instance) || !RegisterGridControl(instance))
    return 0;
  // 18, 19.
  SplashWindow = CreateDialogParamA(instance, "ABOUTDLG", nullptr, &SplashDlgProc, 0);
  if (SplashWindow) {
    ShowWindow(SplashWindow, SW_SHOW);
    SetWindowPos(SplashWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  LoadPlugins();
  // 20 to 22.
  SetFrameDestroyer(&DestroyWindow);
  HWND frame = CreateFrameWindow(instance, nullptr);
  if (!frame) {
    MessageBox(nullptr, "Unable to create Frame Window", "WinMain Error", MB_OK | MB_ICONSTOP);
    return 0;
  }
  AttachTabBar(MDIClientWindow);
  if (!RestoreWindowPlacement()) ShowWindow(frame, showCommand);
  // 23, 24.
  CommandBars_CreateTooltip(frame);
  CreateToolbars(frame);
  ProjectWindow = CreateProjectWindow();
  CreateConsoles();
  LoadAutoPanOptions();
  if (!CreateFrameStatusBar(frame)) {
    MessageBox(frame, "Unable to create Status Bar", "WinMain Error", MB_OK | MB_ICONSTOP);
    return 0;
  }
  // 25, 26.
  ChangeMenu(0);
  ShowWindow(StatusBarWindow, SW_SHOW);
  if (SplashWindow) SetTimer(SplashWindow, kAboutTimer, kSplashMs, nullptr);
  SansSerifFont = CreateFontA(0, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 3, 0, "MS Sans Serif");
  char layoutPath[2200];
  std::snprintf(layoutPath, sizeof layoutPath, "%s\\dockingwindows.xml",
                Settings && Settings->ConfigurationPath ? Settings->ConfigurationPath : "");
  // 27 to 29.
  CreatePanes(frame, layoutPath);
  RECT client{};
  GetClientRect(frame, &client);
  Docking_InitLayout(&client);
  SendMessageA(frame, WM_SIZE, 0, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  // 30 to 32.
  LoadSpiceLibrary();
  LoadLastDirectories(Settings ? Settings->ProjectPath : nullptr, Settings ? Settings->LibraryPath : nullptr);
  ReadAutoBackupSettings();
  OpenCommandLineDocument(frame, documentKind);
  char spice[2200];
  std::snprintf(spice, sizeof spice, "%s\\spiceattributes.xml", Settings && Settings->SpiceFolder ? Settings->SpiceFolder : "");
  SpiceAttributes = ReadSpiceAttributes(spice);
  if (FrameReadyHook) FrameReadyHook(frame);
  // 33.
  const int exitCode = RunMessageLoop();
  Shutdown(instance);
  return exitCode;
}
