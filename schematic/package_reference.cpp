// The package reference a copied schematic symbol keeps before it is
// unpackaged: a package-name attribute (kind 18) from which automatic
// packaging finds the package and the instance again after a paste.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "edit/clipboard_seams.h"
#include "objects/attribute_services.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "schematic/package_records.h"
#include "store/document_filing.h"
#include "store/file_dialogs.h"
#include "store/filing_settings.h"
#include "store/tower.h"

namespace {

// Field and group ends of a package-name text.
constexpr char kFieldEnd = '\t';
constexpr char kGroupEnd = '\a';

// The container path below the library folder, or the whole path when it
// lies elsewhere (or no library folder is set).
std::string RelativeToLibraryFolder(const std::string& path) {
  const std::string& folder = DialogStartFolders().libraryPath;
  if (folder.empty()) return path;
  const std::optional<std::string> relative = GetRelativePath(folder.c_str(), path.c_str());
  return relative ? *relative : path;
}

// Deletes every Attribute of the kind under the item.
void DeleteAttributesOfKind(const Tower* item, std::uint32_t kind) {
  for (;;) {
    Tower* attributes = GetChildTower(item, Type_Attribute);
    bool found = false;
    while (attributes && FindNextEntity(attributes)) {
      const std::uint8_t* a = PayloadOfAtLeast(TowerEntity(attributes), sizeof(AttributePayload));
      if (a && ReadU32(a, 0) == kind) {
        found = true;
        break;
      }
    }
    if (found) DeleteEntity(attributes);
    ReleaseTower(&attributes);
    if (!found) return;
  }
}

// The package-name text of a packaged symbol: group 0 the package's library
// path (below the library folder) and item path; group 1 the instance's
// designator, then the gates the symbol carries when it does not carry them
// all. Empty when the symbol's instance or its definition cannot be found.
std::string BuildPackageReference(const Tower* symbol) {
  Tower* schematic = PackageSchematicOf(symbol);
  Tower* instance = FindSymbolPackageInstance(symbol, schematic);
  Tower* definition = instance ? GetPackageDefinition(instance) : nullptr;
  std::string text;
  if (definition) {
    std::string designator;
    const std::vector<std::string> gates = GetSymbolGateNames(symbol, &designator);
    // "%s%s\t%s", or "%s%s\t%s\t" followed by the gates, the first separator
    // closing the group of the package's path.
    text = RelativeToLibraryFolder(ReadChildText(definition, kRecordLibraryName)) +
           ReadChildText(definition, kRecordItemPath) + kGroupEnd + designator;
    if (!gates.empty()) {
      text += kFieldEnd;
      for (const std::string& gate : gates) text += gate + kFieldEnd;
    }
  }
  ReleaseTower(&definition);
  ReleaseTower(&instance);
  ReleaseTower(&schematic);
  return text;
}

}  // namespace

void RecordPackageReference(const Tower* symbol, char* buffer, std::size_t bufferSize) {
  if (buffer && bufferSize) buffer[0] = 0;
  if (!IsSymbolPackaged(symbol)) return;
  const std::string text = BuildPackageReference(symbol);
  if (text.empty()) return;
  DeleteAttributesOfKind(symbol, kAttributePackageName);
  Tower* attribute = InsertAttributeWithId(symbol, kAttributePackageName, text.c_str(), 0, 0);
  ReleaseTower(&attribute);
  if (buffer && bufferSize) {
    const std::size_t n = std::min(text.size(), bufferSize - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
  }
}
