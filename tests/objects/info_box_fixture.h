// A PCB design shown in an active window, with a font 3 whose characters all
// measure as the missing-glyph box, for the info-box and text-frame tests.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "store/tower.h"
#include "tests/objects/info_box_fakes.h"

class InfoBoxFixture : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    font = infoboxtest::InstallEmptyFont3();
    design = towertest::NewTopLevelEntity(Type_PCB);
    window = std::make_unique<CurrentWindowData>(kEditorPcb, design);
    window->Zoom = 1000;
    sizes = NewSizeTable();
    SizeEntry entry{};
    entry.flags = kSizeEntryOn;
    entry.unit = kSizeUnitNone;
    entry.value1 = 12;
    std::strcpy(entry.name, "12");
    (*sizes)[SizeKind_Fonts].entries.push_back(entry);
    window->sizeTable = sizes.get();
    ActiveWindowData = window.get();
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    for (SelectionInfo* s = window->SelectionList; s;) {
      SelectionInfo* next = s->next;
      ReleaseTower(&s->original);
      delete s;
      s = next;
    }
    window->SelectionList = nullptr;
    window->sizeTable = nullptr;
    ActiveWindowData = nullptr;
    infoboxtest::RemoveFont3(&font);
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  Tower* font = nullptr;
  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<SizeTable> sizes;
};
