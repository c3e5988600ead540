#include "app/application_globals.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/arc_directions.h"
#include "app/configuration_file.h"
#include "app/configuration_options.h"
#include "app/core_utilities.h"
#include "app/editor_support.h"
#include "app/enter_text_dialog.h"
#include "app/pending_services.h"
#include "app/recent_projects.h"
#include "app/registry_values.h"
#include "app/settings_block.h"
#include "app/start_values.h"
#include "draw/grid_files.h"
#include "draw/walk_actions.h"
#include "edit/box_walk_seams.h"
#include "edit/insertion_array.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/layer_colours.h"
#include "geometry/raster_state.h"
#include "geometry/record_view.h"
#include "objects/builtin_fonts.h"
#include "objects/info_boxes.h"
#include "objects/item_helpers.h"
#include "objects/pad_stacks.h"
#include "objects/real_size.h"
#include "objects/colours.h"
#include "objects/new_documents.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "objects/window_state.h"
#include "platform/reset_hooks.h"
#include "objects/dimensioners.h"
#include "store/node_pool.h"
#include "store/scratch_entity.h"
#include "store/tower_file.h"

CurrentWindowData DefaultWindowData;
char* ConfigurationFileName = nullptr;
char* RuleFileName = nullptr;

namespace {

constexpr int kDirectionSteps = 20;
constexpr std::uint16_t kProgramTowerCode = 211;
constexpr std::uint16_t kFontListCode = 305;

void ReplaceName(char** name, char* value) {
  std::free(*name);
  *name = value;
}

// The grid file is read (one that cannot be read gets the built-in set), and
// the default window state takes the set it gave.
void LoadGridFile() {
  LoadGridsFile(DefaultGridsFile);
  if (GridSet* copy = DuplicateGridSet(DefaultGridSet)) {
    FreeGridInfo(DefaultWindowData.Grids);
    DefaultWindowData.Grids = copy;
  }
}

char* ConfigurationFolderFile(const char* name) {
  return FormatNewString("%s\\%s", DirectoryBuffer(ConfigurationFolder), name);
}

}  // namespace

void InitialiseApplication() {
  // 1. The default window state, and the grid list it holds.
  ActiveWindowData = &DefaultWindowData;
  // New windows take the active window's zoom: without this one a first
  // board would open at one world unit a pixel.
  DefaultWindowData.Zoom = kDefaultZoom;
  InitialiseWindowData(nullptr, DefaultWindowData);
  CreateGridList();
  // 2. New boards: 7 inches square, at most 40 inches.
  DefaultBoardSize[0] = DefaultBoardSize[1] = 256032000;
  MaximumBoardSize = 1463040000;
  DefaultPCBLayers = 4;
  NewBoardFlag = 1;
  const std::uint32_t board[6] = {256032000, 256032000, 1463040000, 1463040000, DefaultPCBLayers, 1};
  std::memcpy(NewBoardDefaults, board, sizeof board);
  // 3. The store and the program's towers.
  InitTowerStore();
  DefaultWindowData.design = nullptr;
  ProgramTower = NewTopLevelEntity(kProgramTowerCode);
  FontRecordsTower = NewTopLevelEntity(kFontListCode);
  LoadBuiltInFonts(FontRecordsTower);
  GetTemporaryCopyRoot();
  // The kernel resolves indexed sizes through the active window's size table.
  pl3::SetRealSizeResolver(&ReturnRealSize);
  // The walks into symbol definitions and pad stacks.
  RegisterSymbolWalkHandlers();
  RegisterItemHelperWalkHandlers();
  RegisterDrawWalkHandlers();
  RegisterInsertionWalkHandlers();
  BoxWalkInfoBoxPass = &DrawInfoBoxesInBox;
  // The walk snaps through the grid code.
  WalkHandlers.snapXY = &SnapXY;
  // Clearing a selection frees the window's block list.
  WalkHandlers.freeWindowBlockList = &FreeWindowBlockList;
  // 4.
  pl3::BuildArcDirectionTable(kDirectionSteps);
  InitialiseArrowheadRotations();
  ResetStandardTransforms();
  // 5.
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  pl3::BuildLayerColourTable();
  pl3::CreateProgramPalette();
  CreateHighlightColours();
  // 6. The view scale of the default zoom, as an unsigned 0.32 fraction.
  pl3::g_raster.viewFactor = 0xFFFFFFFFu / kDefaultZoom;
  // 7.
  for (std::uint32_t& w : EntropyWords) w = static_cast<std::uint32_t>(std::rand());
  // 8.
  DisplayUnitsCode = 2;
  GridOption10310 = 6;
  DefaultItemClass = 6;
  // 9.
  LoadStartValues();
  FeedFilingFolders(Settings ? Settings->ModelPath3D : nullptr);
  // 10.
  DrawingWorkingFlags[0] = DrawingFlag10212;
  DrawingWorkingFlags[1] = DrawingFlag10217;
  PickDistanceSquared = PickDistance * PickDistance;
}

void LoadStartValues() {
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) != static_cast<LONG>(ERROR_SUCCESS)) {
    LoadDefaultFiles();
    return;
  }
  LoadDirectories();
  char stored[kDirectoryBufferSize];
  // The stored name is kept, but the configuration always loads from the folder.
  ReplaceName(&ConfigurationFileName, ConfigurationFolderFile("PL3.CFG"));
  if (ReadRegistryText(key, "DefaultConfigFile", stored, sizeof stored))
    ReplaceName(&ConfigurationFileName, DuplicateString(stored));
  ReplaceName(&DefaultGridsFile, ConfigurationFolderFile("DEFAULT.GRD"));
  if (ReadRegistryText(key, "DefaultGridsFile", stored, sizeof stored))
    ReplaceName(&DefaultGridsFile, DuplicateString(stored));
  LoadGridFile();
  LoadColumnWidths(key);
  LoadEditorOptions(key);
  LoadMRUList(key);
  ReplaceName(&RuleFileName, DuplicateString("DEFAULT.DRC"));
  char* path = ConfigurationFolderFile("PL3.CFG");
  LoadConfiguration(path);
  std::free(path);
  RegCloseKey(key);
}

void LoadDefaultFiles() {
  ReplaceName(&ConfigurationFileName, ConfigurationFolderFile("PL3.CFG"));
  ReplaceName(&DefaultGridsFile, ConfigurationFolderFile("DEFAULT.GRD"));
  ReplaceName(&RuleFileName, DuplicateString("DEFAULT.DRC"));
  LoadGridFile();
  LoadConfiguration(ConfigurationFileName);
}

void FreeApplicationGlobals() {
  DeleteTopLevelEntity(&ProgramTower);
  DeleteTopLevelEntity(&FontRecordsTower);
  DeleteTemporaryCopyRoot();
  // The store goes after its towers: nothing may touch it afterwards.
  ReleaseTowerStore();
  FreeGridList();
  FreeColumnWidths();
  ReplaceName(&DefaultGridsFile, nullptr);
  ReplaceName(&ConfigurationFileName, nullptr);
  ReplaceName(&RuleFileName, nullptr);
  FreeHighlightColours();
  FreeLayerColourMixTable();
  pl3::FreeProgramPalette();
  pl3::SetArcDirectionTable({});
  FreeFileRepointTable();
  FreeWindowData(DefaultWindowData);
  if (ActiveWindowData == &DefaultWindowData) ActiveWindowData = nullptr;
}

namespace {
void ResetApplicationGlobals() {
  ReplaceName(&ConfigurationFileName, nullptr);
  ReplaceName(&RuleFileName, nullptr);
  DefaultWindowData = CurrentWindowData{};
}
const bool registered = pl3::RegisterGlobalReset(&ResetApplicationGlobals);
}  // namespace
