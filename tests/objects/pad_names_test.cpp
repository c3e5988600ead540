// Pad names: the Label record, names in sequence, suffix steps, duplicates,
// naming through the dialog, drawing, and symbols by designator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <algorithm>
#include <vector>

#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_services.h"
#include "objects/pad_names.h"
#include "platform/dialog_hooks.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "symbol_fixture.h"

using namespace symboltest;

namespace {

class PadNames : public SymbolFixture {
 protected:
  void SetUp() override {
    SymbolFixture::SetUp();
    MakeDefinition();
    stack = MakeStack(1, {0, 0, 1000, 400});
  }
  void TearDown() override {
    std::free(window->PadNameText);
    ReleaseTower(&window->TemporaryEntity);
    SymbolFixture::TearDown();
  }
  Tower* NamedPad(const char* name) {
    Tower* pad = AddPad(stack, ++xref);
    if (name) SetPadLabel(pad, name);
    return pad;
  }
  std::string Next(const char* base) {
    char* name = GetNextPinName(definition, base);
    std::string out = name ? name : "(null)";
    std::free(name);
    return out;
  }
  Tower* stack = nullptr;
  std::uint32_t xref = 0;
};

TEST_F(PadNames, SetPadLabelStoresOneLabelWithTheOffset) {
  Tower* pad = NamedPad(nullptr);
  EXPECT_EQ(GetPadLabelName(pad), nullptr);
  EXPECT_EQ(GetPadStackInstanceLabel(pad), nullptr);
  window->LabelLayer = 21;
  PadLabelOffset = {100, 200};
  SetPadLabel(pad, "A1");
  SetPadLabel(pad, "GND");
  ASSERT_NE(GetPadLabelName(pad), nullptr);
  EXPECT_STREQ(GetPadLabelName(pad), "GND");
  Tower* hiers = GetChildTower(pad, Type_LabelHier);
  int count = 0;
  while (FindNextEntity(hiers)) ++count;
  ReleaseTower(&hiers);
  EXPECT_EQ(count, 1) << "every older Label Hier is gone";

  Tower* hier = ChildOn(pad, Type_LabelHier);
  Tower* label = ChildOn(hier, Type_Label);
  EXPECT_EQ(TowerEntity(label)->payloadSize >= 57u + 3u, true);
  const auto* head = reinterpret_cast<const PadLabelHead*>(TowerPayload(label));
  EXPECT_EQ(head->flags, 1);
  EXPECT_EQ(head->layer, 21);
  EXPECT_EQ(head->font, 3u);
  EXPECT_EQ(head->transform.a, pl3::kIdentityTransform.a);
  EXPECT_EQ(head->transform.tx, 100);
  EXPECT_EQ(head->transform.ty, 200);
  EXPECT_EQ(head->last, 0u);

  DeletePadLabel(pad);
  EXPECT_EQ(GetPadLabelName(pad), nullptr);
}

TEST_F(PadNames, NextPinNameCountsUpFromTheMatchingPrefix) {
  EXPECT_EQ(Next("GND"), "GND1") << "no pads";
  NamedPad("A1");
  NamedPad("a7");
  NamedPad("B9");
  NamedPad(nullptr);
  EXPECT_EQ(Next("A"), "A8");
  EXPECT_EQ(Next("A3"), "A8") << "the base's own digits do not count";
  EXPECT_EQ(Next("B"), "B10");
  EXPECT_EQ(Next("C"), "C1");
  NamedPad("1");
  NamedPad("2");
  EXPECT_EQ(Next("1"), "3") << "an empty prefix";
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(PadNames, TooHighAPinNumberStopsAt99998) {
  for (const char* high : {"P99999", "P12345678901234567890"}) {
    Tower* pad = NamedPad(high);
    pl3::ClearResponderRecords();
    EXPECT_EQ(Next("P"), "P99998") << high;
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text, "Too high a Pin number");
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetNextPinName");
    DeleteEntity(pad);
  }
  NamedPad("P99998");
  pl3::ClearResponderRecords();
  EXPECT_EQ(Next("P"), "P99999");
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(PadNames, AssignNextPinNameKeepsTheLabelPosition) {
  NamedPad("R4");
  PadLabelOffset = {7, 8};
  Tower* pad = NamedPad("R1");
  PadLabelOffset = {0, 0};
  AssignNextPinName(pad);
  EXPECT_STREQ(GetPadLabelName(pad), "R5");
  EXPECT_EQ(PadLabelOffset.x, 7);
  EXPECT_EQ(PadLabelOffset.y, 8);
  const auto* head = reinterpret_cast<const PadLabelHead*>(GetPadStackInstanceLabel(pad));
  EXPECT_EQ(head->transform.tx, 7);
}

TEST_F(PadNames, SuffixSteps) {
  struct Case {
    const char* name;
    int increment;  // 1 increment (letters allowed), 2 increment (no letters), 0 decrement
    int changed;
    const char* result;
  };
  const Case cases[] = {
      {"99", 1, 1, "100"},   {"R9", 1, 1, "R10"},   {"A09", 1, 1, "A10"}, {"R", 1, 1, "S"},
      {"r", 2, 0, "r"},      {"Z", 1, 0, "Z"},      {"z", 1, 0, "z"},     {"R-", 1, 0, "R-"},
      {"", 1, 0, ""},        {"R1", 0, 1, "R0"},    {"R10", 0, 1, "R9"},  {"R0", 0, 0, "R0"},
      {"b", 0, 1, "a"},      {"A", 0, 0, "A"},      {"a", 0, 0, "a"},     {"R_", 0, 0, "R_"},
      {"X99999999999999999999", 1, 1, "X18446744073709551615"},
  };
  for (const Case& c : cases) {
    char* name = static_cast<char*>(std::malloc(std::strlen(c.name) + 1));
    std::strcpy(name, c.name);
    const int changed = c.increment ? IncrementNameSuffix(&name, c.increment == 1) : DecrementNameSuffix(name);
    EXPECT_EQ(changed, c.changed) << c.name;
    EXPECT_STREQ(name, c.result) << c.name;
    std::free(name);
  }
}

TEST_F(PadNames, DuplicatesIgnoreCase) {
  Tower* first = NamedPad("pin1");
  Tower* second = NamedPad("PIN1");
  Tower* third = NamedPad("PIN2");
  Tower* bare = NamedPad(nullptr);
  EXPECT_EQ(IsPadNameDuplicate(first), 1);
  EXPECT_EQ(IsPadNameDuplicate(second), 1);
  EXPECT_EQ(IsPadNameDuplicate(third), 0);
  EXPECT_EQ(IsPadNameDuplicate(bare), 0);

  SelectionInfo one{};
  one.original = second;
  SelectionInfo other{};
  other.original = stack;  // not a pad: left alone
  one.next = &other;
  DeleteSelectedPadLabels(&one);
  EXPECT_EQ(GetPadLabelName(second), nullptr);
  EXPECT_EQ(IsPadNameDuplicate(first), 0);
}

TEST_F(PadNames, EditPadNameThroughTheDialog) {
  static std::string shownCaption, shownText;
  static const char* answer;
  static int confirm;
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    char buffer[64] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    shownCaption = buffer;
    GetDlgItemText(dialog, 72, buffer, sizeof buffer);
    shownText = buffer;
    pl3::TypeDialogText(dialog, 72, answer);
    pl3::ClickDialogButton(dialog, confirm ? IDOK : IDCANCEL);
  });
  Tower* pad = NamedPad("A1");
  PadLabelHead* label = nullptr;

  confirm = 0;
  answer = "B2";
  EXPECT_EQ(EditPadName(pad, &label), 0);
  EXPECT_EQ(shownText, "A1") << "the pad's name is offered";
  EXPECT_EQ(shownCaption, "Edit Pad Name");
  EXPECT_EQ(window->TemporaryEntity, nullptr);
  EXPECT_EQ(label, nullptr);

  confirm = 1;
  answer = "";
  EXPECT_EQ(EditPadName(pad, &label), 0) << "an empty name is refused and the dialog cancelled";
  EXPECT_EQ(window->TemporaryEntity, nullptr);

  answer = "VCCAAAAAAAAAAAAAAAAAA";
  EXPECT_EQ(EditPadName(pad, &label), 0) << "21 characters: longer than a pad name may be";

  answer = "VCC";
  ASSERT_EQ(EditPadName(pad, &label), 1);
  ASSERT_NE(label, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(label + 1), "VCC");
  EXPECT_STREQ(window->PadNameText, "VCC");
  EXPECT_EQ(window->EditMode, 32);
  ASSERT_NE(window->TemporaryEntity, nullptr);
  EXPECT_EQ(LastLevel(window->TemporaryEntity).typeCode, Type_LabelHier);
  EXPECT_TRUE(TowerEntity(window->TemporaryEntity)->flags & 0x04);
  std::free(label);

  static const Entity* finished;
  symbolfakes::Hook().finishPinPlacement = [](Tower* t) { finished = TowerEntity(t); };
  const Entity* hier = TowerEntity(window->TemporaryEntity);
  EndPadNaming();
  EXPECT_EQ(finished, hier);
  EXPECT_EQ(window->TemporaryEntity, nullptr);
  EXPECT_EQ(window->EditMode, 0);
}

TEST_F(PadNames, DrawPadLabelOnlyWhenTheNameFits) {
  Tower* pad = NamedPad("WIDE");
  Tower* label = ChildOn(ChildOn(pad, Type_LabelHier), Type_Label);
  // The pad's box (1,000 x 400 world units) on a white surface, seen at a
  // zoom that makes it 100 x 40 pixels, then at ten times that.
  constexpr int kSide = 120;
  std::vector<std::uint32_t> pixels(kSide * kSide, 0xFFFFFF);
  pl3::PixelSurface surface{pixels.data(), kSide, kSide, kSide};
  HDC dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kSide, kSide});
  pl3::ViewMapping view{0, 0, 10};
  pl3::g_raster.view = &view;
  struct Case {
    std::uint32_t zoom;
    bool drawn;
  };
  for (const Case c : {Case{10, true}, Case{100, false}}) {
    SCOPED_TRACE(c.zoom);
    std::fill(pixels.begin(), pixels.end(), 0xFFFFFFu);
    view.zoom = c.zoom;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(c.zoom);
    EXPECT_EQ(DrawPadLabel(dc, label), 1);
    int red = 0, other = 0;
    for (std::uint32_t p : pixels) {
      if (p == 0x810000u) ++red;
      else if (p != 0xFFFFFFu) ++other;
    }
    EXPECT_EQ(red > 0, c.drawn) << "the name in RGB(129, 0, 0)";
    if (!c.drawn) {
      EXPECT_EQ(other, 0) << "nothing at all";
    }
    // A transparent background: most of the surface stays white.
    EXPECT_LT(red + other, kSide * kSide / 10);
  }
  pl3::DeleteSurfaceDC(dc);
  pl3::g_raster.view = nullptr;
}

TEST_F(PadNames, MoveLabelToMouseByViewPixels) {
  PadLabelHead* label = NewPadLabel("X");
  label->transform.tx = 1000;
  label->transform.ty = 1000;
  window->Zoom = 100;
  MoveLabelToMouse(label, {1050, 1099});
  EXPECT_EQ(label->transform.tx, 1000) << "the same view pixel";
  MoveLabelToMouse(label, {1150, 1000});
  EXPECT_EQ(label->transform.tx, 1150);
  // The mouse point is snapped to the grid first.
  WalkHandlers.snapXY = [](std::int32_t* x, std::int32_t* y, int) {
    *x = *x / 1000 * 1000;
    *y = *y / 1000 * 1000;
  };
  MoveLabelToMouse(label, {5678, 1234});
  EXPECT_EQ(label->transform.tx, 5000);
  EXPECT_EQ(label->transform.ty, 1000);
  std::free(label);
}

class SymbolByDesignator : public PadNames {
 protected:
  // An imported symbol of the designator, mapped to the definition when `mapped`.
  Tower* Import(const char* designator, bool mapped) {
    if (!group) group = Own(InsertEntity(design, 0, Type_NetHierGroup, nullptr));
    Tower* symbol = Own(InsertEntity(group, 0, Type_ImportedSymbol, nullptr));
    Tower* t = InsertEntity(symbol, static_cast<std::uint32_t>(std::strlen(designator) + 1), Type_ImportedDesignator,
                            designator);
    ReleaseTower(&t);
    if (mapped) Put(symbol, 283, RefOf(definition));
    return symbol;
  }
  Tower* group = nullptr;
};

TEST_F(SymbolByDesignator, GetSymbolAndItsMessages) {
  char designator[] = "u1";
  EXPECT_EQ(GetSymbol(nullptr, design, designator), nullptr);
  Import("U1", true);
  Import("R7", false);
  Tower* found = GetSymbol(nullptr, design, designator);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(definition));
  EXPECT_STREQ(designator, "U1") << "the netlist's case";
  ReleaseTower(&found);
  char unmapped[] = "r7";
  EXPECT_EQ(GetSymbol(nullptr, design, unmapped), nullptr);
  char missing[] = "C3";
  EXPECT_EQ(GetSymbol(nullptr, design, missing), nullptr);
  const auto& records = pl3::ResponderRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].text, "Error - no nets have been imported");
  EXPECT_EQ(records[1].text, "Error - symbol has not been mapped");
  EXPECT_EQ(records[2].text, "Error - could not find symbol");
  for (const auto& r : records) EXPECT_EQ(r.caption, "Get Symbol");
}

TEST_F(SymbolByDesignator, SyncReplacesValuesThatDiffer) {
  Place(0, 0);
  Tower* designatorGroup = Own(InsertEntity(instance, 0, Type_Designator, nullptr));
  Tower* t = InsertEntity(designatorGroup, 3, Type_DesignatorString, "U1");
  ReleaseTower(&t);
  Tower* imported = Import("U1", true);
  Tower* list = Own(InsertEntity(imported, 0, 289, nullptr));
  const auto addAttribute = [&](const char* name, const char* value) {
    Tower* a = Own(InsertEntity(list, 0, 290, nullptr));
    Tower* n = InsertEntity(a, static_cast<std::uint32_t>(std::strlen(name) + 1), 291, name);
    Tower* v = InsertEntity(a, static_cast<std::uint32_t>(std::strlen(value) + 1), 292, value);
    ReleaseTower(&n);
    ReleaseTower(&v);
    return a;
  };
  Tower* value = addAttribute("VALUE", "10k");
  Tower* same = addAttribute("TOL", "5%");
  Tower* missing = addAttribute("PART", "old");
  // The placed symbol's own user attributes.
  Tower* user = SetUserAttribute(instance, "VALUE", "22k");
  ReleaseTower(&user);
  user = SetUserAttribute(instance, "TOL", "5%");
  ReleaseTower(&user);
  SyncImportedSymbolAttributes(instance);
  EXPECT_STREQ(static_cast<const char*>(GetEntityData(value, 292)), "22k");
  EXPECT_STREQ(static_cast<const char*>(GetEntityData(same, 292)), "5%");
  EXPECT_STREQ(static_cast<const char*>(GetEntityData(missing, 292)), "??PART??")
      << "a symbol without the attribute gives the placeholder";
}

}  // namespace
