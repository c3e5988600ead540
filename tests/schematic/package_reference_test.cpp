// The package reference a copied schematic symbol keeps, over small
// schematics: a package definition with gate-named pins, an instance with its
// gates in use, and a placed symbol linked to some of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/clipboard_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/entity_copy.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "schematic/package_records.h"
#include "store/document_filing.h"
#include "store/file_dialogs.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePage = 104;
constexpr std::uint16_t kTypePlacedSymbol = 30;

void InsertText(const Tower* parent, std::uint16_t code, const char* text) {
  Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(std::strlen(text) + 1), code, text);
  ReleaseTower(&t);
}

void InsertReference(const Tower* parent, std::uint16_t code, const Tower* target) {
  const std::uint32_t reference = NodeRefOf(TowerEntity(target));
  Tower* t = InsertEntity(parent, sizeof reference, code, &reference);
  ReleaseTower(&t);
}

// The values of the item's Attributes of a kind.
std::vector<std::string> AttributeTexts(const Tower* item, std::uint32_t kind) {
  std::vector<std::string> texts;
  Tower* attributes = GetChildTower(item, Type_Attribute);
  while (attributes && FindNextEntity(attributes)) {
    const std::uint8_t* a = PayloadOfAtLeast(TowerEntity(attributes), sizeof(AttributePayload));
    if (!a || ReadU32(a, 0) != kind) continue;
    Tower* value = GetChildTower(attributes, Type_AttributeValue);
    Entity* e = value ? FindNextEntity(value) : nullptr;
    texts.emplace_back(e ? reinterpret_cast<const char*>(EntityPayload(e)) : "(none)");
    ReleaseTower(&value);
  }
  ReleaseTower(&attributes);
  return texts;
}

int ChildCount(const Tower* t, std::uint16_t code) {
  Tower* children = GetChildTower(t, code);
  int n = 0;
  while (children && FindNextEntity(children)) ++n;
  ReleaseTower(&children);
  return n;
}

class PackageReference : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    schematic_ = towertest::NewTopLevelEntity(Type_Schematic);
    definition_ = InsertEmptyEntity(schematic_, Type_PackageDefinition);
    InsertText(definition_, kRecordLibraryName, "C:\\Libs\\Parts.p3l");
    InsertText(definition_, kRecordItemPath, "\\RES");
    instance_ = InsertEmptyEntity(schematic_, Type_PackageInstance);
    InsertReference(instance_, Type_PackageDefinitionRef, definition_);
    Tower* designator = InsertAttributeWithId(instance_, kAttributeDesignatorName, "U1", 1, 0);
    ReleaseTower(&designator);
    page_ = InsertEmptyEntity(schematic_, kTypePage);
    symbol_ = InsertEmptyEntity(page_, kTypePlacedSymbol);
    w_.design = page_;
    ActiveWindowData = &w_;
    DialogStartFolders().libraryPath = "C:\\Libs";
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DialogStartFolders() = DialogFolders{};
    for (Tower** t : {&symbol_, &page_, &instance_, &definition_}) ReleaseTower(t);
    DeleteEntity(schematic_);
    ReleaseTower(&schematic_);
  }

  // The package gets one pin per gate name; the instance and the symbol
  // carry the gates of `carried`, in that order.
  void Package(const std::vector<const char*>& gates, const std::vector<const char*>& carried) {
    for (const char* gate : gates) {
      Tower* pin = InsertEmptyEntity(definition_, Type_PackagePin);
      Tower* a = InsertAttributeWithId(pin, kAttributeGateName, gate, 0, 0);
      ReleaseTower(&a);
      ReleaseTower(&pin);
    }
    InsertReference(symbol_, Type_SymbolPackageRef, instance_);
    for (const char* gate : carried) {
      Tower* inUse = InsertEntity(instance_, static_cast<std::uint32_t>(std::strlen(gate) + 1), Type_GateInUse, gate);
      InsertReference(symbol_, Type_SymbolGateRecord, inUse);
      ReleaseTower(&inUse);
    }
  }

  std::string Record(const Tower* symbol, std::size_t size = 256) {
    std::vector<char> buffer(size, 'x');
    RecordPackageReference(symbol, buffer.data(), buffer.size());
    return buffer.data();
  }

  Tower* schematic_ = nullptr;
  Tower* definition_ = nullptr;
  Tower* instance_ = nullptr;
  Tower* page_ = nullptr;
  Tower* symbol_ = nullptr;
  CurrentWindowData w_{};
};

struct ReferenceCase {
  const char* libraryFolder;
  std::vector<const char*> gates;
  std::vector<const char*> carried;
  const char* expected;
};

TEST_F(PackageReference, TextPerLibraryFolderAndGates) {
  const ReferenceCase cases[] = {
      {"C:\\Libs", {"A", "B"}, {"A"}, "Parts.p3l\\RES\aU1\tA\t"},
      {"c:\\libs\\", {"A", "B"}, {"A"}, "Parts.p3l\\RES\aU1\tA\t"},
      // every gate carried: the instance alone, and packaging matches the gates anew
      {"C:\\Libs", {"A", "B"}, {"A", "B"}, "Parts.p3l\\RES\aU1"},
      {"C:\\Libs", {}, {}, "Parts.p3l\\RES\aU1"},
      // the gates in the order the symbol was given them
      {"C:\\Libs", {"A", "B", "C"}, {"C", "A"}, "Parts.p3l\\RES\aU1\tC\tA\t"},
      // a library outside the folder keeps its whole path
      {"C:\\Other", {"A", "B"}, {"B"}, "C:\\Libs\\Parts.p3l\\RES\aU1\tB\t"},
      {"C:\\Lib", {"A", "B"}, {"B"}, "C:\\Libs\\Parts.p3l\\RES\aU1\tB\t"},
      {"", {"A", "B"}, {"B"}, "C:\\Libs\\Parts.p3l\\RES\aU1\tB\t"},
  };
  for (const ReferenceCase& c : cases) {
    TearDown();
    SetUp();
    DialogStartFolders().libraryPath = c.libraryFolder;
    Package(c.gates, c.carried);
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(Record(symbol_), c.expected);
    EXPECT_EQ(AttributeTexts(symbol_, kAttributePackageName), std::vector<std::string>{c.expected});
  }
}

TEST_F(PackageReference, ReplacesAnOlderReferenceAndKeepsOtherAttributes) {
  Package({"A", "B"}, {"A"});
  Tower* old = InsertAttributeWithId(symbol_, kAttributePackageName, "stale\aU9", 0, 0);
  ReleaseTower(&old);
  Tower* user = InsertAttributeWithId(symbol_, 14, "VALUE", 0, 0);
  ReleaseTower(&user);
  Record(symbol_);
  EXPECT_EQ(AttributeTexts(symbol_, kAttributePackageName), std::vector<std::string>{"Parts.p3l\\RES\aU1\tA\t"});
  EXPECT_EQ(AttributeTexts(symbol_, 14).size(), 1u);
}

TEST_F(PackageReference, ShortBufferGetsTheTextCutAndTerminated) {
  Package({"A", "B"}, {"A"});
  EXPECT_EQ(Record(symbol_, 8), "Parts.p");
  EXPECT_EQ(AttributeTexts(symbol_, kAttributePackageName), std::vector<std::string>{"Parts.p3l\\RES\aU1\tA\t"})
      << "the attribute keeps the whole text";
  char one = 'x';
  RecordPackageReference(symbol_, &one, 1);
  EXPECT_EQ(one, 0);
  RecordPackageReference(symbol_, nullptr, 0);  // no buffer: the attribute alone
  EXPECT_EQ(AttributeTexts(symbol_, kAttributePackageName).size(), 1u);
}

TEST_F(PackageReference, NothingIsRecordedWithoutAReachablePackage) {
  // unpackaged
  EXPECT_EQ(Record(symbol_), "");
  EXPECT_TRUE(AttributeTexts(symbol_, kAttributePackageName).empty());
  // a link naming no instance of the schematic (here the page)
  InsertReference(symbol_, Type_SymbolPackageRef, page_);
  EXPECT_EQ(Record(symbol_), "");
  // a link too short to hold a reference
  DeleteChildEntities(symbol_, Type_SymbolPackageRef);
  Tower* empty = InsertEmptyEntity(symbol_, Type_SymbolPackageRef);
  ReleaseTower(&empty);
  EXPECT_EQ(Record(symbol_), "");
  // an instance whose definition reference names nothing
  DeleteChildEntities(symbol_, Type_SymbolPackageRef);
  InsertReference(symbol_, Type_SymbolPackageRef, instance_);
  DeleteChildEntities(instance_, Type_PackageDefinitionRef);
  InsertReference(instance_, Type_PackageDefinitionRef, instance_);
  EXPECT_EQ(Record(symbol_), "");
  EXPECT_TRUE(AttributeTexts(symbol_, kAttributePackageName).empty());
}

TEST_F(PackageReference, UnterminatedStoredTextsAreReadWithinTheirPayloads) {
  // Payloads are kept in 16-byte steps: sixteen letters leave no room for a NUL.
  DeleteChildEntities(definition_, kRecordItemPath);
  Tower* item = InsertEntity(definition_, 16, kRecordItemPath, "\\ABCDEFGHIJKLMNO");
  ReleaseTower(&item);
  Package({"A", "B"}, {});
  Tower* gate = InsertEntity(instance_, 16, Type_GateInUse, "GGGGGGGGGGGGGGGG");
  InsertReference(symbol_, Type_SymbolGateRecord, gate);
  ReleaseTower(&gate);
  EXPECT_EQ(Record(symbol_), "Parts.p3l\\ABCDEFGHIJKLMNO\aU1\tGGGGGGGGGGGGGGGG\t");
}

TEST_F(PackageReference, GateNamesAndDesignatorOfASymbol) {
  std::string designator = "unset";
  EXPECT_TRUE(GetSymbolGateNames(symbol_, &designator).empty());
  EXPECT_EQ(designator, "unset") << "an unpackaged symbol leaves the designator alone";
  Package({"A", "B", "C"}, {"B", "C"});
  EXPECT_EQ(GetSymbolGateNames(symbol_, &designator), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(designator, "U1");
  EXPECT_EQ(IsSymbolPackaged(symbol_), 1);
  Tower* definition = GetPackageDefinition(instance_);
  ASSERT_NE(definition, nullptr);
  EXPECT_EQ(TowerEntity(definition), TowerEntity(definition_));
  ReleaseTower(&definition);
}

// A copy kept outside the design (the clipboard's) follows its links in the
// active window's Schematic.
TEST_F(PackageReference, ACopyOutsideTheSchematicUsesTheActiveDesign) {
  Package({"A", "B"}, {"B"});
  Tower* clip = towertest::NewTopLevelEntity(1103);
  Tower* copy = CopyAndInsertEntity(clip, symbol_, &pl3::kIdentityTransform);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Record(copy), "Parts.p3l\\RES\aU1\tB\t");
  ActiveWindowData = nullptr;
  DeleteChildEntities(copy, Type_Attribute);
  EXPECT_EQ(Record(copy), "") << "no design to follow the links in";
  ReleaseTower(&copy);
  DeleteEntity(clip);
  ReleaseTower(&clip);
}

// Copy Selection (action 3): the copy keeps its reference and leaves the
// original's package as it was.
TEST_F(PackageReference, KeepingACopyLeavesTheOriginalPackaged) {
  Package({"A", "B"}, {"A"});
  SelectionInfo* list = nullptr;
  SelectionInfo* record = NewSelectionInfo(&list);
  record->flags = 1;
  record->original = DuplicateTower(symbol_);
  record->workingCopy = CopyAndInsertEntity(page_, symbol_, &pl3::kIdentityTransform);
  ASSERT_NE(record->workingCopy, nullptr);
  Tower* copy = DuplicateTower(record->workingCopy);
  std::free(ApplySelectionInfo(record, kApplyKeepCopy));
  EXPECT_EQ(AttributeTexts(copy, kAttributePackageName), std::vector<std::string>{"Parts.p3l\\RES\aU1\tA\t"});
  EXPECT_EQ(ChildCount(copy, Type_SymbolGateRecord), 0) << "the copy no longer names the original's gates";
  EXPECT_EQ(ChildCount(symbol_, Type_SymbolGateRecord), 1);
  EXPECT_EQ(ChildCount(instance_, Type_GateInUse), 1);
  EXPECT_TRUE(AttributeTexts(symbol_, kAttributePackageName).empty());
  ReleaseTower(&record->workingCopy);  // the copy stays in the design
  RemoveSelectionInfo(&list, record);
  ReleaseTower(&copy);
}

}  // namespace
