// Record look-ups of the schematic side that the design objects use: the
// Imported Symbol of a designator in a netlist import, and the text of an
// item's user attribute.
#pragma once

struct Tower;

// A Tower on the Imported Symbol (243) under the Net Hier Group whose
// Imported Designator (244) equals the designator (without regard to case),
// or null. The caller releases it.
Tower* FindImportedSymbol(const Tower* netHierGroup, const char* designator);
// A new heap copy of the value of the item's user attribute (an Attribute,
// 31, of kind 14, whose value text is "name" NUL "value") of that name;
// "??name??" when the item has none, "??User??" for an empty name, and
// "User attribute without data" when the attribute has no value record.
char* GetUserAttributeText(const Tower* item, const char* name);
