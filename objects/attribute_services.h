// What the design objects ask of the schematic editor and the netlist code
// about attributes: the Attribute records (type 31) and their value texts,
// attribute ids, the current sizes of schematic objects, net names at points,
// the page item list, the net-name dialog, imported symbols and user
// attribute texts. The Attribute helpers are defined in
// schematic/attributes.cpp and schematic/imported_symbols.cpp; the net
// look-ups belong to the netlist code (the program's stand-ins are in
// app/net_seams_pending.cpp).
#pragma once
#include <cstdint>

struct Tower;

// An Attribute payload: {kind (LocatorKind), second word, 0, attribute id};
// its Type_AttributeValue child holds the value text ("name" NUL "value" for
// a user attribute, kind 14).
#pragma pack(push, 1)
struct AttributePayload {
  std::uint32_t kind;
  std::uint32_t second;
  std::uint32_t zero;
  std::uint32_t id;
};
#pragma pack(pop)
static_assert(sizeof(AttributePayload) == 16);

// ---- Attribute records (schematic/attributes.cpp) -----------------------------------

// A Tower on the Attribute child of the item whose id is `id`, or null. The
// caller releases it.
Tower* FindAttributeById(const Tower* item, std::uint32_t id);
// FindAttributeById on the root of the active window's design.
Tower* FindDesignAttributeById(std::uint32_t id);
// The Attribute of the locator's owner (one level up) whose id is the locator's, or null.
Tower* FindLocatorAttribute(const Tower* locator);
// The Attribute of the kind under the locator's owner, or null.
Tower* FindOwnerAttributeOfKind(const Tower* locator, std::uint32_t kind);
// The value text of the item's first Attribute of the kind, or null (owned by the store).
const char* GetAttributeValue(const Tower* item, std::uint32_t kind);
// Inserts an Attribute {kind, second, 0, id} under the parent with the value
// text (and its NUL) as its Type_AttributeValue child. The caller releases it.
Tower* InsertAttributeWithId(const Tower* parent, std::uint32_t kind, const char* value, std::uint32_t second,
                             std::uint32_t id);
// Increments and returns the attribute-id counter of the Schematic of the
// active window's design; 0 when there is none.
std::uint32_t NewAttributeId();
// Splits "name" NUL "value" of `size` bytes: the name is the text itself, the
// value starts after the name's NUL (empty when missing). Never reads past size.
void SplitNameValuePair(const char* text, std::uint32_t size, const char** name, const char** value);
// Sets the item's user attribute of the name to the value, inserting it when
// missing. The caller releases the result.
Tower* SetUserAttribute(const Tower* item, const char* name, const char* value);
// The 13 u32 words of the current-size record (11025) of a schematic symbol
// definition or Schematic, or of a page's Schematic, inserted zero-filled when
// missing: word 0 the wire and word 1 the bus index (Lines), words 2 to 7 the
// attribute locator indices (Fonts). Null for any other design. Defined in
// schematic/current_size.cpp.
std::uint32_t* GetCurrentSizeRecord(const Tower* design);
// The current size index of a schematic object kind (type 28, 29 or 20 with a
// locator kind), clamped to the last entry of its list in the window's size table.
std::uint32_t GetCurrentSizeIndex(std::uint16_t code, std::uint16_t locatorKind);
// A heap copy of the name of the global-net list under the Schematic (or of
// the program default when null); "Global Net Names" when missing or empty.
char* GetGlobalNetListName(const Tower* schematic);
// Runs dialog 1030 "Net Name" on a 1,024-byte buffer holding the proposed
// text; non-zero on OK with the entered text in the buffer.
int ShowNetNameDialog(char* buffer);
constexpr std::uint32_t kNetNameBufferSize = 1024;

// ---- Imported netlists and user attributes (schematic/imported_symbols.cpp) ----------

// A Tower on the Imported Symbol (243) under the Net Hier Group whose
// Imported Designator (244) equals the designator (without regard to case),
// or null. The caller releases it.
Tower* FindImportedSymbol(const Tower* netHierGroup, const char* designator);
// A new heap copy of the value of the item's user attribute (an Attribute,
// 31, of kind 14, whose value text is "name" NUL "value") of that name;
// "??name??" when the item has none, "??User??" for an empty name, and
// "User attribute without data" when the attribute has no value record.
char* GetUserAttributeText(const Tower* item, const char* name);

// When set, an IO port being inserted turns along the wire that ends at it.
extern int IOPortOrientationOption;

// One item of a page: its type code and a copy of its payload.
struct PageItem {
  std::uint32_t type;
  std::uint32_t size;
  std::uint8_t* payload;  // owned; for wires and buses words 1 to 4 are x1, y1, x2, y2
  PageItem* next;
};
// A new list of the page's items; freed with FreePageItemList.
PageItem* BuildPageItemList(const Tower* design, int flags);
void FreePageItemList(PageItem* list);

// ---- Net look-ups (the netlist code) ------------------------------------------------

// A heap string with the net at the point: "Conflict!" when several nets
// meet there, "None" when there is none.
char* GetLocatorNetName(const Tower* design, std::int32_t x, std::int32_t y);
// A heap string with the name of the net at the point (names an IO port).
char* GetNetNameAtPoint(const Tower* design, std::int32_t x, std::int32_t y);
// Recomputes and redraws the net names shown by the page's net-name locators.
void UpdateNetNameLocators(const Tower* design, std::uint32_t flags);
