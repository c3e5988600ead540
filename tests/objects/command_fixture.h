// An active PCB window with a real (hidden) editor window over a design in
// the tower store, for the pick, polygon, corner and command worker tests.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "editor_seam_fakes.h"
#include "objects/graphic_records.h"
#include "walk_fixture.h"

namespace commandtest {

using Calls = std::vector<std::string>;

class CommandTest : public walktest::WalkTest {
 protected:
  void SetUp() override {
    walktest::WalkTest::SetUp();
    hwnd = editorfakes::MakeEditorWindow("CommandWorkerTest", DefWindowProcA);
    window->Window = hwnd;
    window->Zoom = 1000;
    editorfakes::calls.clear();
  }
  void TearDown() override {
    for (SelectionInfo& s : records) ReleaseTower(&s.workingCopy);
    for (Tower*& t : owned) ReleaseTower(&t);
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    DestroyWindow(hwnd);
    EXPECT_EQ(ViewDCCount, 0u) << "every view context taken was given back";
    walktest::WalkTest::TearDown();
  }
  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }
  template <typename T>
  Tower* Store(std::uint16_t code, const T& payload, const Tower* parent = nullptr) {
    return Own(InsertEntity(parent ? parent : design, sizeof payload, code, &payload));
  }
  // Selection records whose working copies are the items (each record holds
  // its own Tower), primary unless said otherwise.
  void Select(std::vector<std::pair<Tower*, bool>> items) {
    for (SelectionInfo& s : records) ReleaseTower(&s.workingCopy);
    records.assign(items.size(), SelectionInfo{});
    for (std::size_t i = 0; i < items.size(); ++i) {
      records[i].flags = items[i].second ? kSelectionPrimary : 0;
      records[i].workingCopy = DuplicateTower(items[i].first);
      if (i + 1 < items.size()) records[i].next = &records[i + 1];
    }
    window->SelectionList = records.empty() ? nullptr : records.data();
  }
  EntityRecord& Pending(std::uint16_t type) {
    delete window->PendingRecord;
    window->PendingRecord = NewEntityRecord().release();
    window->PendingRecord->header.recordType = type;
    return *window->PendingRecord;
  }
  // Entities of a code directly under the design, newest first.
  std::vector<const Entity*> Children(std::uint16_t code) {
    std::vector<const Entity*> found;
    const Entity* d = TowerEntity(design);
    for (NodeRef g = d->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != code) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) found.push_back(NodeAt<Entity>(e));
    }
    return found;
  }

  HWND hwnd = nullptr;
  std::vector<Tower*> owned;
  std::vector<SelectionInfo> records;
};

}  // namespace commandtest
