#include "app/configuration_options.h"

#include <cstring>

#include <initializer_list>

#include "platform/reset_hooks.h"

std::uint32_t MouseButtonWords[2][6];
std::uint32_t CustomColours[16];
std::uint32_t ColourOption10207;
std::uint32_t ColourOption10208;
std::uint32_t ColourOption10209;
std::uint32_t ColourOption10210;
std::uint32_t CutoutOutlineWidth;
std::uint8_t DrawingFlag10212;
std::uint8_t DrawingFlag10217;
std::uint32_t ColourOption10213;
std::uint8_t ColourOption10214;
std::uint32_t ColourOption10215;
std::uint32_t ColourOption10216;

std::uint32_t PickDistance;
std::uint32_t PickDistanceSquared;
char DesignatorPrefix[32];
std::uint8_t EditingOption10303;
std::uint32_t DesignatorTextOption;
std::uint32_t EditingOption10305;
float DragToleranceFactor;
std::uint32_t DeleteConfirmCount;
std::uint8_t LayerOption10308;
std::uint32_t DisplayUnitsCode;
std::uint32_t GridOption10310;
std::uint32_t DefaultItemClass;
std::uint32_t PadStackOption10312;
std::int32_t PinNamingLength10313;
std::int32_t PinNamingLength10314;
std::uint32_t EditingOption10317;
std::uint32_t CompletionInfoMask1;
std::uint32_t CompletionInfoMask2;
std::uint32_t OriginMarkOption;
std::int32_t EditingLength10328;
std::uint32_t EditingOption10329;

std::uint8_t FurtherOption10401;
std::uint32_t FurtherOption10404;
std::uint32_t FurtherOption10405;

std::int32_t ConfiguredLengths[7];
const std::uint16_t kConfiguredLengthCodes[7] = {132, 153, 154, 134, 155, 136, 161};

std::uint8_t PrintOptionsRecord[44];
std::uint8_t PrintOptions[8];
std::uint8_t PrintFlagExtra;

std::uint32_t EntropyWords[8];
std::int32_t DefaultBoardSize[2];
std::int32_t MaximumBoardSize;
std::uint8_t NewBoardFlag;
std::uint8_t DrawingWorkingFlags[2];

namespace {
constexpr std::int32_t kFiftyThou = 1828800;
constexpr std::int32_t kEightThou = 292608;
}  // namespace

void SetBuiltInConfigurationOptions() {
  const std::uint32_t left[6] = {1, 5, 4, 8, 250, 10}, right[6] = {2, 1, 2, 9, 250, 10};
  std::memcpy(MouseButtonWords[0], left, sizeof left);
  std::memcpy(MouseButtonWords[1], right, sizeof right);

  for (std::uint32_t& c : CustomColours) c = 0xFFFFFF;
  GhostOutlines = 1;
  GhostRoundEnds = 1;
  ColourOption10207 = 8;
  ColourOption10208 = 8;
  ColourOption10209 = 65535;
  ColourOption10210 = 65535;
  CutoutOutlineWidth = 320000;
  DrawingFlag10212 = 1;
  DrawingFlag10217 = 1;
  ColourOption10213 = 0;
  ColourOption10214 = 1;
  ColourOption10215 = 1;
  ColourOption10216 = 2;

  PickDistance = 40;
  PickDistanceSquared = 40 * 40;
  std::memset(DesignatorPrefix, 0, sizeof DesignatorPrefix);
  DesignatorPrefix[0] = 'R';
  EditingOption10303 = 3;
  DesignatorTextOption = 0;
  EditingOption10305 = 0;
  DragToleranceFactor = 6.0f;
  DeleteConfirmCount = 5;
  LayerOption10308 = 0;
  DisplayUnitsCode = 2;
  GridOption10310 = 6;
  DefaultItemClass = 6;
  PadStackOption10312 = 1;
  PinNamingLength10313 = -kFiftyThou;
  PinNamingLength10314 = -kFiftyThou;
  EditingOption10317 = 1;
  CompletionInfoMask1 = 0x3000000;  // the bits every read sets
  CompletionInfoMask2 = 0;
  OriginMarkOption = 3;
  FirstLocatorDefaults = {-kFiftyThou, 0, 8, pl3::kIdentityTransform};
  SecondLocatorDefaults = {kFiftyThou, 0, 4, pl3::kIdentityTransform};
  EditingLength10328 = 914400;
  EditingOption10329 = 0;

  FurtherOption10401 = 42;
  FurtherOption10404 = 3;
  FurtherOption10405 = 4;

  for (int i = 0; i < 7; ++i) ConfiguredLengths[i] = kConfiguredLengthCodes[i] == 161 ? 0 : kEightThou;

  std::memset(PrintOptionsRecord, 0, sizeof PrintOptionsRecord);
  std::memset(PrintOptions, 0, sizeof PrintOptions);
  for (int code : {10455, 10457, 10458, 10459}) PrintOptions[code - 10452] = 1;
  PrintFlagExtra = 0;

  std::memset(EntropyWords, 0, sizeof EntropyWords);
  DefaultBoardSize[0] = DefaultBoardSize[1] = 256032000;
  MaximumBoardSize = 1463040000;
  NewBoardFlag = 0;
  DrawingWorkingFlags[0] = DrawingWorkingFlags[1] = 0;
}

namespace {
const bool registered = pl3::RegisterGlobalReset(&SetBuiltInConfigurationOptions);
// The program starts with the built-in values.
const bool initialised = (SetBuiltInConfigurationOptions(), true);
}  // namespace
