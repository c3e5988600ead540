#include "app/configuration_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>
#include <string>

#include "app/configuration_options.h"
#include "app/core_utilities.h"
#include "app/pending_services.h"
#include "objects/colours.h"
#include "objects/design_walks.h"
#include "app/start_values.h"
#include "platform/responder.h"
#include "store/tower_file.h"

namespace {

constexpr std::uint16_t kRoot = 10000, kVersion = 10001, kColourOrder = 10002;
constexpr std::uint16_t kMouseGroup = 10100, kColourGroup = 10200, kEditingGroup = 10300;
constexpr std::uint16_t kFurtherGroup = 10400, kLengthsGroup = 10450, kPrintOptions = 10451;
constexpr std::uint16_t kLayerColours = 20030, kEmptyMaskColour = 20032;
constexpr std::uint16_t kCustomColours = 20029;
constexpr std::uint32_t kCompletionInfoBits = 0x3000000;
constexpr char kVersionText[6] = {'B', '0', '.', '0', '1', '\0'};

// How an option node is read back.
enum ReadRule : std::uint8_t {
  kKeepWhenMissing,   // a missing node leaves the option as it is
  kDefaultWhenMissing,  // a missing node sets the given value
  kNeverRead,         // written only
  kWidenedByte,       // a byte option written as 32 bits with its sign, read as its first byte
};

struct OptionNode {
  std::uint16_t code;
  std::uint16_t width;  // bytes in the file; 0 for a text with its NUL
  void* value;
  ReadRule rule;
  const void* missing;  // the value for a missing node (kDefaultWhenMissing)
};

const std::int32_t kMinusFiftyThou = -1828800, kFiftyThou = 1828800, kZero = 0, kEight = 8, kFour = 4,
                   kQuarterThou = 914400;
const std::uint8_t kByteOne = 1, kByteZero = 0;

// The colour group after its colour tables, in writing order.
const OptionNode kColourOptions[] = {
    {10201, 4, &GhostOutlines, kWidenedByte, nullptr},
    {10202, 4, &GhostRoundEnds, kWidenedByte, nullptr},
    {10207, 4, &ColourOption10207, kKeepWhenMissing, nullptr},
    {10208, 4, &ColourOption10208, kKeepWhenMissing, nullptr},
    {10209, 4, &ColourOption10209, kKeepWhenMissing, nullptr},
    {10210, 4, &ColourOption10210, kKeepWhenMissing, nullptr},
    {10211, 4, &CutoutOutlineWidth, kKeepWhenMissing, nullptr},
    {10212, 1, &DrawingFlag10212, kKeepWhenMissing, nullptr},
    {10217, 1, &DrawingFlag10217, kKeepWhenMissing, nullptr},
    {10213, 4, &ColourOption10213, kKeepWhenMissing, nullptr},
    {10214, 1, &ColourOption10214, kKeepWhenMissing, nullptr},
    {10215, 4, &ColourOption10215, kKeepWhenMissing, nullptr},
    {10216, 4, &ColourOption10216, kKeepWhenMissing, nullptr},
};

const OptionNode kEditingOptions[] = {
    {10301, 4, &PickDistance, kKeepWhenMissing, nullptr},
    {10302, 0, DesignatorPrefix, kNeverRead, nullptr},
    {10303, 1, &EditingOption10303, kKeepWhenMissing, nullptr},
    {10304, 4, &DesignatorTextOption, kKeepWhenMissing, nullptr},
    {10305, 4, &EditingOption10305, kKeepWhenMissing, nullptr},
    {10306, 4, &DragToleranceFactor, kNeverRead, nullptr},
    {10307, 4, &DeleteConfirmCount, kKeepWhenMissing, nullptr},
    {10308, 1, &LayerOption10308, kKeepWhenMissing, nullptr},
    {10309, 4, &DisplayUnitsCode, kKeepWhenMissing, nullptr},
    {10310, 4, &GridOption10310, kKeepWhenMissing, nullptr},
    {10311, 4, &DefaultItemClass, kKeepWhenMissing, nullptr},
    {10312, 4, &PadStackOption10312, kKeepWhenMissing, nullptr},
    {10313, 4, &PinNamingLength10313, kKeepWhenMissing, nullptr},
    {10314, 4, &PinNamingLength10314, kKeepWhenMissing, nullptr},
    {10317, 4, &EditingOption10317, kKeepWhenMissing, nullptr},
    {10315, 4, &CompletionInfoMask1, kKeepWhenMissing, nullptr},
    {10316, 4, &CompletionInfoMask2, kKeepWhenMissing, nullptr},
    {10319, 4, &OriginMarkOption, kKeepWhenMissing, nullptr},
    {10320, 4, &FirstLocatorDefaults.x, kDefaultWhenMissing, &kMinusFiftyThou},
    {10321, 4, &FirstLocatorDefaults.y, kDefaultWhenMissing, &kZero},
    {10322, 4, &FirstLocatorDefaults.justification, kDefaultWhenMissing, &kEight},
    {10326, 24, &FirstLocatorDefaults.rotation, kDefaultWhenMissing, &pl3::kIdentityTransform},
    {10323, 4, &SecondLocatorDefaults.x, kDefaultWhenMissing, &kFiftyThou},
    {10324, 4, &SecondLocatorDefaults.y, kDefaultWhenMissing, &kZero},
    {10325, 4, &SecondLocatorDefaults.justification, kDefaultWhenMissing, &kFour},
    {10327, 24, &SecondLocatorDefaults.rotation, kDefaultWhenMissing, &pl3::kIdentityTransform},
    {10328, 4, &EditingLength10328, kDefaultWhenMissing, &kQuarterThou},
    {10329, 4, &EditingOption10329, kDefaultWhenMissing, &kZero},
};

const OptionNode kFurtherOptions[] = {
    {10401, 1, &FurtherOption10401, kKeepWhenMissing, nullptr},
    {10404, 4, &FurtherOption10404, kKeepWhenMissing, nullptr},
    {10405, 4, &FurtherOption10405, kKeepWhenMissing, nullptr},
};

const OptionNode kLengthOptions[] = {
    {132, 4, &ConfiguredLengths[0], kKeepWhenMissing, nullptr},
    {153, 4, &ConfiguredLengths[1], kKeepWhenMissing, nullptr},
    {154, 4, &ConfiguredLengths[2], kKeepWhenMissing, nullptr},
    {134, 4, &ConfiguredLengths[3], kKeepWhenMissing, nullptr},
    {155, 4, &ConfiguredLengths[4], kKeepWhenMissing, nullptr},
    {136, 4, &ConfiguredLengths[5], kKeepWhenMissing, nullptr},
    {161, 4, &ConfiguredLengths[6], kKeepWhenMissing, nullptr},
};

// The print record's children, in writing order.
const OptionNode kPrintOptionNodes[] = {
    {10452, 1, &PrintOptions[0], kKeepWhenMissing, nullptr},
    {10458, 1, &PrintOptions[6], kDefaultWhenMissing, &kByteOne},
    {10453, 1, &PrintOptions[1], kKeepWhenMissing, nullptr},
    {10455, 1, &PrintOptions[3], kDefaultWhenMissing, &kByteOne},
    {10456, 1, &PrintOptions[4], kDefaultWhenMissing, &kByteZero},
    {10457, 1, &PrintOptions[5], kDefaultWhenMissing, &kByteOne},
    {10459, 1, &PrintOptions[7], kDefaultWhenMissing, &kByteOne},
};

// ---- Reading ------------------------------------------------------------------------

// The newest child of that code under the entity t stands on, or null.
Entity* NewestChild(const Tower* t, std::uint16_t code) {
  if (!t) return nullptr;
  Tower* child = OpenChildTower(t, code);
  Entity* e = TowerEntity(child);
  ReleaseTower(&child);
  return e;
}

// Copies an option of `size` bytes. A child whose payload is shorter than the
// option counts as missing, so no copy reads past a payload.
bool CopyOption(const Tower* group, std::uint16_t code, void* value, std::uint32_t size) {
  const Entity* e = NewestChild(group, code);
  if (!e || e->payloadSize < size) return false;
  return CopyChildData(value, size, group, code, size) == 1;
}

void ReadOptions(const Tower* group, const OptionNode* nodes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const OptionNode& n = nodes[i];
    switch (n.rule) {
      case kNeverRead: break;
      case kWidenedByte: CopyOption(group, n.code, n.value, 1); break;
      case kKeepWhenMissing: CopyOption(group, n.code, n.value, n.width); break;
      case kDefaultWhenMissing:
        if (!CopyOption(group, n.code, n.value, n.width)) std::memcpy(n.value, n.missing, n.width);
        break;
    }
  }
}
template <std::size_t N>
void ReadOptions(const Tower* group, const OptionNode (&nodes)[N]) {
  ReadOptions(group, nodes, N);
}

// A group's Tower, or null when the file has no such group.
Tower* Group(const Tower* parent, std::uint16_t code) { return parent ? OpenChildTower(parent, code) : nullptr; }

void ReadPrintOptions(const Tower* root) {
  Tower* print = Group(root, kPrintOptions);
  CopyOption(root, kPrintOptions, PrintOptionsRecord, sizeof PrintOptionsRecord);
  ReadOptions(print, kPrintOptionNodes);
  PrintFlagExtra = 0;
  ReleaseTower(&print);
}

void ReadMouseOptions(const Tower* root) {
  Tower* mouse = Group(root, kMouseGroup);
  for (int b = 0; b < 2; ++b) {
    Tower* button = Group(mouse, static_cast<std::uint16_t>(10102 + b));
    for (int w = 0; w < 6; ++w)
      CopyOption(button, static_cast<std::uint16_t>(10104 + w), &MouseButtonWords[b][w], 4);
    ReleaseTower(&button);
    // Actions the dialog no longer offers in these places become select and cancel.
    std::uint32_t& idle = MouseButtonWords[b][1];
    if (idle == 2 || idle == 4 || idle == 7) idle = 3;
    std::uint32_t& editing = MouseButtonWords[b][2];
    if (editing == 5 || editing == 6 || editing == 7) editing = 2;
  }
  ReleaseTower(&mouse);
}

void UseBuiltInColourTables() {
  FreeLayerColourMixTable();
  LayerColourMix = BuildDefaultLayerColourMix();
  SetDefaultNamedColours();
}

void ReadColourOptions(const Tower* root, bool currentColourOrder) {
  Tower* colours = Group(root, kColourGroup);
  std::uint32_t layerColours[16];
  const bool haveLayerColours = CopyOption(colours, kLayerColours, layerColours, sizeof layerColours);
  FreeLayerColourMixTable();
  LayerColourMix = haveLayerColours ? BuildLayerColourMix(layerColours) : BuildDefaultLayerColourMix();
  if (!colours || !LoadNamedColours(colours)) SetDefaultNamedColours();
  if (!currentColourOrder) ReorderOldColourGroups();
  if (!CopyOption(colours, kCustomColours, CustomColours, sizeof CustomColours))
    for (std::uint32_t& c : CustomColours) c = 0xFFFFFF;
  std::uint32_t emptyMask = 0;
  if (CopyOption(colours, kEmptyMaskColour, &emptyMask, sizeof emptyMask) && LayerColourMix) {
    LayerColourMix[0] = emptyMask;
    LayerColourMix[65535] = ~emptyMask;
  }
  ReadOptions(colours, kColourOptions);
  ReleaseTower(&colours);
}

void ReadEditingOptions(const Tower* root) {
  Tower* editing = Group(root, kEditingGroup);
  const bool haveMask = NewestChild(editing, 10315) != nullptr;
  ReadOptions(editing, kEditingOptions);
  if (haveMask) CompletionInfoMask1 |= kCompletionInfoBits;
  ReleaseTower(&editing);
}

void ReadGroup(const Tower* root, std::uint16_t code, const OptionNode* nodes, std::size_t count) {
  Tower* group = Group(root, code);
  ReadOptions(group, nodes, count);
  ReleaseTower(&group);
}

// True when the file's version node holds "B0.01" with its NUL within its payload.
bool IsCurrentVersion(const Entity* version) {
  return version->payloadSize >= sizeof kVersionText &&
         std::memcmp(EntityPayload(version), kVersionText, sizeof kVersionText) == 0;
}

bool UserAcceptsConversion(const char* path) {
  char* question = FormatNewString(
      "The configuration file \"%s\" is from a newer version of Pelmora3. Proceeding will cause this file to be "
      "converted to version %s format, possibly losing data. \n\nDo you wish to proceed?",
      path, kConfigurationVersion);
  const int answer = ShowMessageEx(FrameWindow, question, "Warning", MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION);
  std::free(question);
  return answer == IDYES;
}

void DeleteReadTree(Tower** root) {
  DeleteEntity(*root);
  ReleaseTower(root);
}

// ---- Writing ------------------------------------------------------------------------

// The store rounds payloads up to 16 bytes without clearing the rest, so the
// node is given its padding as zeros: the same options always make the same file.
Tower* InsertPadded(const Tower* parent, std::uint16_t code, std::uint32_t size, const void* data) {
  std::vector<std::uint8_t> padded(RoundUp16(size), 0);
  std::memcpy(padded.data(), data, size);
  return InsertEntity(parent, static_cast<std::uint32_t>(padded.size()), code, padded.data());
}

void AddNode(const Tower* parent, std::uint16_t code, std::uint32_t size, const void* data) {
  Tower* t = InsertPadded(parent, code, size, data);
  ReleaseTower(&t);
}

void WriteOptions(const Tower* group, const OptionNode* nodes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const OptionNode& n = nodes[i];
    if (n.rule == kWidenedByte) {
      const std::int32_t widened = *static_cast<const std::int8_t*>(n.value);
      AddNode(group, n.code, sizeof widened, &widened);
    } else if (n.width == 0) {
      const char* text = static_cast<const char*>(n.value);
      AddNode(group, n.code, static_cast<std::uint32_t>(std::strlen(text) + 1), text);
    } else {
      AddNode(group, n.code, n.width, n.value);
    }
  }
}
template <std::size_t N>
void WriteOptions(const Tower* group, const OptionNode (&nodes)[N]) {
  WriteOptions(group, nodes, N);
}

Tower* AddGroup(const Tower* parent, std::uint16_t code, std::uint32_t size = 0, const void* data = nullptr) {
  return data ? InsertPadded(parent, code, size, data) : InsertEmptyEntity(parent, code);
}

void WriteColourGroup(const Tower* root) {
  Tower* colours = AddGroup(root, kColourGroup);
  if (LayerColourMix) {
    std::uint32_t layerColours[16];
    GetLayerColours(LayerColourMix, layerColours);
    AddNode(colours, kLayerColours, sizeof layerColours, layerColours);
  }
  SaveNamedColours(colours);
  if (LayerColourMix) AddNode(colours, kEmptyMaskColour, 4, &LayerColourMix[0]);
  AddNode(colours, kCustomColours, sizeof CustomColours, CustomColours);
  WriteOptions(colours, kColourOptions);
  ReleaseTower(&colours);
}

Tower* BuildConfigurationTree() {
  Tower* root = NewTower(0);
  LastLevel(root).typeCode = kRoot;
  InsertAtLastLevel(root, 0);
  const std::uint32_t one = 1;
  AddNode(root, kColourOrder, sizeof one, &one);
  AddNode(root, kVersion, sizeof kVersionText, kVersionText);

  Tower* print = AddGroup(root, kPrintOptions, sizeof PrintOptionsRecord, PrintOptionsRecord);
  WriteOptions(print, kPrintOptionNodes);
  ReleaseTower(&print);

  Tower* mouse = AddGroup(root, kMouseGroup);
  for (int b = 0; b < 2; ++b) {
    Tower* button = AddGroup(mouse, static_cast<std::uint16_t>(10102 + b));
    for (int w = 0; w < 6; ++w) AddNode(button, static_cast<std::uint16_t>(10104 + w), 4, &MouseButtonWords[b][w]);
    ReleaseTower(&button);
  }
  ReleaseTower(&mouse);

  WriteColourGroup(root);
  for (auto [code, nodes, count] : {std::tuple{kEditingGroup, kEditingOptions, std::size(kEditingOptions)},
                                    std::tuple{kFurtherGroup, kFurtherOptions, std::size(kFurtherOptions)},
                                    std::tuple{kLengthsGroup, kLengthOptions, std::size(kLengthOptions)}}) {
    Tower* group = AddGroup(root, code);
    WriteOptions(group, nodes, count);
    ReleaseTower(&group);
  }
  return root;
}

}  // namespace

int LoadConfiguration(const char* path) {
  Tower* root = NewTower(0);
  const bool loaded = path && LoadDOSFile(path, root);
  if (!loaded || TowerEntity(root)->typeCode != kRoot) {  // unreadable, or another kind of tower file
    if (loaded) DeleteEntity(root);
    ReleaseTower(&root);
    char* text = FormatNewString("Unable to load configuration file \"%s\". Using defaults", path ? path : "");
    ShowMessage(FrameWindow, text, "Error");
    std::free(text);
    UseBuiltInColourTables();
    return 0;
  }
  const bool currentColourOrder = NewestChild(root, kColourOrder) != nullptr;
  const Entity* version = NewestChild(root, kVersion);
  if (version && !IsCurrentVersion(version) && !UserAcceptsConversion(path)) {
    DeleteReadTree(&root);
    UseBuiltInColourTables();
    return 0;
  }
  ReadPrintOptions(root);
  ReadMouseOptions(root);
  ReadColourOptions(root, currentColourOrder);
  ReadEditingOptions(root);
  ReadGroup(root, kFurtherGroup, kFurtherOptions, std::size(kFurtherOptions));
  ReadGroup(root, kLengthsGroup, kLengthOptions, std::size(kLengthOptions));
  DeleteReadTree(&root);
  return 1;
}

int SaveConfiguration(const char* name) {
  Tower* root = BuildConfigurationTree();
  char* path = FormatNewString("%s\\%s", DirectoryBuffer(ConfigurationFolder), name ? name : "");
  const int result = SaveDOSFile(root, path);
  std::free(path);
  if (!result) ShowMessage(FrameWindow, "Unable to save configuration data", "Error");
  SaveEditorOptions();
  DeleteEntity(root);
  ReleaseTower(&root);
  return result;
}
