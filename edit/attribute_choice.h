// Choosing the attribute a new attribute display shows, and the imported
// value it takes. ChooseItemAttribute is dialog 1186 "Select Attribute"
// (app/attribute_choice_dialog.cpp); the chooser of other items belongs to
// the design objects and the value look-up to the netlist code, which the
// program reaches through the stand-ins of app/attribute_choice_seams_pending.cpp
// until they land. Tests link fakes.
#pragma once

struct Tower;

// Dialog 1186 over the attribute names of the imported symbol of the item's
// designator: a new heap name (std::free) on OK, else null.
char* ChooseItemAttribute(const Tower* item);
// The attribute chooser of items other than symbol instances: a new heap
// name, or null.
char* ChooseAttributeName();
// The value of the named attribute of the imported symbol of the designator,
// not a copy; null when there is none.
const char* GetImportedValueByDesignator(const char* designator, const char* name);
