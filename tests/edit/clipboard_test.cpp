#include "edit/clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/startup_seams.h"
#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/edit/clipboard_fakes.h"
#include "tests/edit/engine_fakes.h"
#include "tests/store/tower_test_support.h"

extern Tower* ProgramTower;

namespace pl3 {
static bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
}  // namespace pl3

namespace {

constexpr std::uint16_t kDefinition = 25;
constexpr std::uint16_t kPlacedSymbol = 30;
constexpr std::uint16_t kPlacedPin = 33;
constexpr std::uint16_t kPinLink = 11002;
constexpr std::uint8_t kTrackLayer = 1;

SizeEntry Entry(const char* name, std::uint8_t unit, std::int32_t v1, std::int32_t v2 = 0) {
  SizeEntry e{};
  e.index = kNewSizeEntry;
  e.flags = kSizeEntryOn;
  e.unit = unit;
  e.value1 = v1;
  e.value2 = v2;
  SetSizeEntryName(e, name);
  return e;
}

LinePayload Track(std::int32_t x1, std::uint32_t sizeIndex = 0, std::uint16_t sizeFlags = 0) {
  LinePayload t{};
  t.head.layer = kTrackLayer;
  t.head.sizeFlags = sizeFlags;
  t.head.sizeIndex = sizeIndex;
  t.head.transform = pl3::kIdentityTransform;
  t.width = 50;
  t.x1 = x1;
  t.y1 = 0;
  t.x2 = x1 + 1000;
  t.y2 = 0;
  return t;
}

template <typename T>
Tower* Put(const Tower* parent, std::uint16_t code, const T& payload) {
  return InsertEntity(parent, sizeof payload, code, &payload);
}

void Add(const Tower* parent, std::uint16_t code, const void* data, std::uint32_t size) {
  Tower* t = InsertEntity(parent, size, code, data);
  ReleaseTower(&t);
}

// The codes of the clipboard copy's children, in tower order.
std::vector<int> ClipboardCodes() {
  std::vector<int> codes;
  Tower* clip = FindClipboardCopy();
  Tower* child = clip ? GetAllChildrenTower(clip) : nullptr;
  while (child && FindNextEntity(child)) codes.push_back(LastLevel(child).typeCode);
  ReleaseTower(&child);
  ReleaseTower(&clip);
  return codes;
}

// The first x of the track stored in the clipboard, -1 without one.
std::int32_t ClipboardTrackX() {
  Tower* clip = FindClipboardCopy();
  const std::uint8_t* p = clip ? ChildPayloadOfAtLeast(clip, Type_Track, sizeof(LinePayload)) : nullptr;
  const std::int32_t x = p ? ReadI32(p, offsetof(LinePayload, x1)) : -1;
  ReleaseTower(&clip);
  return x;
}

int CountChildren(const Tower* t, std::uint16_t code) {
  int n = 0;
  Tower* child = GetChildTower(t, code);
  while (child && FindNextEntity(child)) ++n;
  ReleaseTower(&child);
  return n;
}

class ClipboardTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    ProgramTower = towertest::NewTopLevelEntity(211);
    pcb_ = towertest::NewTopLevelEntity(Type_PCB);
    window_ = MakeWindow(kEditorPcb, pcb_);
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    for (auto& w : windows_) {
      ClearSelection(*w);
      FreeSizeTable(w->sizeTable);
    }
    if (ActiveWindowData && ActiveWindowData != &DefaultBlock()) ActiveWindowData = nullptr;
    ReleaseTower(&pcb_);
    ReleaseTower(&ProgramTower);
  }

  static CurrentWindowData& DefaultBlock() {
    static CurrentWindowData block;
    return block;
  }

  CurrentWindowData* MakeWindow(std::uint32_t kind, Tower* design) {
    windows_.push_back(std::make_unique<CurrentWindowData>(kind, design));
    CurrentWindowData* w = windows_.back().get();
    w->sizeTable = NewSizeTable().release();
    w->layerTable.layers[kTrackLayer].flags |= kLayerPresent;
    ActiveWindowData = w;
    return w;
  }

  static void ClearSelection(CurrentWindowData& w) {
    for (SelectionInfo* r = w.SelectionList; r;) {
      SelectionInfo* next = r->next;
      ReleaseTower(&r->workingCopy);
      ReleaseTower(&r->original);
      ReleaseTower(&r->copyInstanceInfo);
      std::free(r);
      r = next;
    }
    w.SelectionList = nullptr;
    std::free(w.OriginalBlockOrigin);
    w.OriginalBlockOrigin = nullptr;
  }

  // Selects an item of the window's design as a primary record (the item
  // itself stands for the working copy).
  static void Select(CurrentWindowData& w, Tower* item, bool primary = true) {
    auto* r = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));
    r->next = w.SelectionList;
    if (w.SelectionList) w.SelectionList->prev = r;
    r->workingCopy = item;
    r->flags = primary ? kSelectionPrimary : 0;
    TowerEntity(item)->flags |= kEntitySelected | kEntitySelectedPart | kEntityHighlighted;
    w.SelectionList = r;
  }

  void SelectTrack(std::int32_t x1, std::uint32_t sizeIndex = 0, std::uint16_t sizeFlags = 0) {
    Select(*window_, Put(pcb_, Type_Track, Track(x1, sizeIndex, sizeFlags)));
  }
  void SelectVia() {
    std::uint8_t via[68] = {};
    Select(*window_, InsertEntity(pcb_, sizeof via, Type_Via, via));
  }

  Tower* pcb_ = nullptr;
  CurrentWindowData* window_ = nullptr;
  std::vector<std::unique_ptr<CurrentWindowData>> windows_;
};

TEST_F(ClipboardTest, CopyableTypesAndLocatorKinds) {
  for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 19, 28, 29, 30, 35, 37, 38, 39, 41, 45, 46, 47, 49})
    EXPECT_EQ(IsCopyableItem(static_cast<std::uint16_t>(type), nullptr, 0), 1) << type;
  for (int type : {11, 17, 18, 21, 22, 23, 24, 26, 34, 36, 40, 48, 106, 141})
    EXPECT_EQ(IsCopyableItem(static_cast<std::uint16_t>(type), nullptr, 0), 0) << type;
  LocatorPayload locator{};
  for (std::uint16_t kind = 0; kind < 18; ++kind) {
    locator.kind = kind;
    const bool copyable = kind == 1 || kind == 3 || kind == 4 || kind == 6 || kind == 9 || kind == 10 ||
                          kind == 13 || kind == 14 || kind == 15;
    EXPECT_EQ(IsCopyableItem(Type_AttributeLocator, reinterpret_cast<const std::uint8_t*>(&locator), sizeof locator),
              copyable ? 1 : 0)
        << kind;
  }
  EXPECT_EQ(IsCopyableItem(Type_AttributeLocator, nullptr, 0), 0);
}

TEST_F(ClipboardTest, CopyStoresTheItemsOriginAndSizesWithStateBitsCleared) {
  window_->sizeTable->lists[SizeKind_Lines].entries.push_back(Entry("Thin Line", 0, 100));
  window_->BlockOrigin = {1000, 2000};
  SelectTrack(7);
  EXPECT_EQ(ProgramClipboardRootType(), 0);  // the frame greys Paste
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  EXPECT_EQ(ProgramClipboardRootType(), Type_PCB);
  EXPECT_EQ(ClipboardCodes(), (std::vector<int>{Type_Track, Type_Origin, Type_SizeTableRecord}));
  Tower* clip = FindClipboardCopy();
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(ReadU16(TowerPayload(clip), 4), Type_PCB);
  Tower* track = GetChildTower(clip, Type_Track);
  ASSERT_NE(FindNextEntity(track), nullptr);
  EXPECT_EQ(TowerEntity(track)->flags & (kEntitySelected | kEntitySelectedPart | kEntityHighlighted), 0);
  const std::uint8_t* origin = ChildPayloadOfAtLeast(clip, Type_Origin, 12);
  ASSERT_NE(origin, nullptr);
  EXPECT_EQ(ReadI32(origin, 0), 1000);
  EXPECT_EQ(ReadI32(origin, 4), 2000);
  const char* sizes = reinterpret_cast<const char*>(ChildPayloadOfAtLeast(clip, Type_SizeTableRecord, 1));
  ASSERT_NE(sizes, nullptr);
  EXPECT_NE(std::strstr(sizes, "Thin Line"), nullptr);
  ReleaseTower(&track);
  ReleaseTower(&clip);
  EXPECT_EQ(enginefakes::CallsStartingWith("change menu"), (std::vector<std::string>{"change menu 1"}));
}

TEST_F(ClipboardTest, ATrackAndAViaAskAndOkStoresTheTrackWhileCancelKeepsTheOldCopy) {
  struct Case {
    int answer;
    int result;
    std::int32_t storedX;
  };
  for (const Case& c : {Case{IDOK, 1, 222}, Case{IDCANCEL, 0, 111}}) {
    ClearSelection(*window_);
    SelectTrack(111);
    ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
    ClearSelection(*window_);
    SelectTrack(222);
    SelectVia();
    pl3::ClearResponderRecords();
    pl3::PushButtonAnswer(c.answer);
    EXPECT_EQ(CopySelectionToClipboard(nullptr), c.result);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text,
              "Only graphical primitives can be copied to the clipboard. Ignore other object(s) and continue?");
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Copy Selection");
    EXPECT_EQ(ClipboardTrackX(), c.storedX);
    const std::vector<int> codes = ClipboardCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Type_Via), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Type_Track), 1);
  }
  EXPECT_EQ(CountChildren(ProgramTower, Type_ClipboardCopy), 1);
}

TEST_F(ClipboardTest, AViaAloneIsRefusedAndTheOldCopyStays) {
  SelectTrack(111);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  ClearSelection(*window_);
  SelectVia();
  pl3::ClearResponderRecords();
  EXPECT_EQ(CopySelectionToClipboard(nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Only graphical primitives can be copied to the clipboard.");
  EXPECT_EQ(ClipboardTrackX(), 111);
}

TEST_F(ClipboardTest, AnEmptySelectionBeepsAndStoresAnEmptyCopy) {
  SelectTrack(111);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  ClearSelection(*window_);
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(CopySelectionToClipboard(nullptr), 1);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(ClipboardCodes(), (std::vector<int>{Type_Origin, Type_SizeTableRecord}));
}

TEST_F(ClipboardTest, PasteWithoutACopyBeeps) {
  const int beeps = pl3::BeepCount();
  PasteFromClipboard(nullptr);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window_->SelectionList, nullptr);
}

TEST_F(ClipboardTest, APcbCopyIsRefusedByAShapeEditor) {
  SelectTrack(111);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  Tower* shape = towertest::NewTopLevelEntity(Type_ShapeDefinition);
  CurrentWindowData* shapeWindow = MakeWindow(kEditorShape, shape);
  pl3::ClearResponderRecords();
  PasteFromClipboard(nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You cannot copy from the PCB editor to the shape editor.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Copy Selection");
  EXPECT_EQ(shapeWindow->SelectionList, nullptr);
  EXPECT_EQ(shapeWindow->EditMode, 0);
  EXPECT_EQ(CountChildren(shape, Type_Track), 0);
  ReleaseTower(&shape);
}

TEST_F(ClipboardTest, EditorNames) {
  EXPECT_STREQ(ClipboardEditorName(25), "the schematic symbol editor");
  EXPECT_STREQ(ClipboardEditorName(102), "the PCB editor");
  EXPECT_STREQ(ClipboardEditorName(104), "the schematic editor");
  EXPECT_STREQ(ClipboardEditorName(105), "the symbol editor");
  EXPECT_STREQ(ClipboardEditorName(109), "the shape editor");
  EXPECT_STREQ(ClipboardEditorName(115), "the pad stack editor");
  EXPECT_STREQ(ClipboardEditorName(103), "[NULL]");
}

TEST_F(ClipboardTest, PasteTwiceHangsTheBlockOnTheCursorEachTime) {
  window_->BlockOrigin = {1000, 2000};
  SelectTrack(111);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  Tower* other = towertest::NewTopLevelEntity(Type_PCB);
  CurrentWindowData* w = MakeWindow(kEditorPcb, other);
  w->Cursor = {10, 20};
  clipboardfakes::handle = {5000, 6000};

  PasteFromClipboard(nullptr);
  ASSERT_NE(w->SelectionList, nullptr);
  const SelectionInfo& r = *w->SelectionList;
  EXPECT_EQ(r.next, nullptr);
  EXPECT_EQ(r.flags & kSelectionPrimary, kSelectionPrimary);
  EXPECT_EQ(r.original, nullptr);
  EXPECT_EQ(r.grabPoint, (pl3::Point{10 + 5000 - 1000, 20 + 6000 - 2000}));
  EXPECT_EQ(r.currentPoint, r.grabPoint);
  EXPECT_EQ(TowerEntity(r.workingCopy)->flags & 0x24, 0x24);
  EXPECT_EQ(ReadI32(TowerPayload(r.workingCopy), offsetof(LinePayload, x1)), 111);
  EXPECT_EQ(w->EditMode, Mode_EditSelection);
  ASSERT_NE(w->OriginalBlockOrigin, nullptr);
  EXPECT_EQ(*w->OriginalBlockOrigin, (pl3::Point{1000, 2000}));
  EXPECT_EQ(w->BlockOrigin, (pl3::Point{1000, 2000}));

  PasteFromClipboard(nullptr);
  ASSERT_NE(w->SelectionList, nullptr);
  ASSERT_NE(w->SelectionList->next, nullptr);
  EXPECT_EQ(CountChildren(other, Type_Track), 2);
  EXPECT_EQ(ClipboardTrackX(), 111);
  ReleaseTower(&other);
}

TEST_F(ClipboardTest, ItemsOnLayersTheDestinationDoesNotUseAreLeftOut) {
  SelectTrack(111);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  Tower* other = towertest::NewTopLevelEntity(Type_PCB);
  CurrentWindowData* w = MakeWindow(kEditorPcb, other);
  w->layerTable.layers[kTrackLayer].flags &= ~kLayerPresent;
  PasteFromClipboard(nullptr);
  EXPECT_EQ(w->SelectionList, nullptr);
  EXPECT_EQ(w->EditMode, 0);
  EXPECT_EQ(CountChildren(other, Type_Track), 0);
  ReleaseTower(&other);
}

TEST_F(ClipboardTest, CutCopiesDeletesTheSelectionAndPastesBack) {
  SelectTrack(333);
  EXPECT_EQ(CutSelectionToClipboard(nullptr), 1);
  EXPECT_EQ(enginefakes::CallsStartingWith("selection deleted").size(), 1u);
  EXPECT_EQ(CountChildren(pcb_, Type_ModifiedNote), 1);
  ClearSelection(*window_);
  PasteFromClipboard(nullptr);
  ASSERT_NE(window_->SelectionList, nullptr);
  EXPECT_EQ(ReadI32(TowerPayload(window_->SelectionList->workingCopy), offsetof(LinePayload, x1)), 333);

  // A refused cut deletes nothing.
  ClearSelection(*window_);
  SelectVia();
  enginefakes::calls.clear();
  EXPECT_EQ(CutSelectionToClipboard(nullptr), 0);
  EXPECT_TRUE(enginefakes::CallsStartingWith("selection deleted").empty());
}

// ---- Size re-mapping ---------------------------------------------------------------------

TEST_F(ClipboardTest, SizesReMapByNameUnitAndValueElseTurnExplicit) {
  struct Case {
    const char* what;
    std::uint16_t type;
    std::uint32_t kind;
    SizeEntry source;
    SizeEntry destination;
    int remapped;
  };
  const Case cases[] = {
      {"same line", Type_Track, SizeKind_Lines, Entry("Thin Line", 0, 100), Entry("Thin Line", 0, 100), 1},
      {"other value", Type_Track, SizeKind_Lines, Entry("Thin Line", 0, 100), Entry("Thin Line", 0, 101), 0},
      {"other unit", Type_Track, SizeKind_Lines, Entry("Thin Line", 0, 100), Entry("Thin Line", 2, 100), 0},
      {"other name", Type_Track, SizeKind_Lines, Entry("Thin Line", 0, 100), Entry("Thick Line", 0, 100), 0},
      {"circle", Type_Circle, SizeKind_Circles, Entry("C", 1, 7), Entry("C", 1, 7), 1},
      {"rectangle second value", Type_Rectangle, SizeKind_Rectangles, Entry("R", 0, 5, 6), Entry("R", 0, 5, 7), 0},
      {"rectangle", Type_Rectangle, SizeKind_Rectangles, Entry("R", 0, 5, 6), Entry("R", 0, 5, 6), 1},
      {"font of another unit", Type_Text, SizeKind_Fonts, Entry("F", 0, 12), Entry("F", kSizeUnitNone, 12), 1},
      {"font of another value", Type_Text, SizeKind_Fonts, Entry("F", 0, 12), Entry("F", 0, 14), 0},
  };
  for (const Case& c : cases) {
    SizeTable source, destination;
    source[c.kind].entries = {Entry("a", 0, 1, 1), c.source};
    destination[c.kind].entries = {Entry("x", 0, 2, 2), Entry("y", 0, 3, 3), c.destination};
    std::uint8_t payload[128] = {};
    auto* head = reinterpret_cast<GraphicHead*>(payload);
    head->sizeFlags = kSizeByIndex;
    head->sizeIndex = 1;
    EXPECT_EQ(RemapPastedSize(payload, sizeof payload, c.type, &source, &destination), c.remapped) << c.what;
    if (c.remapped) {
      EXPECT_EQ(head->sizeIndex, 2u) << c.what;
      EXPECT_EQ(head->sizeFlags, kSizeByIndex) << c.what;
    } else {
      EXPECT_EQ(head->sizeFlags, kSizeCustom) << c.what;
    }
  }
}

TEST_F(ClipboardTest, SizeReMappingEdges) {
  SizeTable source, destination;
  source[SizeKind_Lines].entries = {Entry("Thin Line", 0, 100)};
  destination[SizeKind_Lines].entries = {Entry("Thin Line", 0, 100)};
  auto remap = [&](std::uint16_t type, std::uint16_t flags, std::uint32_t index) {
    std::uint8_t payload[128] = {};
    auto* head = reinterpret_cast<GraphicHead*>(payload);
    head->sizeFlags = flags;
    head->sizeIndex = index;
    RemapPastedSize(payload, sizeof payload, type, &source, &destination);
    return std::pair<int, int>(head->sizeFlags, static_cast<int>(head->sizeIndex));
  };
  // An explicit or custom size is left alone.
  EXPECT_EQ(remap(Type_Track, 0, 5), (std::pair<int, int>(0, 5)));
  EXPECT_EQ(remap(Type_Track, kSizeByIndex | kSizeCustom, 5), (std::pair<int, int>(kSizeByIndex | kSizeCustom, 5)));
  // An index past the stored list finds nothing.
  EXPECT_EQ(remap(Type_Track, kSizeByIndex, 4), (std::pair<int, int>(kSizeCustom, 4)));
  // A type outside the explicit list keeps its flags when nothing matches.
  EXPECT_EQ(remap(Type_ThinLine, kSizeByIndex, 4), (std::pair<int, int>(kSizeByIndex, 4)));
  // Dots are never matched.
  source[SizeKind_Dots].entries = {Entry("Connected Dot", 0, 5)};
  destination[SizeKind_Dots].entries = {Entry("Connected Dot", 0, 5)};
  EXPECT_EQ(RemapPastedSize(nullptr, 0, Type_Track, &source, &destination), 0);
}

TEST_F(ClipboardTest, APastedTrackTakesTheDestinationsEntryOfItsSizeName) {
  // Values a whole number of thou, which the stored size text keeps exactly.
  constexpr std::int32_t kThou = 36576;
  window_->sizeTable->lists[SizeKind_Lines].entries = {Entry("Thick", 0, 90 * kThou), Entry("Thin Line", 0, 10 * kThou)};
  SelectTrack(111, 1, kSizeByIndex);
  SelectTrack(222, 0, kSizeByIndex);
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  Tower* other = towertest::NewTopLevelEntity(Type_PCB);
  CurrentWindowData* w = MakeWindow(kEditorPcb, other);
  w->sizeTable->lists[SizeKind_Lines].entries = {Entry("a", 0, kThou), Entry("b", 0, 2 * kThou),
                                                 Entry("Thin Line", 0, 10 * kThou), Entry("Thick", 0, 91 * kThou)};
  PasteFromClipboard(nullptr);
  int seen = 0;
  for (const SelectionInfo* r = w->SelectionList; r; r = r->next, ++seen) {
    const auto& t = *reinterpret_cast<const LinePayload*>(TowerPayload(r->workingCopy));
    if (t.x1 == 111) {
      EXPECT_EQ(t.head.sizeFlags, kSizeByIndex);
      EXPECT_EQ(t.head.sizeIndex, 2u);
    } else {
      EXPECT_EQ(t.x1, 222);
      EXPECT_EQ(t.head.sizeFlags, kSizeCustom);
    }
  }
  EXPECT_EQ(seen, 2);
  ReleaseTower(&other);
}

// ---- Schematic items ---------------------------------------------------------------------

// A schematic with one page, and a definition of two pins (Xrefs 7 and 9).
struct SchematicFixture {
  Tower* schematic = nullptr;
  Tower* page = nullptr;

  SchematicFixture() {
    schematic = towertest::NewTopLevelEntity(Type_Schematic);
    page = InsertEmptyEntity(schematic, Type_Page);
  }
  ~SchematicFixture() {
    ReleaseTower(&page);
    ReleaseTower(&schematic);
  }

  // A definition with the identity byte and two pins; returns its node.
  NodeRef AddDefinition(std::uint8_t identity, NodeRef* pins = nullptr) const {
    Tower* d = InsertEmptyEntity(schematic, kDefinition);
    std::uint8_t id[52] = {};
    id[0] = identity;
    Add(d, Type_IDInfo, id, sizeof id);
    int i = 0;
    for (std::uint32_t xref : {7u, 9u}) {
      Tower* pin = InsertEmptyEntity(d, Type_SymbolPin);
      Add(pin, Type_Xref, &xref, sizeof xref);
      if (pins) pins[i++] = NodeRefOf(TowerEntity(pin));
      ReleaseTower(&pin);
    }
    const NodeRef ref = NodeRefOf(TowerEntity(d));
    ReleaseTower(&d);
    return ref;
  }

  // A placed symbol of the definition, its pins linked to the definition's.
  Tower* AddSymbol(NodeRef definition, const NodeRef* pins) const {
    Tower* s = InsertEmptyEntity(page, kPlacedSymbol);
    const std::uint32_t record[2] = {0, definition};
    Add(s, Type_SchematicSymbol, record, sizeof record);
    int i = 0;
    for (std::uint32_t xref : {7u, 9u}) {
      Tower* pin = InsertEmptyEntity(s, kPlacedPin);
      const std::uint32_t link[2] = {pins[i++], xref};
      Add(pin, kPinLink, link, sizeof link);
      ReleaseTower(&pin);
    }
    return s;
  }
};

// The definition reference of a placed symbol and its pins' link words.
std::uint32_t DefinitionOf(const Tower* symbol) { return ReadU32(ChildPayloadOfAtLeast(symbol, Type_SchematicSymbol, 8), 4); }
std::vector<std::pair<std::uint32_t, std::uint32_t>> PinLinksOf(const Tower* symbol) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> links;
  Tower* pin = GetChildTower(symbol, kPlacedPin);
  while (pin && FindNextEntity(pin)) {
    const std::uint8_t* l = ChildPayloadOfAtLeast(pin, kPinLink, 8);
    links.emplace_back(ReadU32(l, 0), ReadU32(l, 4));
  }
  ReleaseTower(&pin);
  return links;
}

// The pins (node, Xref) of a definition.
std::vector<std::pair<std::uint32_t, std::uint32_t>> PinsOf(const Tower* schematic, NodeRef definition) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> pins;
  Tower* d = GetChildTower(schematic, kDefinition);
  while (d && FindNextEntity(d)) {
    if (NodeRefOf(TowerEntity(d)) != definition) continue;
    Tower* pin = GetChildTower(d, Type_SymbolPin);
    while (pin && FindNextEntity(pin))
      pins.emplace_back(NodeRefOf(TowerEntity(pin)), ReadU32(ChildPayloadOfAtLeast(pin, Type_Xref, 4), 0));
    ReleaseTower(&pin);
  }
  ReleaseTower(&d);
  return pins;
}

class SchematicClipboardTest : public ClipboardTest {
 protected:
  // Copies a placed symbol of a definition of identity 0x41 from the page.
  CurrentWindowData* CopySymbolOf(const SchematicFixture& source) {
    NodeRef pins[2];
    const NodeRef definition = source.AddDefinition(0x41, pins);
    CurrentWindowData* from = MakeWindow(kEditorSchematic, source.page);
    Select(*from, source.AddSymbol(definition, pins));
    EXPECT_EQ(CopySelectionToClipboard(nullptr), 1);
    return from;
  }
};

TEST_F(SchematicClipboardTest, APastedSymbolReusesADefinitionOfEqualIdentity) {
  auto source = std::make_unique<SchematicFixture>();
  CopySymbolOf(*source);
  EXPECT_EQ(clipboardfakes::calls, (std::vector<std::string>{"package reference", "unpackage"}));

  SchematicFixture destination;
  destination.AddDefinition(0x42);
  NodeRef pins[2];
  const NodeRef same = destination.AddDefinition(0x41, pins);
  CurrentWindowData* to = MakeWindow(kEditorSchematic, destination.page);
  to->Cursor = {300, 400};
  PasteFromClipboard(nullptr);
  ASSERT_NE(to->SelectionList, nullptr);
  const Tower* pasted = to->SelectionList->workingCopy;
  EXPECT_EQ(DefinitionOf(pasted), same);
  EXPECT_EQ(CountChildren(destination.schematic, kDefinition), 2);
  // Each placed pin now names the definition pin of its Xref.
  const auto links = PinLinksOf(pasted);
  ASSERT_EQ(links.size(), 2u);
  for (const auto& [pin, xref] : links) EXPECT_EQ(pin, xref == 7 ? pins[0] : pins[1]);
  EXPECT_EQ(to->SelectionList->flags & 0x2, 0x2);
  EXPECT_EQ(clipboardfakes::calls.back(), "ghost at 300,400");
}

TEST_F(SchematicClipboardTest, APastedSymbolCopiesItsDefinitionWhenNoneIsEqualEvenAfterTheSourceIsGone) {
  auto source = std::make_unique<SchematicFixture>();
  CurrentWindowData* from = CopySymbolOf(*source);
  // The source design closes: nothing of the copy may refer into it.
  ClearSelection(*from);
  DeleteEntity(source->schematic);
  source.reset();

  SchematicFixture destination;
  destination.AddDefinition(0x42);
  CurrentWindowData* to = MakeWindow(kEditorSchematic, destination.page);
  for (int paste = 1; paste <= 2; ++paste) {
    ClearSelection(*to);
    PasteFromClipboard(nullptr);
    ASSERT_NE(to->SelectionList, nullptr);
    const Tower* pasted = to->SelectionList->workingCopy;
    // The first paste copies the definition; the second finds that copy by its identity.
    EXPECT_EQ(CountChildren(destination.schematic, kDefinition), 2);
    const auto pins = PinsOf(destination.schematic, DefinitionOf(pasted));
    ASSERT_EQ(pins.size(), 2u) << paste;
    for (const auto& [pin, xref] : PinLinksOf(pasted)) {
      bool named = false;
      for (const auto& [node, number] : pins) named |= node == pin && number == xref;
      EXPECT_TRUE(named) << paste;
    }
  }
}

TEST_F(ClipboardTest, ANetNameLocatorsAttributeComesWithANewId) {
  SchematicFixture source;
  const AttributePayload attribute{kLocatorNetName, 0, 0, 5};
  Tower* a = Put(source.page, Type_Attribute, attribute);
  Add(a, Type_AttributeValue, "GND", 4);
  ReleaseTower(&a);
  LocatorPayload locator{};
  locator.head.transform = pl3::kIdentityTransform;
  locator.kind = kLocatorNetName;
  locator.attributeId = 5;
  CurrentWindowData* from = MakeWindow(kEditorSchematic, source.page);
  Select(*from, Put(source.page, Type_AttributeLocator, locator));
  ASSERT_EQ(CopySelectionToClipboard(nullptr), 1);
  const std::vector<int> codes = ClipboardCodes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), Type_Attribute), 1);

  SchematicFixture destination;
  const std::uint32_t counter = 40;
  Add(destination.schematic, Type_AttributeIdHWM, &counter, sizeof counter);
  CurrentWindowData* to = MakeWindow(kEditorSchematic, destination.page);
  PasteFromClipboard(nullptr);
  ASSERT_NE(to->SelectionList, nullptr);
  EXPECT_EQ(to->SelectionList->next, nullptr);  // the attribute is no selection of its own
  const auto& pasted = *reinterpret_cast<const LocatorPayload*>(TowerPayload(to->SelectionList->workingCopy));
  EXPECT_EQ(pasted.attributeId, 41u);
  Tower* found = FindAttributeById(destination.page, 41);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(ChildPayloadOfAtLeast(found, Type_AttributeValue, 4)), "GND");
  ReleaseTower(&found);
}

}  // namespace
