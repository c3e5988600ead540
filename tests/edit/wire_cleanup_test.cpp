#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/line_segments.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "edit/wire_cleanup.h"
#include "edit/schematic_pins.h"
#include "geometry/graphic_layouts.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

// A placed schematic symbol of these tests holds its pins' points as its
// payload: a count, then x, y pairs.
int GetSchematicSymbolPinPoint(const Tower* symbol, int index, pl3::Point* point) {
  const std::uint8_t* p = TowerPayload(symbol);
  std::int32_t count = 0;
  std::memcpy(&count, p, 4);
  if (index < 0 || index >= count) return 0;
  std::memcpy(point, p + 4 + 8 * index, 8);
  return 1;
}

namespace {

using Line = std::array<std::int32_t, 5>;  // kind, x1, y1, x2, y2 with the low end first

Line Normal(std::uint16_t kind, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  if (std::make_pair(x2, y2) < std::make_pair(x1, y1)) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  return {kind, x1, y1, x2, y2};
}

class WireCleanupTest : public testing::Test {
 public:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorSchematic;
    design = towertest::NewTopLevelEntity(Type_Schematic);
    window->design = design;
    window->UndoStep = NewUndoStepNumber();
    ActiveWindowData = window.get();
  }
  void TearDown() override {
    FreeLineSegments(list);
    ActiveWindowData = nullptr;
    ReleaseTower(&design);
  }

  // A stored wire or bus with colour class `colour` and size index `size`.
  Entity* Store(std::uint16_t kind, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                std::uint8_t colour = 3, std::uint32_t size = 1, std::uint16_t flags = 0, std::int32_t width = 100) {
    pl3::TrackLayout l{};
    l.head.layer = colour;
    l.head.sizeFlags = 1;
    l.head.sizeIndex = size;
    l.head.transform = pl3::kIdentityTransform;
    l.width = width;
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    std::uint8_t bytes[72]{};
    std::memcpy(bytes, &l, sizeof l);
    Tower* t = InsertEntity(design, 72, kind, bytes);
    Entity* e = TowerEntity(t);
    e->flags |= flags;
    ReleaseTower(&t);
    return e;
  }
  void Symbol(std::vector<pl3::Point> pins) {
    std::vector<std::uint8_t> bytes(4 + 8 * pins.size());
    const auto count = static_cast<std::int32_t>(pins.size());
    std::memcpy(bytes.data(), &count, 4);
    std::memcpy(bytes.data() + 4, pins.data(), 8 * pins.size());
    Tower* t = InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), 30, bytes.data());
    ReleaseTower(&t);
  }
  void New(std::uint16_t kind, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
           std::uint32_t colour = 5, std::uint32_t size = 2, std::uint32_t width = 100) {
    list = NewLineSegment(kind, list, x1, y1, x2, y2, colour, width, size);
  }
  void Run() {
    CleanUpOrthogonalLines(list, &dirty);
    list = nullptr;
  }
  // Every stored wire and bus, sorted.
  std::vector<Line> Stored() {
    std::vector<Line> lines;
    for (std::uint16_t kind : {Type_Wire, Type_Bus}) {
      Tower* t = GetChildTower(design, kind);
      while (t && FindNextEntity(t)) {
        pl3::TrackLayout l;
        std::memcpy(&l, TowerPayload(t), sizeof l);
        lines.push_back(Normal(kind, l.x1, l.y1, l.x2, l.y2));
      }
      ReleaseTower(&t);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  // Every stored line with its colour class and size index, sorted. (Its
  // width is the size index's: a box or a drawing fills it in.)
  using Valued = std::array<std::int32_t, 7>;
  std::vector<Valued> StoredWithValues() {
    std::vector<Valued> lines;
    for (std::uint16_t kind : {Type_Wire, Type_Bus}) {
      Tower* t = GetChildTower(design, kind);
      while (t && FindNextEntity(t)) {
        pl3::TrackLayout l;
        std::memcpy(&l, TowerPayload(t), sizeof l);
        const Line n = Normal(kind, l.x1, l.y1, l.x2, l.y2);
        lines.push_back({n[0], n[1], n[2], n[3], n[4], l.head.layer, static_cast<std::int32_t>(l.head.sizeIndex)});
      }
      ReleaseTower(&t);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  std::vector<Line> Expect(std::vector<Line> lines) {
    for (Line& l : lines) l = Normal(static_cast<std::uint16_t>(l[0]), l[1], l[2], l[3], l[4]);
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  LineSegment* list = nullptr;
  pl3::Box dirty{-1, -1, 0, 0};
};

constexpr std::uint16_t W = Type_Wire;
constexpr std::uint16_t B = Type_Bus;

TEST_F(WireCleanupTest, ANewWireEndingInsideAStoredWireMakesATJunctionThatStaysSplit) {
  Store(W, 0, 0, 1000, 0);
  New(W, 500, 0, 500, 700);
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 0, 500, 0}, {W, 500, 0, 1000, 0}, {W, 500, 0, 500, 700}}));
  // Running again over nothing new keeps the three ends at the junction apart.
  Run();
  EXPECT_EQ(Stored().size(), 3u);
  EXPECT_LE(static_cast<std::uint32_t>(dirty.xmin), 0u);
  EXPECT_GE(dirty.xmax, 1000);
}

TEST_F(WireCleanupTest, CollinearWiresJoinOnlyWhereNothingElseMeets) {
  struct Case {
    const char* what;
    int extra;  // 0 nothing, 1 a pin at the joint, 2 a third wire ending there
    std::size_t wires;
  };
  for (const Case c : {Case{"alone", 0, 1}, Case{"pin", 1, 2}, Case{"third wire", 2, 3}}) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    Store(W, 0, 0, 400, 0);
    if (c.extra == 1) Symbol({{400, 0}});
    if (c.extra == 2) Store(W, 400, 0, 400, 300);
    New(W, 400, 0, 900, 0);
    Run();
    const std::vector<Line> lines = Stored();
    EXPECT_EQ(lines.size(), c.wires);
    if (c.extra == 0) {
      EXPECT_EQ(lines, Expect({{W, 0, 0, 900, 0}}));
    }
  }
}

TEST_F(WireCleanupTest, WiresMeetingOnABusStayTwoWhetherStoredOrNew) {
  struct Case {
    const char* what;
    bool firstNew, secondNew;  // which of the two wires are new segments
    bool busEnds;              // the bus ends at the joint, else passes through it
  };
  for (const Case c : {Case{"stored and stored", false, false, false}, Case{"stored and new", false, true, false},
                       Case{"new and new", true, true, false}, Case{"stored and new, bus end", false, true, true},
                       Case{"stored and stored, bus end", false, false, true}}) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    if (c.busEnds) Store(B, 400, 0, 400, 600);
    else Store(B, 400, -600, 400, 600);
    if (c.firstNew) New(W, 0, 0, 400, 0);
    else Store(W, 0, 0, 400, 0);
    if (c.secondNew) New(W, 400, 0, 900, 0);
    else Store(W, 400, 0, 900, 0);
    Run();
    std::vector<Line> expected{{W, 0, 0, 400, 0}, {W, 400, 0, 900, 0}};
    expected.push_back(c.busEnds ? Line{B, 400, 0, 400, 600} : Line{B, 400, -600, 400, 600});
    EXPECT_EQ(Stored(), Expect(expected));
  }
}

TEST_F(WireCleanupTest, ANewWireLyingOverAStoredOneLeavesOneWire) {
  struct Case {
    const char* what;
    Line added;
    Line result;
  };
  for (const Case c : {Case{"overlapping its end", {W, 500, 0, 1500, 0}, {W, 0, 0, 1500, 0}},
                       Case{"inside it", {W, 800, 0, 200, 0}, {W, 0, 0, 1000, 0}},
                       Case{"a bus over a bus", {B, 0, 500, 0, -400}, {B, 0, -400, 0, 1000}}}) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    if (c.added[0] == W) Store(W, 0, 0, 1000, 0);
    else Store(B, 0, 0, 0, 1000);
    New(static_cast<std::uint16_t>(c.added[0]), c.added[1], c.added[2], c.added[3], c.added[4]);
    Run();
    EXPECT_EQ(Stored(), Expect({c.result}));
  }
}

TEST_F(WireCleanupTest, JoinedNewWiresKeepTheValuesOfTheStoredOne) {
  Store(W, 0, 0, 0, 400, 7, 4);
  New(W, 0, 400, 0, 900, 1, 9);
  Run();
  Tower* t = GetChildTower(design, W);
  ASSERT_TRUE(t && FindNextEntity(t));
  pl3::TrackLayout l;
  std::memcpy(&l, TowerPayload(t), sizeof l);
  EXPECT_EQ(l.head.layer, 7);
  EXPECT_EQ(l.head.sizeIndex, 4u);
  EXPECT_FALSE(FindNextEntity(t));
  ReleaseTower(&t);
}

TEST_F(WireCleanupTest, PiecesTakeTheValuesOfTheLineThatCutThem) {
  using Valued = std::vector<std::array<std::int32_t, 7>>;  // kind, ends, colour class, size index
  struct Case {
    const char* what;
    void (*build)(WireCleanupTest&);
    Valued expected;
  };
  const Case cases[] = {
      {"a stored wire cut at a pin keeps its own values",
       [](WireCleanupTest& t) {
         t.Symbol({{300, 0}});
         t.Store(W, 0, 0, 1000, 0, 3, 1, 0, 100);
       },
       {{W, 0, 0, 300, 0, 3, 1}, {W, 300, 0, 1000, 0, 3, 1}}},
      {"a stored wire cut by a new end takes the new colour class, keeps its size",
       [](WireCleanupTest& t) {
         t.Store(W, 0, 0, 1000, 0, 3, 1, 0, 100);
         t.New(W, 500, 0, 500, 700, 5, 2, 40);
       },
       {{W, 0, 0, 500, 0, 5, 1}, {W, 500, 0, 500, 700, 5, 2}, {W, 500, 0, 1000, 0, 5, 1}}},
      {"a new wire cut by a stored end keeps its values",
       [](WireCleanupTest& t) {
         t.Store(W, 500, 0, 500, 700, 3, 1, 0, 100);
         t.New(W, 0, 0, 1000, 0, 5, 2, 40);
       },
       {{W, 0, 0, 500, 0, 5, 2}, {W, 500, 0, 500, 700, 3, 1}, {W, 500, 0, 1000, 0, 5, 2}}},
      {"a new wire cut by another takes its colour class, keeps its size",
       [](WireCleanupTest& t) {
         t.New(W, 0, 0, 0, 1000, 5, 2, 40);
         t.New(W, 0, 400, 700, 400, 6, 4, 60);
       },
       {{W, 0, 0, 0, 400, 6, 2}, {W, 0, 400, 0, 1000, 6, 2}, {W, 0, 400, 700, 400, 6, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    c.build(*this);
    Run();
    Valued expected = c.expected;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(StoredWithValues(), expected);
  }
}

TEST_F(WireCleanupTest, ARepeatedWireIsNotStoredInEitherDirection) {
  // Third wires at both ends keep the repeat from being joined away.
  Store(W, 0, 0, 800, 0);
  Store(W, 0, 0, 0, 500);
  Store(W, 800, 0, 800, 500);
  New(W, 800, 0, 0, 0);
  New(W, 0, 0, 800, 0);
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 0, 800, 0}, {W, 0, 0, 0, 500}, {W, 800, 0, 800, 500}}));
}

TEST_F(WireCleanupTest, ADiagonalPassesUnchangedAndIsNeverCut) {
  Store(W, 0, 500, 1000, 500);
  New(W, 0, 0, 1000, 1000);  // crosses the stored wire at (500, 500)
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 500, 1000, 500}, {W, 0, 0, 1000, 1000}}));
}

TEST_F(WireCleanupTest, TwoNewDiagonalsCrossingAsAnXAreBothStored) {
  New(W, 0, 0, 1000, 1000);
  New(W, 0, 1000, 1000, 0);  // the same extent, another wire
  New(W, 1000, 1000, 0, 0);  // the first again, the other way round
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 0, 1000, 1000}, {W, 0, 1000, 1000, 0}}));
}

TEST_F(WireCleanupTest, WiresCrossingAPinAreCutThere) {
  Symbol({{300, 0}, {5000, 5000}});
  Store(W, 0, 0, 1000, 0);    // a stored wire over the pin
  New(W, 300, -500, 300, 500);  // a new wire over the same pin
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 0, 300, 0},
                              {W, 300, 0, 1000, 0},
                              {W, 300, -500, 300, 0},
                              {W, 300, 0, 300, 500}}));
}

TEST_F(WireCleanupTest, NewWiresSplitEachOtherAndSelectedItemsAreLeftAlone) {
  Store(W, 0, 0, 1000, 0, 3, 1, kEntitySelected);  // being moved: neither cut nor joined
  New(W, 0, 0, 0, 1000);
  New(W, 0, 400, 700, 400);  // ends inside the first new wire
  Run();
  EXPECT_EQ(Stored(), Expect({{W, 0, 0, 1000, 0}, {W, 0, 0, 0, 400}, {W, 0, 400, 0, 1000}, {W, 0, 400, 700, 400}}));
}

TEST_F(WireCleanupTest, BusesJoinAndSplitAmongThemselvesButNotWithWires) {
  Store(B, 0, 0, 1000, 0);
  New(B, 1000, 0, 2000, 0);   // joins the stored bus
  New(W, 1500, 0, 1500, 800);  // a wire ending on the bus does not cut it
  Run();
  EXPECT_EQ(Stored(), Expect({{B, 0, 0, 2000, 0}, {W, 1500, 0, 1500, 800}}));
}

TEST_F(WireCleanupTest, UndoPutsTheStoredWiresBack) {
  Store(W, 0, 0, 1000, 0);
  const std::vector<Line> before = Stored();
  New(W, 500, 0, 500, 700);
  Run();
  ASSERT_EQ(Stored().size(), 3u);
  CloseUndoStep(*window, "Edit Selection");
  UndoLastStep();
  EXPECT_EQ(Stored(), before);
  RedoNextStep();
  EXPECT_EQ(Stored().size(), 3u);
}

TEST(LineSegmentsTest, ListsDropZeroLengthSegmentsAndKeepForeignOnes) {
  LineSegment* list = NewLineSegment(28, nullptr, 1, 1, 1, 1, 0, 0, 0);
  EXPECT_EQ(list, nullptr);
  list = NewLineSegment(28, list, 0, 0, 5, 0, 0, 0, 0);
  list = NewLineSegment(29, list, 0, 0, 0, 5, 0, 0, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->kind, 29);
  LineSegment stranger{};
  EXPECT_EQ(RemoveLineSegment(list, &stranger), list);  // shows the message, keeps the list
  list = RemoveLineSegment(list, list);
  EXPECT_EQ(list->kind, 28);
  EXPECT_EQ(list->next, nullptr);
  FreeLineSegments(list);

  PointLink* links = AddPointLink(nullptr, 3, 4, kLinkWireEnd, 0);
  links = AddPointLink(links, 9, 9, kLinkPin, 0);
  links = AddPointLink(links, 3, 4, kLinkBusContact, 0);
  const std::vector<std::uint16_t> codes = ItemsAtPoint(3, 4, links, nullptr);
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{kLinkWireEnd, kLinkBusContact}));
  EXPECT_EQ(PointLinkHasEntry(links, kLinkPin), 1);
  EXPECT_EQ(PointLinkHasEntry(links->next, kLinkPin), 0);
  FreePointLinks(links);
}

TEST(LineSegmentsTest, JunctionLinksMarkTheEndsAndTheWireMeetingsAlongAStraightSegment) {
  struct Node {
    std::int32_t x, y;
    std::uint16_t code;
    std::uint32_t value;
    bool straight, diagonal;  // marked along (0,0)-(100,0), along (0,0)-(100,100)
  };
  const std::vector<Node> nodes = {
      {0, 0, kLinkPin, 0, true, true},             // an end, whatever it holds
      {100, 0, kLinkLocator, 3, true, false},      // the other end of the straight one
      {100, 100, kLinkLocator, 3, false, true},    // the other end of the diagonal
      {50, 0, kLinkWireEnd, 0, true, false},       // a wire meeting it
      {60, 0, kLinkLocator, kLinkIoPortKind, true, false},  // an IO port on it
      {70, 0, kLinkLocator, 3, false, false},      // a net name is no junction
      {80, 0, kLinkPin, 0, false, false},          // nor a pin
      {50, 5, kLinkWireEnd, 0, false, false},      // off the line
      {150, 0, kLinkWireEnd, 0, false, false},     // beyond its end
      {50, 50, kLinkWireEnd, 0, false, false},     // on the diagonal: never inside
  };
  for (const bool diagonal : {false, true}) {
    PointLink* links = nullptr;
    for (const Node& n : nodes) links = AddPointLink(links, n.x, n.y, n.code, n.value);
    const LineSegment segment{28, 0, 0, 0, 0, 0, 0, 100, diagonal ? 100 : 0, nullptr};
    AddWireJunctionLinks(links, &segment);
    for (const Node& n : nodes) {
      const PointLink* node = links;
      while (node && (node->x != n.x || node->y != n.y)) node = node->next;
      ASSERT_NE(node, nullptr);
      EXPECT_EQ(PointLinkHasEntry(node, kLinkBusContact), diagonal ? n.diagonal : n.straight)
          << n.x << "," << n.y << (diagonal ? " diagonal" : " straight");
      EXPECT_LE(node->entries.size(), 2u) << "one mark at most";
    }
    FreePointLinks(links);
  }
}

TEST(LineSegmentsTest, CommonEndTakesTheFirstSharedPairInOrder) {
  const LineSegment a{28, 0, 0, 0, 0, 0, 0, 10, 0, nullptr};
  pl3::Point p{-1, -1};
  EXPECT_EQ(CommonEnd(&p, a, LineSegment{28, 0, 0, 0, 0, 20, 0, 30, 0, nullptr}), 0);
  EXPECT_EQ(p.x, -1);
  EXPECT_EQ(CommonEnd(&p, a, LineSegment{28, 0, 0, 0, 0, 10, 0, 0, 0, nullptr}), 1);
  EXPECT_EQ(p.x, 10);  // a's second end on b's first comes before a's first on b's second
  EXPECT_EQ(MatchEitherValue(1, 2, 1, 9), 1);
  EXPECT_EQ(MatchEitherValue(1, 2, 3, 2), 2);
  EXPECT_EQ(MatchEitherValue(1, 2, 3, 4), 0);
}

}  // namespace
