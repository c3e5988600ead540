#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/schematic_pins.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/selection_boxes.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_services.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/designators.h"
#include "objects/editor_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/selection_seams.h"
#include "store/tower_queries.h"
#include "objects/pad_stacks.h"
#include "objects/layer_table.h"
#include "objects/size_table.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "objects/group_texts.h"
#include "objects/text_frames.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "tests/edit/engine_fakes.h"
#include "tests/edit/selection_fakes.h"
#include "tests/edit/selection_window_fixture.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t kBase = 200000000;  // well inside the design area
constexpr std::uint16_t kDatumFixedBit = 0x1000;

HWND gActiveChild = nullptr;
LRESULT CALLBACK ClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MDIGETACTIVE) return reinterpret_cast<LRESULT>(gActiveChild);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Segment {
  std::int32_t x1, y1, x2, y2;
  bool operator==(const Segment&) const = default;
};

// An active PCB window over a design, with a frame whose Edit menu carries
// Undo and Redo, and the helpers that store items and read them back.
class SelectionTest : public selectiontest::SelectionWindow {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "SelectionFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = ClientProc;
    wc.lpszClassName = "SelectionClient";
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 2271, "Undo\tBACKSPACE");
    AppendMenuA(edit, MF_STRING, 2273, "Redo\tShift+BACKSPACE");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    FrameWindow = CreateWindowExA(0, "SelectionFrame", "Frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, bar,
                                  nullptr, nullptr);
    MDIClientWindow =
        CreateWindowExA(0, "SelectionClient", "", WS_CHILD, 0, 0, 10, 10, FrameWindow, nullptr, nullptr, nullptr);
    gActiveChild = MDIClientWindow;
    OpenWindow(FrameWindow);
    w->UndoStep = 0;
    enginefakes::calls.clear();
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    CloseWindow();
    DestroyWindow(FrameWindow);
    FrameWindow = MDIClientWindow = gActiveChild = nullptr;
  }
  Tower* StoreTrack(Segment s, std::uint8_t layer = 1, std::uint16_t code = Type_Track) {
    LinePayload line{};
    line.head.layer = layer;
    line.head.transform = pl3::kIdentityTransform;
    line.x1 = s.x1;
    line.y1 = s.y1;
    line.x2 = s.x2;
    line.y2 = s.y2;
    return Own(InsertEntity(design, sizeof line, code, &line));
  }
  Tower* StoreVia(std::int32_t x, std::int32_t y) {
    HolePayload hole{};
    hole.hole.head.transform = pl3::kIdentityTransform;
    hole.hole.flags = kHoleIsVia;
    hole.hole.size1 = 1000;
    hole.hole.centreX = x;
    hole.hole.centreY = y;
    std::memset(hole.carried, 0x5A, sizeof hole.carried);
    return Own(InsertEntity(design, sizeof hole, Type_Hole, &hole));
  }
  Tower* StoreDatum(const char* name, std::int32_t x, std::int32_t y) {
    std::vector<std::uint8_t> bytes(DatumStoredSize(static_cast<std::uint32_t>(std::strlen(name))));
    auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
    d->head.transform = pl3::kIdentityTransform;
    d->x = x;
    d->y = y;
    std::memcpy(d->name, name, std::strlen(name) + 1);
    return Own(InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), Type_Datum, bytes.data()));
  }
  // A polygon of the points, its box in the two extra points.
  Tower* StorePolygon(std::vector<pl3::Point> points) {
    std::vector<std::uint8_t> bytes(PolygonStoredSize(static_cast<std::uint32_t>(points.size())));
    auto* head = reinterpret_cast<PolygonHead*>(bytes.data());
    head->head.transform = pl3::kIdentityTransform;
    head->count = static_cast<std::uint8_t>(points.size());
    head->extra[0] = head->extra[1] = points[0];
    for (std::size_t i = 0; i < points.size(); ++i) {
      pl3::PolygonPoints(head)[i] = points[i];
      head->extra[0] = {std::min(head->extra[0].x, points[i].x), std::min(head->extra[0].y, points[i].y)};
      head->extra[1] = {std::max(head->extra[1].x, points[i].x), std::max(head->extra[1].y, points[i].y)};
    }
    return Own(InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), Type_Polygon, bytes.data()));
  }
  SelectionInfo* Select(const Tower* item, std::uint16_t part = kGrabWhole, pl3::Point at = {kBase, kBase}) {
    SelectionInfo* s = AddGraphicToSelection(&w->SelectionList, item, part, &pl3::kIdentityTransform, at.x, at.y);
    if (s) s->flags |= kSelectionPrimary;
    return s;
  }
  // A symbol instance whose Designator holds the text as stored.
  Tower* StoreSymbol(const char* designator) {
    Tower* symbol = Own(InsertEmptyEntity(design, Type_SymbolInstance));
    Tower* group = InsertEmptyEntity(symbol, Type_Designator);
    Tower* text =
        InsertEntity(group, static_cast<std::uint32_t>(std::strlen(designator) + 1), Type_DesignatorString, designator);
    ReleaseTower(&text);
    ReleaseTower(&group);
    return symbol;
  }
  // Replaces the designator of a symbol (its working copy) by the text.
  void Redesignate(const Tower* symbol, const char* designator) {
    Tower* group = OpenChildTower(symbol, Type_Designator);
    ASSERT_NE(group, nullptr);
    DeleteChildEntities(group, Type_DesignatorString);
    Tower* text =
        InsertEntity(group, static_cast<std::uint32_t>(std::strlen(designator) + 1), Type_DesignatorString, designator);
    ReleaseTower(&text);
    ReleaseTower(&group);
  }
  // Adds an Imported Designator holding the text under the parent.
  void AddImported(const Tower* parent, std::uint16_t code, const char* designator) {
    Tower* holder = InsertEmptyEntity(parent, code);
    Tower* text = InsertEntity(holder, static_cast<std::uint32_t>(std::strlen(designator) + 1),
                               Type_ImportedDesignator, designator);
    ReleaseTower(&text);
    ReleaseTower(&holder);
  }
  // Every Imported Designator text under the tower, depth first.
  void ImportedTexts(const Tower* parent, std::vector<std::string>* out) {
    Tower* all = GetAllChildrenTower(parent);
    while (all && FindNextEntity(all)) {
      if (TowerEntity(all)->typeCode == Type_ImportedDesignator) out->emplace_back(reinterpret_cast<const char*>(TowerPayload(all)));
      else ImportedTexts(all, out);
    }
    ReleaseTower(&all);
  }
  std::vector<std::string> ImportedTexts() {
    std::vector<std::string> out;
    ImportedTexts(design, &out);
    std::sort(out.begin(), out.end());
    return out;
  }
  SelectionInfo* SelectSymbol(const Tower* symbol) {
    SelectionInfo* s = AddSymbolToSelection(&w->SelectionList, symbol, kGrabWhole, &pl3::kIdentityTransform, kBase, kBase);
    if (s) s->flags |= kSelectionPrimary;
    return s;
  }

  // Every item of a code directly under the design, newest first.
  std::vector<Entity*> Items(std::uint16_t code) {
    std::vector<Entity*> found;
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != code) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next)
        found.push_back(NodeAt<Entity>(e));
    }
    return found;
  }
  std::vector<Segment> Tracks(std::uint16_t code = Type_Track) {
    std::vector<Segment> out;
    for (Entity* e : Items(code)) {
      const auto* l = reinterpret_cast<const LinePayload*>(EntityPayload(e));
      out.push_back({l->x1, l->y1, l->x2, l->y2});
    }
    return out;
  }
  // The payload bytes of every item of a code, newest first.
  std::vector<std::string> Payloads(std::uint16_t code, std::uint32_t bytes) {
    std::vector<std::string> out;
    for (Entity* e : Items(code)) out.emplace_back(reinterpret_cast<const char*>(EntityPayload(e)), bytes);
    return out;
  }
  // The message boxes shown, but those of the size look-ups: the fixture's
  // window has no size table, so a datum's font size cannot be resolved.
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
      if (r.text.rfind("ReturnRealSize", 0) != 0) out.push_back(r.caption + ": " + r.text);
    return out;
  }
  // A schematic wire or bus (72 bytes, as the page stores them).
  Tower* StoreWire(Segment s, std::uint16_t code = Type_Wire) {
    ThinLinePayload wire{};
    wire.line.head.layer = 3;
    wire.line.head.sizeFlags = kSizeByIndex;
    wire.line.head.sizeIndex = 1;
    wire.line.head.transform = pl3::kIdentityTransform;
    wire.line.width = 100;
    wire.line.x1 = s.x1;
    wire.line.y1 = s.y1;
    wire.line.x2 = s.x2;
    wire.line.y2 = s.y2;
    return Own(InsertEntity(design, sizeof wire, code, &wire));
  }
  Tower* StoreLocator(std::uint16_t kind, std::int32_t x, std::int32_t y) {
    LocatorPayload l{};
    l.head.transform = pl3::kIdentityTransform;
    l.kind = kind;
    l.x = x;
    l.y = y;
    return Own(InsertEntity(design, sizeof l, Type_AttributeLocator, &l));
  }
  // A net-name locator (kind 3) at the base point and the design attribute
  // of the id it stands for, holding the name.
  Tower* StoreNetNameLocator(const char* name, std::uint32_t id) {
    Tower* attribute = InsertAttributeWithId(design, 3, name, 0, id);
    ReleaseTower(&attribute);
    LocatorPayload l{};
    l.head.transform = pl3::kIdentityTransform;
    l.kind = 3;
    l.attributeId = id;
    l.x = l.y = kBase;
    return Own(InsertEntity(design, sizeof l, Type_AttributeLocator, &l));
  }
  // A symbol pin group with its Origin.
  Tower* StorePin(const Tower* parent, pl3::Point at) {
    Tower* pin = Own(InsertEmptyEntity(parent, Type_SymbolPin));
    const std::int32_t origin[3] = {at.x, at.y, 0};
    Tower* o = InsertEntity(pin, sizeof origin, Type_Origin, origin);
    ReleaseTower(&o);
    return pin;
  }
  // A placed schematic symbol (30) of a new definition (25) with pins at the
  // points, linked by its record (32) and placed by the Transform.
  Tower* StorePlacedSymbol(std::vector<pl3::Point> pins, pl3::Transform placed, bool mirrored = false) {
    Tower* definition = Own(InsertEmptyEntity(design, 25));
    for (const pl3::Point p : pins) StorePin(definition, p);
    Tower* symbol = Own(InsertEmptyEntity(design, 30));
    std::uint8_t link[12]{};
    link[0] = mirrored ? 1 : 0;
    const NodeRef ref = NodeRefOf(TowerEntity(definition));
    std::memcpy(link + 4, &ref, 4);
    Tower* l = InsertEntity(symbol, sizeof link, Type_SchematicSymbol, link);
    ReleaseTower(&l);
    Tower* t = InsertEntity(symbol, sizeof placed, Type_Transform, &placed);
    ReleaseTower(&t);
    return symbol;
  }
  // The secondary records: their item type and grabbed part.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> Secondaries() {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> out;
    for (const SelectionInfo* s = w->SelectionList; s; s = s->next)
      if (!(s->flags & kSelectionPrimary)) out.emplace_back(SelectionItemType(s), s->grabbedPart);
    return out;
  }
  // Removes every record, the items staying in the design as they were.
  void DropRecords() {
    while (SelectionInfo* s = w->SelectionList) {
      if (Entity* e = TowerEntity(s->original)) e->flags &= static_cast<std::uint16_t>(~kEntitySelected);
      ReleaseTower(&s->original);
      RemoveSelectionInfo(&w->SelectionList, s);
    }
  }
  // A move as the mouse road makes it: the block origin from the first
  // primary record, then the cursor.
  void MoveTo(pl3::Point cursor) {
    StartBlockMove(w->SelectionList);
    MoveSelectionToPoint(view, w->SelectionList, cursor, 0);
  }
};

// ---- The list ---------------------------------------------------------------

TEST_F(SelectionTest, ATrackGrabbedByOneEndThenTheOtherMovesWholeFromItsMidpoint) {
  // Odd coordinates: the midpoint is the sum of the unsigned halves.
  const Segment seg{kBase + 1001, kBase + 3, kBase + 4001, kBase + 7};
  Tower* track = StoreTrack(seg);
  SelectionInfo* s = Select(track, kGrabFirstEnd, {seg.x1, seg.y1});
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->grabbedPart, kGrabFirstEnd);
  SelectionInfo* again = AddGraphicToSelection(&w->SelectionList, track, kGrabSecondEnd, &pl3::kIdentityTransform,
                                               seg.x2, seg.y2);
  EXPECT_EQ(again, s) << "a second grab updates the record";
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 1);
  EXPECT_EQ(s->grabbedPart, kGrabWhole);
  const std::int32_t midX = (kBase + 1001) / 2 + (kBase + 4001) / 2;
  const std::int32_t midY = (kBase + 3) / 2 + (kBase + 7) / 2;
  EXPECT_EQ(s->grabPoint.x, midX);
  EXPECT_EQ(s->grabPoint.y, midY);
  EXPECT_EQ(s->currentPoint.x, midX);
}

TEST_F(SelectionTest, GrabbingTheSameEndAgainKeepsTheEndAndBothEndsStayHeld) {
  const Segment seg{kBase, kBase, kBase + 4000, kBase};
  Tower* track = StoreTrack(seg);
  SelectionInfo* s = Select(track, kGrabFirstEnd, {seg.x1, seg.y1});
  AddGraphicToSelection(&w->SelectionList, track, kGrabFirstEnd, &pl3::kIdentityTransform, seg.x1, seg.y1);
  EXPECT_EQ(s->grabbedPart, kGrabFirstEnd);
  s->grabbedPart = kGrabBothEnds;
  AddGraphicToSelection(&w->SelectionList, track, kGrabSecondEnd, &pl3::kIdentityTransform, seg.x2, seg.y2);
  EXPECT_EQ(s->grabbedPart, kGrabBothEnds);
}

TEST_F(SelectionTest, SelectionTypeIsNoneForSecondariesOnlyAndMixedForATrackAndAnArc) {
  EXPECT_EQ(GetSelectionType(nullptr), 65535u);
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  SelectionInfo* s = Select(track);
  s->flags = 0;  // a secondary record
  EXPECT_EQ(GetSelectionType(w->SelectionList), 65535u);
  EXPECT_EQ(CountSelections(w->SelectionList, 1), 0);
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 1);
  s->flags = kSelectionPrimary;
  EXPECT_EQ(GetSelectionType(w->SelectionList), static_cast<std::uint32_t>(Type_Track));
  ArcPayload arc{};
  arc.head.transform = pl3::kIdentityTransform;
  arc.radius = 1000;
  arc.centreX = arc.centreY = kBase;
  Select(Own(InsertEntity(design, sizeof arc, Type_Arc, &arc)));
  EXPECT_EQ(GetSelectionType(w->SelectionList), 0xFFFFFFFFu);
}

TEST_F(SelectionTest, RemovingARecordDeletesWhatItStillHoldsAndNothingItReleased) {
  Tower* kept = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  Tower* gone = StoreTrack({kBase, kBase + 5000, kBase + 1000, kBase + 5000});
  Select(kept);
  SelectionInfo* doomed = Select(gone);
  EXPECT_EQ(Items(Type_Track).size(), 4u) << "two originals and their working copies";
  RemoveSelectionInfo(&w->SelectionList, doomed);
  EXPECT_EQ(Tracks(), (std::vector<Segment>{{kBase, kBase, kBase + 1000, kBase}, {kBase, kBase, kBase + 1000, kBase}}))
      << "the record took its original and its copy with it";
  SelectionInfo* s = w->SelectionList;
  ReleaseTower(&s->original);
  RemoveSelectionInfo(&w->SelectionList, s);
  EXPECT_EQ(Tracks(), (std::vector<Segment>{{kBase, kBase, kBase + 1000, kBase}}));
  EXPECT_EQ(w->SelectionList, nullptr);
}

TEST_F(SelectionTest, TheBoxOfTheSelectionUnitesTheChosenCopies) {
  pl3::Box* empty = GetSelectionBox(nullptr, 1, 0);
  EXPECT_EQ(empty->xmin, 0x7FFFFFFF);
  EXPECT_EQ(empty->ymin, 0x7FFFFFFF);
  EXPECT_EQ(empty->xmax, 0);
  std::free(empty);
  Tower* a = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  Tower* b = StoreTrack({kBase + 9000, kBase + 9000, kBase + 9000, kBase + 12000});
  Select(a);
  Select(b)->flags = 0;
  MoveSelectionArray(w->SelectionList, 100000, 0);
  pl3::Box* copies = GetSelectionBox(w->SelectionList, 1, 0);
  pl3::Box* originals = GetSelectionBox(w->SelectionList, 0, 0);
  pl3::Box* primary = GetSelectionBox(w->SelectionList, 1, 1);
  // Each item's box reaches a little past its ends; the copies lie 100,000 to the right.
  EXPECT_EQ(copies->xmin, originals->xmin + 100000);
  EXPECT_EQ(copies->xmax, originals->xmax + 100000);
  EXPECT_EQ(copies->ymax, originals->ymax);
  EXPECT_LE(originals->xmin, kBase);
  EXPECT_GE(originals->ymax, kBase + 12000);
  EXPECT_EQ(primary->xmin, copies->xmin);
  EXPECT_LT(primary->xmax, copies->xmax) << "the secondary record is left out";
  EXPECT_LT(primary->ymax, copies->ymax);
  std::free(copies);
  std::free(originals);
  std::free(primary);
}

TEST_F(SelectionTest, ATextOfAnEarlierGenerationSymbolIsBoxedWhereTheSymbolPlacesIt) {
  Tower* group = Own(InsertEmptyEntity(design, kTypeTextGroup));
  pl3::Transform placement = pl3::kIdentityTransform;
  placement.tx = 100'000'000;
  Tower* t = InsertEntity(group, sizeof placement, Type_Transform, &placement);
  ReleaseTower(&t);
  const std::int32_t origin[3] = {5'000'000, 7'000'000, 0};
  t = InsertEntity(group, sizeof origin, Type_Origin, origin);
  ReleaseTower(&t);
  std::vector<std::uint8_t> bytes(TextStoredSize(1));
  auto* text = reinterpret_cast<TextPayload*>(bytes.data());
  text->head.transform = pl3::kIdentityTransform;
  text->textTransform = pl3::kIdentityTransform;
  const pl3::Box own{0, 0, 40'000, 20'000};
  std::memcpy(text->bytes52 + 4, &own, sizeof own);
  text->text[0] = 'A';
  Tower* stored = Own(InsertEntity(group, static_cast<std::uint32_t>(bytes.size()), Type_Text, bytes.data()));
  Select(stored);
  pl3::Box expected{};
  ASSERT_EQ(GetTextBoxInGroup(stored, group, &expected), 1);
  for (const int useCopy : {1, 0}) {
    pl3::Box* box = GetSelectionBox(w->SelectionList, useCopy, 0);
    EXPECT_EQ(box->xmin, expected.xmin) << "working copy " << useCopy;
    EXPECT_EQ(box->ymin, expected.ymin);
    EXPECT_EQ(box->xmax, expected.xmax);
    EXPECT_EQ(box->ymax, expected.ymax);
    EXPECT_GE(box->xmin, 100'000'000) << "under the symbol's placement, not where the text stands alone";
    std::free(box);
  }
}

TEST_F(SelectionTest, ALocatorWithoutABoxEndsTheBoxWhereItStands) {
  // Newest first: the newer track is united, a pin-number locator without
  // its text has no box and stops the walk, the older track is never reached.
  SelectionInfo* older = Select(StoreTrack({kBase + 50'000, kBase, kBase + 60'000, kBase}));
  Tower* locator = StoreLocator(kLocatorPinNumber, kBase, kBase);
  SelectionInfo* held = Select(locator);
  SelectionInfo* newer = Select(StoreTrack({kBase, kBase, kBase + 1000, kBase}));
  pl3::Box newerBox{}, olderBox{};
  ASSERT_EQ(SelectionItemBox(newer->workingCopy, &newerBox), 1);
  ASSERT_EQ(SelectionItemBox(older->workingCopy, &olderBox), 1);
  ASSERT_LT(newerBox.xmax, olderBox.xmax);
  pl3::Box* box = GetSelectionBox(w->SelectionList, 1, 0);
  EXPECT_EQ(box->xmin, newerBox.xmin);
  EXPECT_EQ(box->xmax, newerBox.xmax) << "the walk ends at the locator";
  std::free(box);

  // A kind the program does not draw has nothing to add, and the walk goes on.
  reinterpret_cast<LocatorPayload*>(TowerPayload(held->workingCopy))->kind = 99;
  box = GetSelectionBox(w->SelectionList, 1, 0);
  EXPECT_EQ(box->xmin, newerBox.xmin) << "no unfilled box reaches the union";
  EXPECT_EQ(box->ymin, std::min(newerBox.ymin, olderBox.ymin));
  EXPECT_EQ(box->xmax, olderBox.xmax);
  std::free(box);
}

TEST_F(SelectionTest, PadPointsAtOnePlaceMergeWhenTheirLayersTouch) {
  struct Case {
    std::vector<PadPoint> added;
    std::vector<PadPoint> expected;
  };
  const std::vector<Case> cases = {
      {{{5, 5, 1, 1}, {5, 5, 2, 2}}, {{5, 5, 1, 2}}},
      {{{5, 5, 1, 1}, {5, 5, 3, 3}}, {{5, 5, 1, 1}, {5, 5, 3, 3}}},
      {{{5, 5, 1, 1}, {5, 5, 4, 4}, {5, 5, 2, 3}}, {{5, 5, 1, 4}}},
      {{{7, 1, 1, 1}, {5, 9, 1, 1}, {5, 2, 2, 2}}, {{5, 2, 2, 2}, {5, 9, 1, 1}, {7, 1, 1, 1}}},
  };
  for (const Case& c : cases) {
    PadPoint* list = nullptr;
    std::uint32_t count = 0, room = 0;
    for (const PadPoint& p : c.added) AddPadPoint(&list, &count, &room, p);
    ASSERT_EQ(count, c.expected.size());
    for (std::uint32_t i = 0; i < count; ++i) {
      EXPECT_EQ(list[i].x, c.expected[i].x);
      EXPECT_EQ(list[i].y, c.expected[i].y);
      EXPECT_EQ(list[i].lowLayer, c.expected[i].lowLayer) << "entry " << i;
      EXPECT_EQ(list[i].highLayer, c.expected[i].highLayer) << "entry " << i;
    }
    std::free(list);
  }
}

TEST_F(SelectionTest, AViaTakesOnTheTracksOfEveryCopperLayerAndNoOther) {
  w->TopLayer = 1;
  w->BottomLayer = 32;
  Tower* via = StoreVia(kBase, kBase);
  StoreTrack({kBase, kBase, kBase + 3000, kBase}, 1);
  StoreTrack({kBase, kBase, kBase, kBase + 3000}, 32);
  StoreTrack({kBase - 3000, kBase, kBase, kBase}, Layer_BottomSilkscreen);  // not copper: stays
  StoreTrack({kBase, kBase - 3000, kBase, kBase}, Layer_TopSilkscreen);     // not copper: stays
  Select(via);
  CollectAttachedTracks(&w->SelectionList);
  auto found = Secondaries();
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{Type_Track, kGrabFirstEnd},
                                                                          {Type_Track, kGrabFirstEnd}}));
}

TEST_F(SelectionTest, ReleasingSecondariesPutsThemBackAndRebuildsTheMenusForWhatStays) {
  w->TopLayer = 1;
  w->BottomLayer = 32;
  Tower* via = StoreVia(kBase, kBase);
  StoreTrack({kBase, kBase, kBase + 3000, kBase});
  Tower* other = StoreVia(kBase + 9000, kBase);
  Select(via);
  CollectAttachedTracks(&w->SelectionList);
  AppendSecondarySelection(other, &w->SelectionList, kGrabWhole, kBase + 9000, kBase);
  ASSERT_EQ(CountSelections(w->SelectionList, 0), 3);

  // Not tracks first: the other via goes, the track stays, the menus are left alone.
  enginefakes::calls.clear();
  ReleaseSecondaryNonTracks();
  EXPECT_EQ(Secondaries(), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{Type_Track, kGrabFirstEnd}}));
  EXPECT_TRUE(enginefakes::CallsStartingWith("menus").empty());
  EXPECT_FALSE(TowerEntity(other)->flags & kEntitySelected);

  const std::vector<Segment> before = Tracks();
  const pl3::Box box = ReleaseSecondarySelections();
  EXPECT_TRUE(Secondaries().empty());
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 1);
  EXPECT_LE(box.xmin, kBase);
  EXPECT_GE(box.xmax, kBase + 3000) << "the released track's box";
  EXPECT_EQ(Tracks().size(), 1u) << "the track's working copy is gone";
  EXPECT_EQ(Tracks(), std::vector<Segment>{before.back()});
  EXPECT_EQ(enginefakes::CallsStartingWith("menus"), std::vector<std::string>{"menus 6"})
      << "the via's menus, not those of a track";
}

TEST_F(SelectionTest, AppendingAnItemSelectedAlreadyLeavesItsRecordAsItWas) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 4000, kBase});
  Tower* other = StoreTrack({kBase, kBase + 9000, kBase + 4000, kBase + 9000});
  SelectionInfo* primary = Select(track);
  Select(other);
  EXPECT_EQ(AppendSecondarySelection(track, &w->SelectionList, kGrabFirstEnd, kBase, kBase), primary);
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 2);
  EXPECT_EQ(CountSelections(w->SelectionList, 1), 2) << "the primary record stays primary";
  EXPECT_EQ(w->SelectionList->next, primary) << "and keeps its place";
  SelectionInfo* secondary = AppendSecondarySelection(StoreTrack({0, 0, 10, 0}), &w->SelectionList, kGrabWhole, 0, 0);
  ASSERT_NE(secondary, nullptr);
  EXPECT_EQ(secondary->next, nullptr) << "a new item goes to the tail";
  EXPECT_FALSE(secondary->flags & kSelectionPrimary);
}

TEST_F(SelectionTest, TracksMeetingAMovedTrackFollowByTheEndThatTouches) {
  Tower* moved = StoreTrack({kBase, kBase, kBase + 4000, kBase});
  StoreTrack({kBase + 4000, kBase, kBase + 4000, kBase + 3000});        // meets the second end
  StoreTrack({kBase + 4000, kBase, kBase + 4000, kBase + 3000}, 2);     // same place, other layer
  StoreTrack({kBase - 3000, kBase, kBase, kBase});                      // meets the first end
  Select(moved, kGrabSecondEnd, {kBase + 4000, kBase});
  CollectAttachedTracks(&w->SelectionList);
  ASSERT_EQ(CountSelections(w->SelectionList, 0), 2) << "only the track on layer 1 at the moved end";
  const SelectionInfo* secondary = w->SelectionList->next;
  EXPECT_FALSE(secondary->flags & kSelectionPrimary);
  EXPECT_EQ(secondary->grabbedPart, kGrabFirstEnd);
}

// ---- Attached wires (schematic kinds) --------------------------------------------

TEST(ConnectionPointsTest, PointsKeepTheirOrderOnceEachAndMatchItemsByKind) {
  ConnectionPointList list;
  for (const ConnectionPoint p : {ConnectionPoint{5, 5, Type_Wire}, ConnectionPoint{5, 1, Type_Bus},
                                  ConnectionPoint{5, 5, Type_AttributeLocator}, ConnectionPoint{2, 9, 30},
                                  ConnectionPoint{5, 5, Type_Wire}})
    AddConnectionPoint(&list, p);
  ASSERT_EQ(list.count, 4u) << "the repeated wire end is kept once";
  const std::vector<std::vector<std::int32_t>> order = {{2, 9, 30}, {5, 1, Type_Bus}, {5, 5, Type_AttributeLocator},
                                                        {5, 5, Type_Wire}};
  for (std::uint32_t i = 0; i < list.count; ++i)
    EXPECT_EQ((std::vector<std::int32_t>{list.points[i].x, list.points[i].y, list.points[i].kind}), order[i]) << i;
  // Every point at the place is tried: a locator passes over the locator point to the wire end.
  EXPECT_EQ(FindConnectionPoint(&list, 5, 5, Type_Wire)->kind, Type_AttributeLocator);
  EXPECT_EQ(FindConnectionPoint(&list, 5, 5, Type_AttributeLocator)->kind, Type_Wire);
  FreeConnectionPoints(&list);

  struct Case {
    std::uint16_t kind, type;
    bool hangs;
  };
  for (const Case c : {Case{30, Type_Wire, true}, Case{30, Type_Bus, false}, Case{30, Type_AttributeLocator, false},
                       Case{Type_AttributeLocator, Type_Wire, true}, Case{Type_AttributeLocator, Type_Bus, true},
                       Case{Type_AttributeLocator, Type_AttributeLocator, false},
                       Case{Type_Wire, Type_AttributeLocator, true}, Case{Type_Wire, Type_Wire, true},
                       Case{Type_Wire, Type_Bus, false}, Case{Type_Bus, Type_AttributeLocator, true},
                       Case{Type_Bus, Type_Bus, true}, Case{Type_Bus, Type_Wire, false},
                       Case{Type_Track, Type_Track, true}, Case{Type_Track, Type_Wire, false},
                       Case{Type_SymbolPin, Type_SymbolPin, true}, Case{Type_SymbolPin, Type_Wire, false}}) {
    ConnectionPointList one;
    AddConnectionPoint(&one, {7, 7, c.kind});
    EXPECT_EQ(FindConnectionPoint(&one, 7, 7, c.type) != nullptr, c.hangs) << "point " << c.kind << ", item " << c.type;
    EXPECT_EQ(FindConnectionPoint(&one, 7, 8, c.type), nullptr) << "another place";
    FreeConnectionPoints(&one);
  }
}

TEST_F(SelectionTest, PinsOfAPlacedSchematicSymbolStandWhereItsTransformPutsThem) {
  w->editorKind = kEditorSchematic;
  struct Case {
    pl3::Transform placed;
    bool mirrored;
    pl3::Point expected;
  };
  const pl3::Transform moved{pl3::kFixedOne, 0, 0, pl3::kFixedOne, kBase, kBase + 50};
  const pl3::Transform turned{0, pl3::kFixedOne, -pl3::kFixedOne, 0, kBase, kBase};
  for (const Case c : {Case{moved, false, {kBase + 400, kBase + 150}}, Case{moved, true, {kBase - 400, kBase + 150}},
                       Case{turned, false, {kBase - 100, kBase + 400}}, Case{turned, true, {kBase - 100, kBase - 400}}}) {
    Tower* symbol = StorePlacedSymbol({{0, 0}, {400, 100}}, c.placed, c.mirrored);
    std::vector<std::pair<std::int32_t, std::int32_t>> pins;
    pl3::Point at{};
    for (int i = 0; GetSchematicSymbolPinPoint(symbol, i, &at); ++i) pins.emplace_back(at.x, at.y);
    std::sort(pins.begin(), pins.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> expected = {{c.placed.tx, c.placed.ty},
                                                                   {c.expected.x, c.expected.y}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pins, expected) << "mirrored " << c.mirrored;
  }
  // A symbol whose record names no definition of the page has no pins.
  Tower* lost = Own(InsertEmptyEntity(design, 30));
  pl3::Point at{};
  EXPECT_EQ(GetSchematicSymbolPinPoint(lost, 0, &at), 0);
}

TEST_F(SelectionTest, WiresOnAMovedSymbolsPinsFollowItAndAreStoredOnItsNewPins) {
  w->editorKind = kEditorSchematic;
  Tower* symbol = StorePlacedSymbol({{0, 0}, {1000, 0}}, {pl3::kFixedOne, 0, 0, pl3::kFixedOne, kBase, kBase});
  StoreWire({kBase, kBase + 3000, kBase, kBase});                 // second end on pin 0
  StoreWire({kBase + 1000, kBase, kBase + 1000, kBase - 3000});   // first end on pin 1
  StoreWire({kBase + 1000, kBase, kBase + 1000, kBase - 3000}, Type_Bus);  // a bus does not hang on a pin
  StoreWire({kBase + 5000, kBase, kBase + 9000, kBase});          // elsewhere
  StoreLocator(kLocatorIOPort, kBase, kBase);                     // a port on a pin stays too
  const auto sorted = [](std::vector<Segment> v) {
    std::sort(v.begin(), v.end(), [](const Segment& a, const Segment& b) {
      return std::tie(a.x1, a.y1, a.x2, a.y2) < std::tie(b.x1, b.y1, b.x2, b.y2);
    });
    return v;
  };
  const std::vector<Segment> before = sorted(Tracks(Type_Wire));
  w->UndoStep = NewUndoStepNumber();
  SelectSymbol(symbol);
  CollectAttachedWires(&w->SelectionList);
  auto found = Secondaries();
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{Type_Wire, kGrabFirstEnd},
                                                                        {Type_Wire, kGrabSecondEnd}}));

  MoveTo({kBase + 2000, kBase + 1000});
  AcceptSelectionArray(view);
  std::vector<Segment> wires = Tracks(Type_Wire);
  std::sort(wires.begin(), wires.end(), [](const Segment& a, const Segment& b) { return a.x1 < b.x1; });
  EXPECT_EQ(wires, (std::vector<Segment>{{kBase, kBase + 3000, kBase + 2000, kBase + 1000},
                                         {kBase + 3000, kBase + 1000, kBase + 1000, kBase - 3000},
                                         {kBase + 5000, kBase, kBase + 9000, kBase}}))
      << "each wire keeps its far end and meets the moved pin";
  EXPECT_EQ(Tracks(Type_Bus), (std::vector<Segment>{{kBase + 1000, kBase, kBase + 1000, kBase - 3000}}));
  UndoLastStep();
  EXPECT_EQ(sorted(Tracks(Type_Wire)), before) << "one step puts the wires back";
}

TEST_F(SelectionTest, AWireDrawnTogetherToAPointIsRemovedAndUndoBringsItBack) {
  w->editorKind = kEditorSchematic;
  StoreWire({kBase, kBase, kBase + 3000, kBase});
  StoreWire({kBase, kBase + 9000, kBase + 3000, kBase + 9000});  // not selected
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0], kGrabSecondEnd, {kBase + 3000, kBase});
  MoveTo({kBase, kBase});
  AcceptSelectionArray(view);
  EXPECT_EQ(Tracks(Type_Wire), (std::vector<Segment>{{kBase, kBase + 9000, kBase + 3000, kBase + 9000}}));
  UndoLastStep();
  EXPECT_EQ(Tracks(Type_Wire).size(), 2u);
}

TEST_F(SelectionTest, WhatMeetsAMovedWireEndFollowsByItsKind) {
  w->editorKind = kEditorSchematic;
  Tower* moved = StoreWire({kBase, kBase, kBase + 4000, kBase});
  StoreWire({kBase + 4000, kBase, kBase, kBase});                 // both ends on the moved ends: whole
  StoreWire({kBase + 4000, kBase, kBase + 4000, kBase + 4000});   // by its first end
  StoreWire({kBase + 4000, kBase, kBase + 4000, kBase - 3000}, Type_Bus);  // a bus on a wire end stays
  StoreLocator(kLocatorGraphicNetName, kBase + 4000, kBase);      // a net name follows
  StoreLocator(kLocatorValue, kBase + 4000, kBase);               // a value label does not
  StoreWire({kBase - 3000, kBase, kBase - 100, kBase});           // near is not on
  Select(moved);
  CollectAttachedWires(&w->SelectionList);
  auto found = Secondaries();
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{
                       {Type_AttributeLocator, kGrabWhole}, {Type_Wire, kGrabWhole}, {Type_Wire, kGrabFirstEnd}}));

  // Held by its first end only, the wire offers that end alone.
  DropRecords();
  Select(moved, kGrabFirstEnd);
  CollectAttachedWires(&w->SelectionList);
  EXPECT_EQ(Secondaries(), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{Type_Wire, kGrabSecondEnd}}));
}

TEST_F(SelectionTest, InTheSymbolEditorPinLabelsFollowTheirPin) {
  w->editorKind = kEditorSchematicSymbol;
  Tower* pin = StorePin(design, {kBase, kBase});
  StoreLocator(kLocatorPinName, kBase, kBase);
  StoreLocator(kLocatorPinNumber, kBase, kBase);
  StoreLocator(kLocatorPinName, kBase + 10, kBase);
  StoreLocator(kLocatorValue, kBase, kBase);
  AddGraphicToSelection(&w->SelectionList, pin, kGrabWhole, &pl3::kIdentityTransform, kBase, kBase)->flags |=
      kSelectionPrimary;
  CollectAttachedWires(&w->SelectionList);
  EXPECT_EQ(Secondaries(), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{
                               {Type_AttributeLocator, kGrabWhole}, {Type_AttributeLocator, kGrabWhole}}));
  // The same labels in a schematic stay: a pin point holds no locators there.
  DropRecords();
  w->editorKind = kEditorSchematic;
  AddGraphicToSelection(&w->SelectionList, pin, kGrabWhole, &pl3::kIdentityTransform, kBase, kBase)->flags |=
      kSelectionPrimary;
  CollectAttachedWires(&w->SelectionList);
  EXPECT_TRUE(Secondaries().empty());
}

// A symbol definition holding one pad stack whose origin is (5, 5) and whose
// layer entries are the given layer codes, one pad placing it at (1000, 0),
// and an instance of it placed at (x, y) with the pad's placement record.
struct PaddedSymbol {
  Tower* definition = nullptr;
  Tower* instance = nullptr;
};

PaddedSymbol StorePaddedSymbol(const Tower* design, std::vector<std::uint8_t> layerCodes, pl3::Point at) {
  constexpr std::uint32_t kXref = 9;
  PaddedSymbol out;
  out.definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Tower* stack = InsertEntity(out.definition, 0, Type_PadStackDefinition, nullptr);
  const std::int32_t origin[3] = {5, 5, 0};
  Tower* t = InsertEntity(stack, sizeof origin, Type_Origin, origin);
  ReleaseTower(&t);
  for (std::uint8_t code : layerCodes) {
    std::uint8_t entry[44] = {};
    entry[4] = code;
    std::memcpy(entry + 20, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    t = InsertEntity(stack, sizeof entry, Type_PadStackLayerInfo, entry);
    ReleaseTower(&t);
  }
  Tower* pad = InsertEntity(out.definition, 0, Type_PadStackInstanceHier, nullptr);
  std::uint8_t info[36] = {};
  std::memcpy(info + 4, &kXref, 4);
  const std::uint32_t stackRef = NodeRefOf(TowerEntity(stack));
  std::memcpy(info + 8, &stackRef, 4);
  pl3::Transform padPlace = pl3::kIdentityTransform;
  padPlace.tx = 1000;
  std::memcpy(info + 12, &padPlace, sizeof padPlace);
  t = InsertEntity(pad, sizeof info, Type_PadStackInfo, info);
  ReleaseTower(&t);
  ReleaseTower(&pad);
  ReleaseTower(&stack);
  out.instance = InsertEmptyEntity(design, Type_SymbolInstance);
  const std::uint32_t symbolInfo[2] = {0, NodeRefOf(TowerEntity(out.definition))};
  t = InsertEntity(out.instance, sizeof symbolInfo, Type_SymbolInstanceInfo, symbolInfo);
  ReleaseTower(&t);
  pl3::Transform place = pl3::kIdentityTransform;
  place.tx = at.x;
  place.ty = at.y;
  t = InsertEntity(out.instance, sizeof place, Type_Transform, &place);
  ReleaseTower(&t);
  PadStackInstanceInfo placed{};
  placed.xref = kXref;
  placed.netIds[0] = 3;
  t = InsertEntity(out.instance, sizeof placed, Type_PadStackInstanceInfo, &placed);
  ReleaseTower(&t);
  return out;
}

TEST_F(SelectionTest, ReconsideringTakesOnTheTracksAndViasAtTheFreeEndsOfThePrimaryTracks) {
  Tower* moved = StoreTrack({kBase, kBase, kBase + 4000, kBase});
  StoreTrack({kBase + 4000, kBase, kBase + 4000, kBase + 3000});  // at the second end
  StoreTrack({kBase - 3000, kBase, kBase, kBase});                // at the first end
  reinterpret_cast<GraphicHead*>(TowerPayload(StoreVia(kBase, kBase)))->layer = 1;
  StoreTrack({kBase + 9000, kBase, kBase + 9500, kBase});         // meets nothing
  Select(moved, kGrabWhole, {kBase, kBase});
  ReconsiderAllPrimarySelections(&w->SelectionList);
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 4);
  EXPECT_EQ(CountSelections(w->SelectionList, 1), 1);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(selectionfakes::log.empty()) << "the schematic road is not taken in a PCB";

  w->editorKind = kEditorSchematic;
  while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  Select(StoreWire({kBase, kBase + 50000, kBase + 4000, kBase + 50000}));
  StoreWire({kBase + 4000, kBase + 50000, kBase + 4000, kBase + 53000});  // a wire on its end follows
  StoreTrack({kBase + 4000, kBase + 50000, kBase + 8000, kBase + 50000});  // a track there does not
  ReconsiderAllPrimarySelections(&w->SelectionList);
  auto found = Secondaries();
  EXPECT_EQ(found, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{Type_Wire, kGrabFirstEnd}}))
      << "the schematic road takes the wires, not the track walk";
}

TEST_F(SelectionTest, APrimaryRecordWithoutItsWorkingCopyIsReportedWhenReconsidered) {
  SelectionInfo* s = Select(StoreTrack({kBase, kBase, kBase + 4000, kBase}));
  DeleteEntity(s->workingCopy);
  ReleaseTower(&s->workingCopy);
  ReconsiderAllPrimarySelections(&w->SelectionList);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"ReconsiderAllPrimarySelections: Error - PassedInfo->CopyTower is NULL"}));
}

TEST_F(SelectionTest, ThePadsOfASelectedSymbolTakeOnTheTracksOnTheLayersTheyReach) {
  // Layer codes 1 (top) and 2 (bottom): the pad reaches every copper layer
  // from the window's top to its bottom layer.
  const PaddedSymbol symbol = StorePaddedSymbol(design, {1, 2}, {kBase, kBase});
  Own(symbol.definition);
  Own(symbol.instance);
  const pl3::Point pad{kBase + 1005, kBase + 5};
  StoreTrack({pad.x, pad.y, pad.x + 3000, pad.y}, 5);                   // inner layer 5: follows
  StoreTrack({pad.x - 3000, pad.y, pad.x, pad.y}, Layer_Bottom);        // bottom: follows
  StoreTrack({pad.x, pad.y, pad.x, pad.y + 3000}, Layer_BottomSilkscreen);  // not copper: stays
  StoreTrack({pad.x + 10, pad.y, pad.x + 3000, pad.y}, 5);              // beside the pad: stays
  SelectSymbol(symbol.instance);
  ReconsiderAllPrimarySelections(&w->SelectionList);
  ASSERT_EQ(CountSelections(w->SelectionList, 0), 3);
  std::vector<std::uint16_t> parts;
  for (const SelectionInfo* s = w->SelectionList->next; s; s = s->next) parts.push_back(s->grabbedPart);
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(parts, (std::vector<std::uint16_t>{kGrabFirstEnd, kGrabSecondEnd}));
}

TEST_F(SelectionTest, SymbolLocatorsAreThoseWhoseOriginalStandsUnderASchematicSymbol) {
  LocatorPayload locator{};
  locator.head.transform = pl3::kIdentityTransform;
  locator.kind = 6;
  locator.x = locator.y = kBase;
  Select(Own(InsertEntity(design, sizeof locator, Type_AttributeLocator, &locator)));
  Select(StoreTrack({kBase, kBase, kBase + 4000, kBase}));
  EXPECT_EQ(SelectionHasSymbolLocators(w->SelectionList), 0) << "a locator of the design itself";
  Tower* symbol = Own(InsertEmptyEntity(design, kTypeSchematicSymbol));
  Select(Own(InsertEntity(symbol, sizeof locator, Type_AttributeLocator, &locator)));
  EXPECT_EQ(SelectionHasSymbolLocators(w->SelectionList), 1);
}

TEST_F(SelectionTest, TheNetsOfTheSelectedSymbolsArePinNetsEachOnce) {
  const PaddedSymbol first = StorePaddedSymbol(design, {1}, {kBase, kBase});
  const PaddedSymbol second = StorePaddedSymbol(design, {1}, {kBase, kBase + 90000});
  for (Tower* t : {first.definition, first.instance, second.definition, second.instance}) Own(t);
  // First: nets 3 (built in), 7 and 3 again; second: 3 and 0 (no net).
  for (std::uint32_t net : {7u, 3u}) {
    PadStackInstanceInfo placed{};
    placed.netIds[0] = net;
    Tower* t = InsertEntity(first.instance, sizeof placed, Type_PadStackInstanceInfo, &placed);
    ReleaseTower(&t);
  }
  PadStackInstanceInfo none{};
  Tower* t = InsertEntity(second.instance, sizeof none, Type_PadStackInstanceInfo, &none);
  ReleaseTower(&t);
  EXPECT_TRUE(CollectSelectionNets(nullptr).empty());
  Select(StoreTrack({kBase, kBase, kBase + 4000, kBase}));
  SelectSymbol(first.instance);
  SelectSymbol(second.instance);
  std::vector<std::uint32_t> nets = CollectSelectionNets(w->SelectionList);
  std::sort(nets.begin(), nets.end());
  EXPECT_EQ(nets, (std::vector<std::uint32_t>{3, 7}));
}

// ---- Moving -------------------------------------------------------------------

TEST_F(SelectionTest, AMoveShiftsTheBlockOriginUnlessTheItemIsEditedInPlace) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  SelectionInfo* s = Select(track);
  w->BlockOrigin = {kBase, kBase};
  ASSERT_EQ(MoveSelectionArray(w->SelectionList, 2000, 3000), 1);
  EXPECT_EQ(w->BlockOrigin.x, kBase + 2000);
  EXPECT_EQ(w->BlockOrigin.y, kBase + 3000);
  s->grabbedPart = kGrabInPlace;
  MoveSelectionArray(w->SelectionList, 2000, 3000);
  EXPECT_EQ(w->BlockOrigin.x, kBase + 2000) << "part 3 keeps the block origin";
  const auto* copy = reinterpret_cast<const LinePayload*>(TowerPayload(s->workingCopy));
  EXPECT_EQ(copy->x1, kBase + 2000) << "part 3 moves neither end of a track";
  const auto* original = reinterpret_cast<const LinePayload*>(TowerPayload(s->original));
  EXPECT_EQ(original->x1, kBase) << "the original never moves";
}

TEST_F(SelectionTest, AMoveByOneEndLeavesTheOtherEndAndAFixedDatumStays) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  Tower* fixed = StoreDatum("D1", kBase, kBase);
  TowerEntity(fixed)->flags |= kDatumFixedBit;
  Tower* loose = StoreDatum("D2", kBase, kBase);
  SelectionInfo* t = Select(track, kGrabSecondEnd);
  SelectionInfo* f = Select(fixed);
  SelectionInfo* l = Select(loose);
  MoveSelectionArray(w->SelectionList, 5000, 0);
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(t->workingCopy));
  EXPECT_EQ(line->x1, kBase);
  EXPECT_EQ(line->x2, kBase + 6000);
  EXPECT_EQ(reinterpret_cast<const DatumPayload*>(TowerPayload(f->workingCopy))->x, kBase);
  EXPECT_EQ(reinterpret_cast<const DatumPayload*>(TowerPayload(l->workingCopy))->x, kBase + 5000);
}

TEST_F(SelectionTest, ACentroidAndASpiralMoveOnlyThePartTheyAreHeldBy) {
  const std::int32_t b = kBase;
  CentroidPayload centroid{};
  centroid.head.transform = pl3::kIdentityTransform;
  centroid.position = {b, b};
  centroid.direction = {1000, 0};
  SpiralPayload spiral{};
  spiral.head.transform = pl3::kIdentityTransform;
  spiral.centre = {b, b};
  spiral.start = {b - 1000, b};
  spiral.end = {b - 5000, b};
  spiral.pitch = 1000;
  struct Case {
    std::uint16_t part;
    pl3::Point position, direction;     // the centroid after the move
    pl3::Point centre, start, end;      // the spiral after the move
  } const cases[] = {
      {0, {b + 300, b}, {1000, 0}, {b + 300, b}, {b - 700, b}, {b - 4700, b}},
      {6, {b, b}, {1300, 0}, {b, b}, {b - 1000, b}, {b - 5000, b}},        // the centroid turns
      {8, {b, b}, {1000, 0}, {b, b}, {b - 1000, b}, {b - 4700, b}},        // the spiral's end
      {9, {b, b}, {1000, 0}, {b, b}, {b - 700, b}, {b - 5000, b}},         // the spiral's start
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    SelectionInfo* m = Select(Own(InsertEntity(design, sizeof centroid, Type_Centroid, &centroid)), c.part);
    SelectionInfo* sp = Select(Own(InsertEntity(design, sizeof spiral, Type_Spiral, &spiral)), c.part);
    ASSERT_EQ(MoveSelectionArray(w->SelectionList, 300, 0), 1);
    const auto* mc = reinterpret_cast<const CentroidPayload*>(TowerPayload(m->workingCopy));
    EXPECT_EQ(mc->position.x, c.position.x);
    EXPECT_EQ(mc->direction.x, c.direction.x);
    const auto* ss = reinterpret_cast<const SpiralPayload*>(TowerPayload(sp->workingCopy));
    EXPECT_EQ(ss->centre.x, c.centre.x);
    EXPECT_EQ(ss->start.x, c.start.x);
    EXPECT_EQ(ss->end.x, c.end.x);
    ClearSelectionArray(view);
  }
}

TEST_F(SelectionTest, MovingToThePointSnapsAndIgnoresAZeroStep) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  Select(track);
  StartBlockMove(w->SelectionList);
  ASSERT_NE(w->OriginalBlockOrigin, nullptr);
  EXPECT_EQ(MoveSelectionToPoint(view, w->SelectionList, {kBase + 400, kBase + 200}, 0), 0)
      << "the snapped point is the block origin";
  EXPECT_EQ(MoveSelectionToPoint(view, w->SelectionList, {kBase + 2400, kBase + 200}, 0), 1);
  EXPECT_EQ(w->BlockOrigin.x, kBase + 2000);
  w->ViewFlags |= 0x2000;  // raw points
  EXPECT_EQ(MoveSelectionToPoint(view, w->SelectionList, {kBase + 2400, kBase + 200}, 0), 1);
  EXPECT_EQ(w->BlockOrigin.x, kBase + 2400);
  EXPECT_EQ(w->BlockOrigin.y, kBase + 200);
}

TEST_F(SelectionTest, AnUnknownTypeStopsTheMoveWithItsMessage) {
  Tower* odd = Own(InsertEntity(design, 16, Type_Net, "0123456789abcde"));
  SelectionInfo* s = NewSelectionInfo(&w->SelectionList);
  s->flags = kSelectionPrimary;
  s->workingCopy = DuplicateTower(odd);
  EXPECT_EQ(MoveSelectionArray(w->SelectionList, 10, 10), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"MoveSelectionArray: Internal Error - Unknown type in selection array"}));
  ReleaseTower(&s->workingCopy);
}

// ---- The bend of a committed segment -------------------------------------------

TEST_F(SelectionTest, KeepWireOrthogonalBendsByModeAndDirection) {
  struct Case {
    std::uint8_t mode;
    std::uint32_t bits;
    pl3::Point to;
    int bends;
    pl3::Point bend;
  };
  const pl3::Point from{1000, 1000};
  const std::vector<Case> cases = {
      {0, 0, {5000, 3000}, 0, {}},
      {1, 0, {5000, 3000}, 1, {5000, 1000}},     // horizontal first
      {1, 1, {5000, 3000}, 1, {1000, 3000}},     // vertical first
      {1, 0, {5000, 1000}, 0, {}},               // already straight
      {2, 0, {5000, 3000}, 1, {3000, 1000}},     // straight then diagonal, |dx| > |dy|
      {2, 0, {2000, 5000}, 1, {1000, 4000}},     // |dx| <= |dy|: vertical first
      {2, 2, {5000, 3000}, 1, {3000, 3000}},     // diagonal first
      {2, 2, {2000, 5000}, 1, {2000, 2000}},
      {2, 0, {3000, 3000}, 0, {}},               // a pure diagonal stays one segment
      {2, 2, {-1000, 1000}, 0, {}},              // dy = 0: the diagonal leg is (0, 0)
      {2, 0, {1000, -3000}, 0, {}},              // dx = 0: the straight leg is the whole segment
      {2, 2, {1000, 4000}, 0, {}},               // dx = 0: a zero diagonal is no bend
      {2, 0, {-3000, -2000}, 1, {0, 1000}},      // negative steps keep their signs
      {2, 2, {-3000, -2000}, 1, {-2000, -2000}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    pl3::Point bend{-7, -7};
    const int bends = KeepWireOrthogonal(from, c.to, c.mode, c.bits, &bend);
    EXPECT_EQ(bends, c.bends) << "case " << i;
    if (c.bends) {
      EXPECT_EQ(bend.x, c.bend.x) << "case " << i;
      EXPECT_EQ(bend.y, c.bend.y) << "case " << i;
    }
  }
}

// ---- Accept, cancel, revert ---------------------------------------------------------

TEST_F(SelectionTest, AcceptOutsideTheDesignAreaIsRefusedWithoutAWord) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  Select(track);
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 1);
  // The working box: its left edge onto 182,880,000, then one unit past it.
  pl3::Box* box = GetSelectionBox(w->SelectionList, 1, 0);
  MoveSelectionArray(w->SelectionList, 182880000 - box->xmin, 0);
  std::free(box);
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 1) << "182,880,000 itself is inside";
  MoveSelectionArray(w->SelectionList, -1, 0);
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 0);
  MoveSelectionArray(w->SelectionList, 1, 1828800000);
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 0) << "below 50 inches";
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(SelectionTest, AcceptRefusesPolygonsThatCrossOrHaveTooFewPoints) {
  const std::int32_t b = kBase;
  Select(StorePolygon({{b, b}, {b + 4000, b + 4000}, {b + 4000, b}, {b, b + 4000}}));
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "Accept Selection: You cannot enter a polygon that contains intersections"}));
  ClearSelectionArray(view);
  pl3::ClearResponderRecords();
  Select(StorePolygon({{b, b}, {b + 4000, b}}));
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Error: You cannot enter a polygon with fewer than three points"}));
  ClearSelectionArray(view);
  Select(StorePolygon({{b, b}, {b + 4000, b}, {b + 4000, b + 4000}, {b, b + 4000}}));
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 1);
}

TEST_F(SelectionTest, AcceptBeepsAtADegenerateTrackCentroidOrSpiral) {
  const std::int32_t b = kBase;
  CentroidPayload centroid{};
  centroid.head.transform = pl3::kIdentityTransform;
  centroid.position = {b, b};
  SpiralPayload spiral{};
  spiral.head.transform = pl3::kIdentityTransform;
  spiral.centre = {b, b};
  spiral.start = {b - 1000, b};
  spiral.pitch = 1000;
  struct Case {
    const char* what;
    std::uint16_t code;
    std::string payload;
    int accepted;
  };
  const auto bytes = [](const auto& p) { return std::string(reinterpret_cast<const char*>(&p), sizeof p); };
  std::vector<Case> cases;
  LinePayload line{};
  line.head.transform = pl3::kIdentityTransform;
  line.x1 = line.x2 = b;
  line.y1 = line.y2 = b;
  cases.push_back({"a track of no length", Type_Track, bytes(line), 0});
  line.x2 = b + 10;
  cases.push_back({"a track", Type_Track, bytes(line), 1});
  cases.push_back({"a centroid without its offset", Type_Centroid, bytes(centroid), 0});
  centroid.direction = {0, 500};
  cases.push_back({"a centroid", Type_Centroid, bytes(centroid), 1});
  spiral.end = {b - 500, b};  // inside its start radius: no quarter arc
  cases.push_back({"a spiral without a sweep", Type_Spiral, bytes(spiral), 0});
  spiral.end = {b - 5000, b - 100};
  cases.push_back({"a spiral of four turns", Type_Spiral, bytes(spiral), 1});
  spiral.pitch = 0;
  cases.push_back({"a spiral of no pitch, drawn with the default one", Type_Spiral, bytes(spiral), 1});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    Select(Own(InsertEntity(design, static_cast<std::uint32_t>(c.payload.size()), c.code, c.payload.data())));
    const int beeps = pl3::BeepCount();
    EXPECT_EQ(ValidateSelectionForAction(5, 0), c.accepted);
    EXPECT_EQ(pl3::BeepCount() - beeps, 1 - c.accepted);
    EXPECT_TRUE(pl3::ResponderRecords().empty());
    ClearSelectionArray(view);
  }
}

TEST_F(SelectionTest, AcceptInTheSymbolEditorTestsEverySelectedPinAgainstThePinsLeft) {
  w->editorKind = kEditorSchematicSymbol;
  const std::int32_t b = kBase;
  Tower* first = StorePin(design, {b, b});
  Tower* second = StorePin(design, {b + 1000, b});
  StorePin(design, {b + 5000, b});  // not selected
  // The head of the list lands on the pin left behind; the last record does not.
  Select(first);
  SelectionInfo* head = Select(second);
  ASSERT_EQ(w->SelectionList, head);
  Tower* origin = OpenChildTower(head->workingCopy, Type_Origin);
  ASSERT_NE(origin, nullptr);
  reinterpret_cast<std::int32_t*>(TowerPayload(origin))[0] = b + 5000;
  ReleaseTower(&origin);
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(ValidateSelectionForAction(5, 0), 0);
  EXPECT_EQ(pl3::BeepCount() - beeps, 1);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(SelectionTest, CancelAfterAMovePutsEverythingBackAndRebuildsTheMenus) {
  const Segment a{kBase, kBase, kBase + 1000, kBase};
  const Segment b{kBase, kBase + 2000, kBase + 1000, kBase + 2000};
  StoreTrack(a);
  StoreTrack(b);
  StoreVia(kBase + 5000, kBase + 5000);
  const std::vector<std::string> before = Payloads(Type_Track, sizeof(LinePayload));
  const std::vector<std::string> viaBefore = Payloads(Type_Hole, sizeof(HolePayload));
  Select(owned[0]);
  Select(owned[1], kGrabFirstEnd);
  Select(owned[2]);
  MoveTo({kBase + 7000, kBase + 3000});
  CancelSelectionArray(view);
  EXPECT_EQ(w->SelectionList, nullptr);
  EXPECT_EQ(w->OriginalBlockOrigin, nullptr);
  EXPECT_EQ(Payloads(Type_Track, sizeof(LinePayload)), before);
  EXPECT_EQ(Payloads(Type_Hole, sizeof(HolePayload)), viaBefore);
  for (Entity* e : Items(Type_Track)) EXPECT_EQ(e->flags & (kEntitySelected | kEntityWorkingCopy), 0);
  EXPECT_EQ(enginefakes::CallsStartingWith("menus"), (std::vector<std::string>{"menus 0"}));
  EXPECT_EQ(enginefakes::CallsStartingWith("redraw box").size(), 1u);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(SelectionTest, AWaitingFullRedrawWidensTheEndingsRedrawToTheShownAreaOnce) {
  w->Zoom = 1000;
  w->ViewOriginX = 200000;
  w->ViewOriginY = 300000;
  RECT client{};
  GetClientRect(view, &client);
  const std::string shown = "redraw box " + std::to_string(200000 * 1000) + " " + std::to_string(300000 * 1000) +
                            " " + std::to_string((200000 + client.right) * 1000) + " " +
                            std::to_string((300000 + client.bottom) * 1000);
  for (const bool accept : {true, false}) {
    SCOPED_TRACE(accept ? "accept" : "cancel");
    for (const std::uint8_t pending : {1, 0}) {
      Select(StoreTrack({kBase, kBase, kBase + 1000, kBase}));
      MoveTo({kBase + 3000, kBase});
      w->FullRedrawPending = pending;
      enginefakes::calls.clear();
      if (accept) AcceptSelectionArray(view);
      else CancelSelectionArray(view);
      const std::vector<std::string> redraws = enginefakes::CallsStartingWith("redraw box");
      ASSERT_EQ(redraws.size(), 1u);
      if (pending) EXPECT_EQ(redraws[0], shown);
      else EXPECT_NE(redraws[0], shown) << "only the changed box";
      EXPECT_EQ(w->FullRedrawPending, 0);
    }
  }
}

TEST_F(SelectionTest, AcceptUndoAndRedoOfAMovedTrackAndVia) {
  StoreTrack({kBase, kBase, kBase + 1000, kBase});
  StoreVia(kBase + 5000, kBase + 5000);
  StoreTrack({kBase, kBase + 9000, kBase + 1000, kBase + 9000});  // not selected
  const std::vector<std::string> before = Payloads(Type_Track, sizeof(LinePayload));
  const std::vector<std::string> viaBefore = Payloads(Type_Hole, sizeof(HolePayload));
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0]);
  Select(owned[1]);
  MoveTo({kBase + 3000, kBase + 2000});
  ASSERT_EQ(ValidateSelectionForAction(5, 0), 1);
  AcceptSelectionArray(view);
  EXPECT_EQ(w->SelectionList, nullptr);
  EXPECT_EQ(w->OriginalBlockOrigin, nullptr);
  const std::vector<Segment> moved = Tracks();
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_NE(std::find(moved.begin(), moved.end(), Segment{kBase + 3000, kBase + 2000, kBase + 4000, kBase + 2000}),
            moved.end());
  ASSERT_EQ(Items(Type_Hole).size(), 1u);
  EXPECT_EQ(reinterpret_cast<const HolePayload*>(EntityPayload(Items(Type_Hole)[0]))->hole.centreX, kBase + 8000);
  for (Entity* e : Items(Type_Track)) EXPECT_EQ(e->flags & (kEntitySelected | kEntityWorkingCopy | 0x40), 0);
  const std::vector<std::string> after = Payloads(Type_Track, sizeof(LinePayload));

  UndoLastStep();
  std::vector<std::string> undone = Payloads(Type_Track, sizeof(LinePayload));
  std::sort(undone.begin(), undone.end());
  std::vector<std::string> sortedBefore = before;
  std::sort(sortedBefore.begin(), sortedBefore.end());
  EXPECT_EQ(undone, sortedBefore) << "Undo gives back the same items with the same payloads";
  EXPECT_EQ(Payloads(Type_Hole, sizeof(HolePayload)), viaBefore);

  RedoNextStep();
  std::vector<std::string> redone = Payloads(Type_Track, sizeof(LinePayload));
  std::sort(redone.begin(), redone.end());
  std::vector<std::string> sortedAfter = after;
  std::sort(sortedAfter.begin(), sortedAfter.end());
  EXPECT_EQ(redone, sortedAfter);
}

TEST_F(SelectionTest, AMovedTrackWithAngleAssistIsSplitAtItsBendInOneStep) {
  StoreTrack({kBase, kBase, kBase + 4000, kBase});
  w->SelectionAngleAssist = 1;
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0], kGrabSecondEnd, {kBase + 4000, kBase});
  MoveTo({kBase + 4000, kBase + 3000});
  AcceptSelectionArray(view);
  std::vector<Segment> legs = Tracks();
  std::sort(legs.begin(), legs.end(), [](const Segment& a, const Segment& b) { return a.x1 + a.y1 < b.x1 + b.y1; });
  EXPECT_EQ(legs, (std::vector<Segment>{{kBase, kBase, kBase + 4000, kBase},
                                        {kBase + 4000, kBase, kBase + 4000, kBase + 3000}}));
  UndoLastStep();
  EXPECT_EQ(Tracks(), (std::vector<Segment>{{kBase, kBase, kBase + 4000, kBase}}));
}

TEST_F(SelectionTest, ACommittedPolygonLosesItsCollinearPointsAndATurnedCentroidItsOldTransform) {
  const std::int32_t b = kBase;
  // A square with a point half-way along its bottom edge.
  StorePolygon({{b, b}, {b + 2000, b}, {b + 4000, b}, {b + 4000, b + 4000}, {b, b + 4000}});
  CentroidPayload centroid{};
  centroid.head.transform = pl3::kIdentityTransform;
  centroid.position = {b, b + 9000};
  centroid.direction = {1000, 0};
  centroid.head.transform = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};  // a quarter turn, to be replaced
  Own(InsertEntity(design, sizeof centroid, Type_Centroid, &centroid));
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0]);
  Select(owned[1], kGrabCentroidTurn);
  MoveSelectionArray(w->SelectionList, 0, 1000);  // the direction now points up and right
  AcceptSelectionArray(view);
  ASSERT_EQ(Items(Type_Polygon).size(), 1u);
  const auto* polygon = reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(Items(Type_Polygon)[0]));
  ASSERT_EQ(polygon->count, 4);
  const std::vector<pl3::Point> corners(pl3::PolygonPoints(polygon), pl3::PolygonPoints(polygon) + 4);
  EXPECT_EQ(std::count_if(corners.begin(), corners.end(), [&](pl3::Point p) { return p.x == b + 2000; }), 0);
  const std::uint8_t* triangles = pl3::PolygonTriangles(polygon);
  for (int i = 0; i < 6; ++i) EXPECT_LT(triangles[i], 4) << "triangles of the four corners";
  ASSERT_EQ(Items(Type_Centroid).size(), 1u);
  const auto* turned = reinterpret_cast<const CentroidPayload*>(EntityPayload(Items(Type_Centroid)[0]));
  EXPECT_EQ(turned->position.y, b + 9000);
  EXPECT_EQ(turned->direction.y, 1000);
  pl3::Transform expected{};
  MakeDirectionTransform(&expected, {1000, 1000}, 0.0);
  EXPECT_EQ(std::memcmp(&turned->head.transform, &expected, sizeof expected), 0) << "made from the new direction";
}

TEST_F(SelectionTest, AViaDroppedOnAPadGoesAndUndoBringsItBack) {
  StoreVia(kBase, kBase);
  const std::vector<std::string> before = Payloads(Type_Hole, sizeof(HolePayload));
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0]);
  MoveTo({kBase + 3000, kBase});
  selectionfakes::holeOnPad = 1;
  AcceptSelectionArray(view);
  EXPECT_TRUE(Items(Type_Hole).empty());
  UndoLastStep();
  EXPECT_EQ(Payloads(Type_Hole, sizeof(HolePayload)), before);
}

TEST_F(SelectionTest, RevertCarriesTheWordAt76OnlyWhereBothPayloadsHoldIt) {
  StoreTrack({kBase, kBase, kBase + 1000, kBase});
  StoreVia(kBase, kBase);
  SelectionInfo* track = Select(owned[0]);
  SelectionInfo* via = Select(owned[1]);
  w->BlockOrigin = {kBase, kBase};
  StartBlockMove(w->SelectionList);
  MoveSelectionArray(w->SelectionList, 5000, 5000);
  std::memset(TowerPayload(via->workingCopy) + 76, 0, 4);
  // What lies past a track's 68 bytes must stay as it is.
  std::memset(TowerPayload(track->workingCopy) + 68, 0x33, 12);
  std::memset(TowerPayload(track->original) + 68, 0x44, 12);
  ASSERT_EQ(RevertSelectionArray(w->SelectionList), 1);
  EXPECT_EQ(w->BlockOrigin.x, w->OriginalBlockOrigin->x);
  EXPECT_EQ(reinterpret_cast<const LinePayload*>(TowerPayload(track->workingCopy))->x1, kBase);
  EXPECT_EQ(TowerPayload(via->workingCopy)[76], 0x5A) << "the via's word came back from its original";
  EXPECT_EQ(TowerPayload(track->workingCopy)[76], 0x33) << "nothing is read or written past a track";
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(SelectionTest, RevertEditPutsTheSelectionBackHeldWholeAndStartsTheMoveAgain) {
  SelectionInfo* track = Select(StoreTrack({kBase, kBase, kBase + 1000, kBase}), kGrabFirstEnd, {kBase, kBase});
  SelectionInfo* follower = Select(StoreTrack({kBase, kBase, kBase, kBase + 3000}), kGrabFirstEnd, {kBase, kBase});
  follower->flags &= static_cast<std::uint8_t>(~kSelectionPrimary);
  MoveTo({kBase + 20000, kBase + 10000});
  ASSERT_EQ(reinterpret_cast<const LinePayload*>(TowerPayload(track->workingCopy))->x1, kBase + 20000);
  RevertSelectionEdit(w->SelectionList);
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(track->workingCopy));
  EXPECT_EQ((Segment{line->x1, line->y1, line->x2, line->y2}), (Segment{kBase, kBase, kBase + 1000, kBase}));
  EXPECT_EQ(track->grabbedPart, kGrabWhole);
  EXPECT_EQ(follower->grabbedPart, kGrabFirstEnd) << "a secondary keeps the end it follows by";
  ASSERT_NE(w->OriginalBlockOrigin, nullptr);
  EXPECT_EQ(w->OriginalBlockOrigin->x, track->currentPoint.x);
  EXPECT_EQ(w->BlockOrigin.x, kBase);
  EXPECT_EQ(w->BlockOrigin.y, kBase);
  MoveSelectionToPoint(view, w->SelectionList, {kBase + 5000, kBase}, 0);
  line = reinterpret_cast<const LinePayload*>(TowerPayload(track->workingCopy));
  EXPECT_EQ(line->x2, kBase + 6000) << "held whole now: both ends move";
}

TEST_F(SelectionTest, AVertexEditRevertsOnlyWhileItsPolygonIsStillOne) {
  const std::int32_t b = kBase;
  struct Case {
    std::vector<pl3::Point> points;
    int reverted;
  } const cases[] = {
      {{{b, b}, {b + 4000, b}, {b + 4000, b + 4000}, {b, b + 4000}}, 1},
      {{{b, b}, {b + 4000, b + 4000}, {b + 4000, b}, {b, b + 4000}}, 0},  // crossing edges
      {{{b, b}, {b + 2000, b}, {b + 4000, b}}, 0},                        // collinear: cleaned to two
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reverted);
    Select(StorePolygon(c.points), kGrabVertexMove);
    StartBlockMove(w->SelectionList);
    w->BlockOrigin = {b + 50, b + 50};
    pl3::ClearResponderRecords();
    EXPECT_EQ(RevertSelectionArray(w->SelectionList), c.reverted);
    EXPECT_EQ(w->BlockOrigin.x, c.reverted ? b : b + 50);
    ClearSelectionArray(view);
  }
}

TEST_F(SelectionTest, AGhostOfAnUnknownTypeIsReported) {
  SelectionInfo* s = NewSelectionInfo(&w->SelectionList);
  s->workingCopy = InsertEmptyEntity(design, Type_Designator);  // the record owns it
  s->flags = kSelectionPrimary;
  HDC dc = GetDC(view);
  GhostSelectionInfo(dc, s);
  ReleaseDC(view, dc);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"GhostSelectionInfo: Internal error - unknown type in selection array"}));
}

// ---- Delete and copy ----------------------------------------------------------------

TEST_F(SelectionTest, DroppingWhatCannotBeCopiedLeavesThoseItemsAsTheyWereAndKeepsTheRest) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  CentroidPayload centroid{};
  centroid.head.transform = pl3::kIdentityTransform;
  centroid.position = {kBase, kBase};
  centroid.direction = {1000, 0};
  Tower* marker = Own(InsertEntity(design, sizeof centroid, Type_Centroid, &centroid));
  Tower* symbol = StoreSymbol("U1");  // placed: its definition is not being edited
  Select(marker);
  SelectSymbol(symbol);
  SelectionInfo* kept = Select(track);
  Select(StoreTrack({kBase, kBase + 5000, kBase + 1000, kBase + 5000}));
  DropUncopyableItems(view, &w->SelectionList);
  ASSERT_EQ(CountSelections(w->SelectionList, 0), 2);
  EXPECT_EQ(w->SelectionList->next, kept);
  EXPECT_EQ(Items(Type_Centroid).size(), 1u) << "the centroid's working copy is gone";
  EXPECT_EQ(TowerEntity(marker)->flags & kEntitySelected, 0);
  EXPECT_EQ(Items(Type_SymbolInstance).size(), 1u);
  EXPECT_EQ(TowerEntity(symbol)->flags & kEntitySelected, 0);
}

TEST_F(SelectionTest, AnOlderEntryNamingAnItemDeletedWithoutUndoIsNeverAppliedToItsSuccessor) {
  w->UndoStep = NewUndoStepNumber();
  Tower* placed = StoreTrack({kBase, kBase, kBase + 1000, kBase});
  RecordUndoInsert(NodeRefOf(TowerEntity(placed)), w->UndoStep);
  CloseUndoStep(*w, "Insert Track");
  // A delete that writes no undo entry of its own, as the info-box road does.
  SelectionInfo* s = Select(placed);
  pl3::Box* box = ApplySelectionInfo(s, kApplyDelete);
  std::free(box);
  RemoveSelectionInfo(&w->SelectionList, s);
  // A new track, which may take the freed place.
  StoreTrack({kBase + 7000, kBase, kBase + 9000, kBase});
  UndoLastStep();
  EXPECT_EQ(Tracks(), (std::vector<Segment>{{kBase + 7000, kBase, kBase + 9000, kBase}}))
      << "the stale entry is skipped";
}

TEST_F(SelectionTest, DeleteAsksFromTheThresholdOn) {
  struct Case {
    std::uint32_t threshold;
    bool asks;
  };
  for (const Case c : {Case{3, true}, Case{4, false}, Case{0, false}}) {
    for (int i = 0; i < 3; ++i) Select(StoreTrack({kBase, kBase + 1000 * i, kBase + 500, kBase + 1000 * i}));
    DeleteConfirmCount = c.threshold;
    pl3::ClearResponderRecords();
    pl3::PushButtonAnswer(IDNO);
    const int deleted = DeleteSelectionArray(view, 1);
    EXPECT_EQ(deleted, c.asks ? 0 : 1) << "threshold " << c.threshold;
    if (c.asks) {
      EXPECT_EQ(Boxes(), (std::vector<std::string>{"Delete Selection: Are you sure you wish to delete this selection?"}));
      EXPECT_EQ(CountSelections(w->SelectionList, 1), 3) << "a declined delete leaves the selection";
      ClearSelectionArray(view);
    } else {
      EXPECT_TRUE(Items(Type_Track).empty());
    }
    pl3::ClearResponderRecords();
  }
}

TEST_F(SelectionTest, TheMasterDatumSurvivesADeleteWithItsMessageAndUndoRestoresTheRest) {
  StoreDatum("master", kBase, kBase);
  StoreDatum("D7", kBase, kBase);
  StoreTrack({kBase, kBase, kBase + 1000, kBase});
  const std::vector<std::string> tracksBefore = Payloads(Type_Track, sizeof(LinePayload));
  w->UndoStep = NewUndoStepNumber();
  for (Tower* t : owned) Select(t);
  ASSERT_EQ(DeleteSelectionArray(view, 0), 1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Pelmora3: You cannot delete the master datum"}));
  ASSERT_EQ(Items(Type_Datum).size(), 1u);
  EXPECT_STREQ(reinterpret_cast<const DatumPayload*>(EntityPayload(Items(Type_Datum)[0]))->name, "master");
  EXPECT_EQ(Items(Type_Datum)[0]->flags & kEntitySelected, 0);
  EXPECT_TRUE(Items(Type_Track).empty());
  EXPECT_EQ(w->SelectionList, nullptr);
  UndoLastStep();
  EXPECT_EQ(Items(Type_Datum).size(), 2u);
  EXPECT_EQ(Payloads(Type_Track, sizeof(LinePayload)), tracksBefore);
}

TEST_F(SelectionTest, ADeletedNetNameLocatorAndItsAttributeComeBackOnceOnUndo) {
  w->editorKind = kEditorSchematic;
  Tower* item = StoreNetNameLocator("N7", 42);
  const std::vector<std::string> before = Payloads(Type_AttributeLocator, sizeof(LocatorPayload));
  w->UndoStep = NewUndoStepNumber();
  Select(item);
  ASSERT_EQ(DeleteSelectionArray(view, 0), 1);
  EXPECT_TRUE(Items(Type_AttributeLocator).empty());
  Tower* gone = FindDesignAttributeById(42);
  EXPECT_EQ(gone, nullptr) << "the attribute the locator stands for goes with it";
  ReleaseTower(&gone);
  UndoLastStep();
  EXPECT_EQ(Payloads(Type_AttributeLocator, sizeof(LocatorPayload)), before) << "one locator, as it was";
  Tower* back = FindDesignAttributeById(42);
  EXPECT_NE(back, nullptr);
  ReleaseTower(&back);
  EXPECT_EQ(Items(Type_Attribute).size(), 1u);
}

TEST_F(SelectionTest, ADeletedSymbolIsUnplacedAndReturnsOnUndo) {
  Tower* symbol = StoreSymbol("U3");
  w->UndoStep = NewUndoStepNumber();
  SelectSymbol(symbol);
  enginefakes::calls.clear();
  ASSERT_EQ(DeleteSelectionArray(view, 0), 1);
  EXPECT_TRUE(Items(Type_SymbolInstance).empty());
  EXPECT_EQ(enginefakes::CallsStartingWith("bin unplaced").size(), 1u);
  EXPECT_EQ(enginefakes::CallsStartingWith("moving points dropped").size(), 1u);
  UndoLastStep();
  ASSERT_EQ(Items(Type_SymbolInstance).size(), 1u);
  EXPECT_EQ(enginefakes::CallsStartingWith("bin placed").size(), 1u) << "placed again in the component bin";
  Tower* back = EntityToTower(design, Items(Type_SymbolInstance)[0], -1);
  Tower* group = OpenChildTower(back, Type_Designator);
  ASSERT_NE(group, nullptr);
  EXPECT_STREQ(GetDesignatorText(group), "U3");
  ReleaseTower(&group);
  ReleaseTower(&back);
}

TEST_F(SelectionTest, CopySelectionThenAcceptAddsTheCopiesInOneStep) {
  StoreTrack({kBase, kBase, kBase + 1000, kBase});
  StoreVia(kBase + 5000, kBase);
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0]);
  Select(owned[1]);
  CopySelectionInPlace(view);
  for (const SelectionInfo* s = w->SelectionList; s; s = s->next) {
    EXPECT_EQ(s->original, nullptr);
    EXPECT_EQ(s->grabbedPart, kGrabWhole);
  }
  MoveTo({kBase + 1000, kBase + 7000});
  AcceptSelectionArray(view);
  EXPECT_EQ(Tracks().size(), 2u);
  EXPECT_EQ(Items(Type_Hole).size(), 2u);
  EXPECT_NE(std::find(Tracks().begin(), Tracks().end(), Segment{kBase, kBase, kBase + 1000, kBase}), Tracks().end());
  UndoLastStep();
  EXPECT_EQ(Tracks(), (std::vector<Segment>{{kBase, kBase, kBase + 1000, kBase}}));
  EXPECT_EQ(Items(Type_Hole).size(), 1u) << "one Undo takes both copies";
}

TEST_F(SelectionTest, ANetNameOrPortCopiedInPlaceGetsAnAttributeOfItsOwn) {
  w->editorKind = kEditorSchematic;
  StoreNetNameLocator("N7", 42);
  Tower* portAttribute = InsertAttributeWithId(design, kLocatorIOPort, "P1", 0, 43);
  ReleaseTower(&portAttribute);
  Tower* port = StoreLocator(kLocatorIOPort, kBase + 5000, kBase);
  reinterpret_cast<LocatorPayload*>(TowerPayload(port))->attributeId = 43;
  w->UndoStep = NewUndoStepNumber();
  Select(owned[0]);
  Select(port);
  CopySelectionInPlace(view);
  MoveTo({kBase + 1000, kBase + 7000});
  AcceptSelectionArray(view);
  std::vector<std::pair<std::uint16_t, std::string>> shown;  // kind and the text of its attribute
  std::vector<std::uint32_t> ids;
  for (Entity* e : Items(Type_AttributeLocator)) {
    const auto* l = reinterpret_cast<const LocatorPayload*>(EntityPayload(e));
    ids.push_back(l->attributeId);
    Tower* a = FindDesignAttributeById(l->attributeId);
    Tower* value = a ? OpenChildTower(a, Type_AttributeValue) : nullptr;
    shown.emplace_back(l->kind, value ? reinterpret_cast<const char*>(TowerPayload(value)) : "(none)");
    ReleaseTower(&value);
    ReleaseTower(&a);
  }
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::pair<std::uint16_t, std::string>>{
                       {kLocatorNetName, "N7"}, {kLocatorNetName, "N7"}, {kLocatorIOPort, "NULL"}, {kLocatorIOPort, "P1"}}));
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end()) << "no two locators share an attribute";
  UndoLastStep();
  EXPECT_EQ(Items(Type_AttributeLocator).size(), 2u);
  EXPECT_EQ(Items(Type_Attribute).size(), 2u) << "the copies' attributes go with them";
}

TEST_F(SelectionTest, CopySelectionRefusesDatums) {
  StoreDatum("D1", kBase, kBase);
  Select(owned[0]);
  CopySelectionInPlace(view);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Copy Selection: Can't copy datums."}));
  EXPECT_NE(w->SelectionList->original, nullptr) << "the selection is left as it was";
}

// ---- Symbols --------------------------------------------------------------------

TEST_F(SelectionTest, ASelectedSymbolGhostsThroughItsInstanceCopies) {
  Tower* symbol = StoreSymbol("U1");
  SelectionInfo* s = SelectSymbol(symbol);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->flags & kSelectionHasInstanceInfo);
  EXPECT_EQ(selectionfakes::log, (std::vector<std::string>{"ghost copy 106", "ghost copy 106"}))
      << "one from the working copy, one from the original";
  w->BlockOrigin = {kBase + 5, kBase + 7};
  HDC dc = GetDC(view);
  GhostSelectionArray(dc, w->SelectionList);
  ReleaseDC(view, dc);
  EXPECT_EQ(selectionfakes::log.back(), "instance ghost 106 at " + std::to_string(kBase + 5) + "," + std::to_string(kBase + 7));
}

TEST_F(SelectionTest, ADesignatorChangedOnlyInCaseIsNoRename) {
  Tower* symbol = StoreSymbol("r1");
  SelectionInfo* s = SelectSymbol(symbol);
  Redesignate(s->workingCopy, "R1");
  StartBlockMove(w->SelectionList);
  AcceptSelectionArray(view);
  EXPECT_TRUE(selectionfakes::console.empty());
  EXPECT_EQ(Items(Type_SymbolInstance).size(), 1u);
}

TEST_F(SelectionTest, ARenamedDesignatorIsWrittenToTheConsoleAndRenamedInTheNetlist) {
  Tower* netlist = Own(InsertEmptyEntity(design, Type_NetHierGroup));
  AddImported(netlist, Type_ImportedSymbol, "R1");
  AddImported(netlist, Type_ImportedSymbol, "C3");
  Tower* net = Own(InsertEmptyEntity(design, Type_Net));
  Tower* hier = InsertEmptyEntity(net, Type_SubNetHier);
  AddImported(hier, Type_ImportedNetNodeHier, "r1");
  ReleaseTower(&hier);
  Tower* symbol = StoreSymbol("R1");
  SelectionInfo* s = SelectSymbol(symbol);
  Redesignate(s->workingCopy, "R2");
  StartBlockMove(w->SelectionList);
  AcceptSelectionArray(view);
  EXPECT_EQ(selectionfakes::console, (std::vector<std::string>{"\"R1\" has been renamed to \"R2\"."}));
  EXPECT_EQ(ImportedTexts(), (std::vector<std::string>{"C3", "R2", "R2"}));
}

TEST_F(SelectionTest, ACopiedSymbolNewToTheNetlistIsAddedOnce) {
  Tower* netlist = Own(InsertEmptyEntity(design, Type_NetHierGroup));
  AddImported(netlist, Type_ImportedSymbol, "U1");
  for (const char* designator : {"U9", "u1"}) {
    SelectSymbol(StoreSymbol(designator));
    DeleteSelectionOriginals();
    StartBlockMove(w->SelectionList);
    AcceptSelectionArray(view);
  }
  EXPECT_EQ(selectionfakes::console, (std::vector<std::string>{"\"U9\" has been added to the diagram."}));
  EXPECT_EQ(ImportedTexts(), (std::vector<std::string>{"U1", "U9"})) << "u1 was known already";
}

}  // namespace

// ---- Rotate, mirror, flip ---------------------------------------------------------

namespace {
constexpr std::int32_t kOne = pl3::kFixedOne;
// The first payload of the child of `code` under the item, as an array of words.
std::int32_t* ChildWords(const Tower* item, std::uint16_t code) {
  Tower* child = OpenChildTower(item, code);
  if (!child) return nullptr;
  auto* words = reinterpret_cast<std::int32_t*>(TowerPayload(child));
  ReleaseTower(&child);
  return words;
}
}  // namespace

TEST_F(SelectionTest, RotatingTurnsTheCopiesAboutTheBlockOriginAndReleasesTheSecondaries) {
  Tower* track = StoreTrack({kBase + 1000, kBase, kBase + 3000, kBase + 500});
  Tower* other = StoreTrack({kBase + 3000, kBase + 500, kBase + 9000, kBase + 500});
  Select(track);
  ASSERT_NE(AppendSecondarySelection(other, &w->SelectionList, kGrabFirstEnd, kBase + 3000, kBase + 500), nullptr);
  w->BlockOrigin = {kBase, kBase};
  const pl3::Box released = TransformSelectionArray(&pl3::R90);
  EXPECT_EQ(CountSelections(w->SelectionList, 0), 1) << "the secondary record is gone";
  EXPECT_LE(released.xmin, kBase + 3000);
  EXPECT_GE(released.xmax, kBase + 9000) << "the caller redraws where the secondary was";
  const auto* copy = reinterpret_cast<const LinePayload*>(TowerPayload(w->SelectionList->workingCopy));
  // (1000, 0) turns to (0, 1000) and (3000, 500) to (-500, 3000) about the origin.
  EXPECT_EQ((Segment{copy->x1, copy->y1, copy->x2, copy->y2}),
            (Segment{kBase, kBase + 1000, kBase - 500, kBase + 3000}));
  const auto* original = reinterpret_cast<const LinePayload*>(TowerPayload(w->SelectionList->original));
  EXPECT_EQ(original->x1, kBase + 1000) << "the original stays";
  EXPECT_EQ(Tracks().size(), 3u) << "the released secondary put back unchanged, no copy of it left";
}

TEST_F(SelectionTest, ASymbolTurnsItsPlacementAndDesignatorOffsetAboutTheBlockOrigin) {
  Tower* symbol = StoreSymbol("U1");
  const pl3::Transform placed = {kOne, 0, 0, kOne, kBase + 2000, kBase};
  Own(InsertEntity(symbol, sizeof placed, Type_Transform, &placed));
  const std::int32_t offset[2] = {100, 0};
  Own(InsertEntity(symbol, sizeof offset, Type_Offset, offset));
  std::uint32_t info[4] = {0, 0, 0, 0};
  Own(InsertEntity(symbol, sizeof info, Type_SymbolInstanceInfo, info));
  SelectionInfo* s = SelectSymbol(symbol);
  ASSERT_NE(s, nullptr);
  w->BlockOrigin = {kBase, kBase};
  ASSERT_EQ(TransformSelectionInfo(s, &pl3::R90), 1);
  const auto* t = reinterpret_cast<const pl3::Transform*>(ChildWords(s->workingCopy, Type_Transform));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ((std::vector<std::int32_t>{t->a, t->b, t->c, t->d, t->tx, t->ty}),
            (std::vector<std::int32_t>{0, kOne, -kOne, 0, kBase, kBase + 2000}));
  const std::int32_t* moved = ChildWords(s->workingCopy, Type_Offset);
  EXPECT_EQ(moved[0], 0);
  EXPECT_EQ(moved[1], 100);
  const auto* kept = reinterpret_cast<const pl3::Transform*>(ChildWords(s->original, Type_Transform));
  EXPECT_EQ(kept->tx, kBase + 2000) << "the original keeps its place";

  // Flipping toggles the other-side bit and mirrors about the block origin.
  ASSERT_EQ(FlipSelectionInfoSide(s), 1);
  EXPECT_EQ(ChildWords(s->workingCopy, Type_SymbolInstanceInfo)[0], 2);
  t = reinterpret_cast<const pl3::Transform*>(ChildWords(s->workingCopy, Type_Transform));
  EXPECT_EQ(t->tx, kBase) << "a point on the mirror line stays";
  EXPECT_EQ(t->ty, kBase + 2000);
  EXPECT_EQ(t->c, kOne) << "the placement's linear part is mirrored in x";
  ASSERT_EQ(FlipSelectionInfoSide(s), 1);
  EXPECT_EQ(ChildWords(s->workingCopy, Type_SymbolInstanceInfo)[0], 0) << "a second flip brings it back";
  EXPECT_EQ(reinterpret_cast<const pl3::Transform*>(ChildWords(s->workingCopy, Type_Transform))->c, -kOne);
}

TEST_F(SelectionTest, APadStackWithoutItsInfoIsReportedAndLeftAlone) {
  Tower* pad = Own(InsertEmptyEntity(design, 141));
  SelectionInfo* s = SelectSymbol(pad);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(TransformSelectionInfoOrigin(s, &pl3::R90, 1), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"TransformSelectionInfoOrigin: Error - PadStackInfo not found"}));
}

TEST_F(SelectionTest, DesignatorOffsetsMoveWhereTheyExistAndAreCreatedWhereNot) {
  Tower* with = StoreSymbol("U1");
  Tower* without = StoreSymbol("U2");
  SelectionInfo* a = SelectSymbol(with);
  SelectionInfo* b = SelectSymbol(without);
  ASSERT_TRUE(a && b);
  // The ghost copies the insertion array would build.
  a->copyInstanceInfo = InsertEmptyEntity(design, 4000);
  b->copyInstanceInfo = InsertEmptyEntity(design, 4000);
  const std::int32_t offset[2] = {10, 20};
  Own(InsertEntity(a->copyInstanceInfo, sizeof offset, Type_Offset, offset));
  EXPECT_EQ(ShiftDesignatorOffsets(w->SelectionList, {5, -7}), 1) << "only the moved offset counts";
  const std::int32_t* moved = ChildWords(a->copyInstanceInfo, Type_Offset);
  EXPECT_EQ(moved[0], 15);
  EXPECT_EQ(moved[1], 13);
  const std::int32_t* made = ChildWords(b->copyInstanceInfo, Type_Offset);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made[0], 5);
  EXPECT_EQ(made[1], -7);
  for (SelectionInfo* s : {a, b}) {
    DeleteEntity(s->copyInstanceInfo);
    ReleaseTower(&s->copyInstanceInfo);
  }
}

TEST_F(SelectionTest, CopyWithAStepLeavesTheOriginalAndGivesTheCopyANewSteppedAttribute) {
  for (const int action : {kApplyCopyIncrement, kApplyCopyDecrement}) {
    SCOPED_TRACE(action);
    Tower* item = StoreNetNameLocator("N7", 42);
    SelectionInfo* s = Select(item);
    ASSERT_NE(s, nullptr);
    std::free(ApplySelectionInfo(s, action));
    EXPECT_EQ(s->original, nullptr) << "the original is released";
    EXPECT_EQ(TowerEntity(item)->flags & (kEntitySelected | kEntityWorkingCopy), 0);
    EXPECT_EQ(reinterpret_cast<const LocatorPayload*>(TowerPayload(item))->attributeId, 42u);
    const auto* copy = reinterpret_cast<const LocatorPayload*>(TowerPayload(s->workingCopy));
    ASSERT_NE(copy->attributeId, 42u);
    Tower* fresh = FindDesignAttributeById(copy->attributeId);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(reinterpret_cast<const AttributePayload*>(TowerPayload(fresh))->kind, 3u);
    Tower* value = OpenChildTower(fresh, Type_AttributeValue);
    EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(value)),
                 action == kApplyCopyIncrement ? "N7+1" : "N7-1");
    ReleaseTower(&value);
    ReleaseTower(&fresh);
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  }
}

// ---- The Options menu's actions ---------------------------------------------

// Lines: entries 0, 1 and 3 on, 2 off; Vias: two entries on.
const char kActionSizes[] =
    "[Lines]\r\n"
    "\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"D\" \"\"\r\n\"0.3\" \"mm\" \"\" \"N\" \"\"\r\n"
    "\"0.4\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Vias]\r\n\"1\" \"1\" \"mm\" \"\" \"Y\" \"\"\r\n\"2\" \"2\" \"mm\" \"\" \"D\" \"\"\r\n";

class SelectionActionTest : public SelectionTest {
 protected:
  void SetUp() override {
    SelectionTest::SetUp();
    w->sizeTable = ParseSizeText(kActionSizes, sizeof kActionSizes - 1).release();
    ASSERT_NE(w->sizeTable, nullptr);
    ASSERT_EQ((*w->sizeTable)[SizeKind_Lines].count(), 4u);
  }
  void TearDown() override {
    SelectionTest::TearDown();
    w->sizeTable = FreeSizeTable(w->sizeTable);
  }
  // A selected track whose size is the entry of the Lines list (custom: an explicit width).
  SelectionInfo* SelectSizedTrack(std::uint32_t index, bool custom = false, std::int32_t y = kBase) {
    Tower* track = StoreTrack({kBase, y, kBase + 10000, y});
    auto* head = reinterpret_cast<GraphicHead*>(TowerPayload(track));
    head->sizeFlags = custom ? kSizeCustom : kSizeByIndex;
    head->sizeIndex = index;
    return Select(track);
  }
  static const GraphicHead& CopyHead(const SelectionInfo* s) {
    return *reinterpret_cast<const GraphicHead*>(TowerPayload(s->workingCopy));
  }
};

TEST_F(SelectionActionTest, ASingleItemStepsThroughTheOnEntriesAndAnswersForItself) {
  struct Case {
    std::uint32_t action, from;
    bool custom;
    int result;
    std::uint32_t to;
  } const cases[] = {
      {kSelectionSizeUp, 1, false, kSelectionActionDone, 3},  // entry 2 is off
      {kSelectionSizeUp, 3, false, kSelectionActionAtEnd, 3},
      {kSelectionSizeDown, 3, false, kSelectionActionDone, 1},
      {kSelectionSizeDown, 0, false, kSelectionActionAtEnd, 0},
      {kSelectionSizeFirst, 3, false, kSelectionActionDone, 0},
      {kSelectionSizeLast, 0, false, kSelectionActionDone, 3},
      {kSelectionSizeUp, 1, true, kSelectionActionCustom, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "action " << c.action << " from " << c.from);
    SelectionInfo* s = SelectSizedTrack(c.from, c.custom);
    EXPECT_EQ(PerformSelectionArrayAction(c.action, 0), c.result);
    EXPECT_EQ(CopyHead(s).sizeIndex, c.to);
    EXPECT_EQ(reinterpret_cast<const GraphicHead*>(TowerPayload(s->original))->sizeIndex, c.from)
        << "the design's item waits for the accept";
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  }
}

TEST_F(SelectionActionTest, SeveralItemsStepEachOnItsOwnAndAnswerDone) {
  SelectionInfo* top = SelectSizedTrack(3);  // the last of the list: its "at the end" is not the answer
  SelectionInfo* low = SelectSizedTrack(0, false, kBase + 50000);
  SelectionInfo* follower = SelectSizedTrack(0, false, kBase + 90000);
  follower->flags &= static_cast<std::uint8_t>(~kSelectionPrimary);
  EXPECT_EQ(PerformSelectionArrayAction(kSelectionSizeUp, 0), kSelectionActionDone);
  EXPECT_EQ(CopyHead(low).sizeIndex, 1u);
  EXPECT_EQ(CopyHead(top).sizeIndex, 3u);
  EXPECT_EQ(CopyHead(follower).sizeIndex, 0u) << "secondaries keep their size";
}

TEST_F(SelectionActionTest, SetSizeAsksOnceAndGivesEveryItemTheChosenIndexedSize) {
  SelectionInfo* custom = SelectSizedTrack(77, true);
  SelectionInfo* indexed = SelectSizedTrack(1, false, kBase + 50000);
  selectionfakes::sizeChoice = 3;
  EXPECT_EQ(PerformSelectionArrayAction(kSelectionSetSize, 0), kSelectionActionDone);
  EXPECT_EQ(std::count_if(selectionfakes::log.begin(), selectionfakes::log.end(),
                          [](const std::string& l) { return l.rfind("choose size", 0) == 0; }),
            1);
  EXPECT_EQ(selectionfakes::log.back(), "choose size 0 from 1") << "preset from the first item of the list";
  for (const SelectionInfo* s : {custom, indexed}) {
    EXPECT_EQ(CopyHead(s).sizeIndex, 3u);
    EXPECT_EQ(CopyHead(s).sizeFlags & (kSizeByIndex | kSizeCustom), kSizeByIndex);
  }
  selectionfakes::sizeChoice = -1;  // cancelled: nothing changes
  EXPECT_EQ(PerformSelectionArrayAction(kSelectionSetSize, 0), kSelectionActionDone);
  EXPECT_EQ(CopyHead(custom).sizeIndex, 3u);
}

TEST_F(SelectionActionTest, SetSizeStopsAtATypeWithoutSizes) {
  Tower* track = StoreTrack({kBase, kBase, kBase + 10000, kBase});
  SelectionInfo* s = Select(track);
  auto* head = reinterpret_cast<GraphicHead*>(TowerPayload(s->workingCopy));
  head->sizeFlags = kSizeByIndex;
  std::vector<std::uint8_t> polygon(sizeof(pl3::PolygonLayout) + 4 * sizeof(pl3::Point));
  reinterpret_cast<pl3::PolygonLayout*>(polygon.data())->head.transform = pl3::kIdentityTransform;
  Select(Own(InsertEntity(design, static_cast<std::uint32_t>(polygon.size()), Type_Polygon, polygon.data())));
  selectionfakes::sizeChoice = 3;
  PerformSelectionArrayAction(kSelectionSetSize, 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"PerformSelectionArrayAction: Error - Unknown type"}));
  EXPECT_EQ(head->sizeIndex, 0u) << "the polygon, newest, comes first and stops the action";
}

TEST_F(SelectionActionTest, LayerAndColourActionsChangeEachPrimaryCopy) {
  w->layerTable.layers[1].nextLayer = 4;
  SelectionInfo* a = SelectSizedTrack(0);
  SelectionInfo* b = SelectSizedTrack(0, false, kBase + 50000);
  PerformSelectionArrayAction(kSelectionNextLayer, 0);
  EXPECT_EQ(CopyHead(a).layer, 4);
  EXPECT_EQ(CopyHead(b).layer, 4);
  EXPECT_EQ(reinterpret_cast<const GraphicHead*>(TowerPayload(a->original))->layer, 1);
  PerformSelectionArrayAction(kSelectionSetLayer, 7);
  EXPECT_EQ(CopyHead(a).layer, 7);
  EXPECT_EQ(CopyHead(b).layer, 7);
  RemoveSelectionInfo(&w->SelectionList, b);
  selectionfakes::colourChoice = 12;
  PerformSelectionArrayAction(kSelectionSetColour, 0);
  EXPECT_EQ(TowerPayload(a->workingCopy)[0], 12);
  EXPECT_EQ(selectionfakes::log.back(), "choose colour from 7") << "preset with the item's colour";
  selectionfakes::colourChoice = -1;
  PerformSelectionArrayAction(kSelectionSetColour, 0);
  EXPECT_EQ(TowerPayload(a->workingCopy)[0], 12);
}

TEST_F(SelectionActionTest, TheSizeIndexIsSharedOrSaysWhyNot) {
  std::vector<std::uint8_t> polygon(sizeof(pl3::PolygonLayout) + 4 * sizeof(pl3::Point));
  reinterpret_cast<pl3::PolygonLayout*>(polygon.data())->head.transform = pl3::kIdentityTransform;
  CirclePayload circle{};
  circle.head.transform = pl3::kIdentityTransform;
  circle.head.sizeFlags = kSizeByIndex;
  circle.head.sizeIndex = 1;
  struct Item {
    char kind;  // 't' indexed track, 'c' custom track, 'p' polygon, 'o' circle
    std::uint32_t index;
  };
  struct Case {
    std::vector<Item> items;  // selected in order; the last is the head of the list
    std::int32_t expected;
  } const cases[] = {
      {{}, kSizeIndexNone},
      {{{'t', 3}}, 3},
      {{{'t', 1}, {'t', 1}}, 1},
      {{{'t', 1}, {'t', 3}}, kSizeIndexNone},
      {{{'t', 1}, {'c', 1}}, kSizeIndexNotIndexed},
      {{{'p', 0}, {'t', 1}}, kSizeIndexIncompatible},
      {{{'t', 1}, {'p', 0}}, kSizeIndexNoSizes},
      {{{'p', 0}}, kSizeIndexNoSizes},
      {{{'o', 1}, {'t', 1}}, kSizeIndexIncompatible},
      {{{'t', 1}, {'t', 3}, {'c', 0}}, kSizeIndexNotIndexed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case with " << c.items.size() << " items, expected " << c.expected);
    std::int32_t y = kBase;
    for (const Item& item : c.items) {
      y += 50000;
      if (item.kind == 't' || item.kind == 'c') SelectSizedTrack(item.index, item.kind == 'c', y);
      else if (item.kind == 'p')
        Select(Own(InsertEntity(design, static_cast<std::uint32_t>(polygon.size()), Type_Polygon, polygon.data())));
      else Select(Own(InsertEntity(design, sizeof circle, Type_Circle, &circle)));
    }
    EXPECT_EQ(GetSelectionSizeIndex(w->SelectionList), c.expected);
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  }
  // Secondary records do not count.
  SelectSizedTrack(1);
  SelectSizedTrack(3, false, kBase + 50000)->flags = 0;
  EXPECT_EQ(GetSelectionSizeIndex(w->SelectionList), 1);
}

TEST_F(SelectionActionTest, SetLayerKeepsPlacedSymbolsOnSurfaceCopperAndPlanesOnCopper) {
  for (std::uint8_t layer = 1; layer <= 4; ++layer) {
    w->layerTable.layers[layer].flags = kLayerPresent;
    w->layerTable.layers[layer].kind = LayerKind_Copper;
  }
  w->layerTable.layers[34].flags = kLayerPresent;
  w->layerTable.layers[34].kind = LayerKind_SolderResist;
  std::vector<std::uint8_t> polygon(PolygonStoredSize(3));
  reinterpret_cast<pl3::PolygonLayout*>(polygon.data())->head.transform = pl3::kIdentityTransform;
  const char* const kCopper = "Specify Layer: Can only place symbols and pads on copper layers";
  const char* const kSurface = "Specify Layer: Can only place symbols and pads on surface layers";
  const char* const kPlanes = "Specify Layer: Poly planes and cuts can only be placed on copper layers";
  struct Case {
    char first;  // the head of the list: 's' placed symbol, 'p' plane, 't' track
    std::uint32_t layer;
    const char* refusal;  // null: allowed
  } const cases[] = {
      {'s', 1, nullptr}, {'s', 4, nullptr}, {'s', 2, kSurface}, {'s', 34, kCopper}, {'s', 300, kCopper},
      {'p', 2, nullptr}, {'p', 34, kPlanes}, {'t', 34, nullptr}, {'t', 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << " to layer " << c.layer);
    pl3::ClearResponderRecords();
    Select(StoreTrack({kBase, kBase, kBase + 4000, kBase}));
    if (c.first == 's') SelectSymbol(StoreSymbol("U1"));
    else if (c.first == 'p')
      Select(Own(InsertEntity(design, static_cast<std::uint32_t>(polygon.size()), Type_Plane, polygon.data())));
    EXPECT_EQ(ValidateSelectionForAction(kSelectionSetLayer, c.layer), c.refusal ? 0 : 1);
    EXPECT_EQ(Boxes(), c.refusal ? std::vector<std::string>{c.refusal} : std::vector<std::string>{});
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  }
}

TEST_F(SelectionActionTest, AcceptingOneItemMakesItsIndexedSizeTheOneNewItemsTake) {
  SelectionInfo* s = SelectSizedTrack(3);
  MoveTo({kBase + 1000, kBase});
  AcceptSelectionArray(view);
  EXPECT_EQ((*w->sizeTable)[SizeKind_Lines].defaultIndex, 3u);

  SelectionInfo* custom = SelectSizedTrack(0, true);
  MoveTo({kBase + 1000, kBase});
  AcceptSelectionArray(view);
  EXPECT_EQ((*w->sizeTable)[SizeKind_Lines].defaultIndex, 3u) << "a custom size is not adopted";
  (void)custom;

  SelectSizedTrack(0);
  SelectSizedTrack(0, false, kBase + 50000);
  MoveTo({kBase + 1000, kBase});
  AcceptSelectionArray(view);
  EXPECT_EQ((*w->sizeTable)[SizeKind_Lines].defaultIndex, 3u) << "only a single item is adopted";

  Tower* via = StoreVia(kBase, kBase);
  reinterpret_cast<GraphicHead*>(TowerPayload(via))->sizeFlags = kSizeByIndex;
  w->CurrentViaSize = 5;
  Select(via);
  MoveTo({kBase + 1000, kBase});
  AcceptSelectionArray(view);
  EXPECT_EQ((*w->sizeTable)[SizeKind_Vias].defaultIndex, 0u);
  EXPECT_EQ(w->CurrentViaSize, 0u);
  (void)s;
}
