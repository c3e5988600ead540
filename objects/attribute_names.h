// The names of user attributes an item already knows of, offered when a new
// attribute is added: a sorted list without names that differ only in case.
#pragma once

struct Tower;

// One name; the list is kept in ascending order compared without regard to
// case, without two names that compare equal so. Freed with FreeNameList.
struct AttributeNameList {
  char* name;  // heap
  AttributeNameList* next;
};

// The list with a copy of the name inserted at its place, or unchanged when
// an equal name (without regard to case) is present. Null names are ignored.
AttributeNameList* AddNameSorted(const char* name, AttributeNameList* list);
// Adds the names of the text's fields: a field starts at '%' and runs over
// letters, digits and underscores, ending at any other character (a '%' that
// ends a field starts the next at once); "%%" outside a field is a literal
// percent sign. An empty field gives the empty name.
AttributeNameList* AddTextFieldNames(const char* text, AttributeNameList* list);
// The names an item's user attributes may take: those of its User locators
// (kind 14, from their 11020 name records) and the fields of its texts; for a
// Schematic, those of the window's design and of every special-function or
// net-name graphic symbol definition that its schematic symbols refer to.
AttributeNameList* CollectUserAttributeNames(const Tower* item);
void FreeNameList(AttributeNameList* list);
