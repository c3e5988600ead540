// The program's stand-ins for the attribute chooser of items other than
// symbol instances and the imported value look-up (edit/attribute_choice.h)
// until the design objects and the netlist code land: nothing is chosen and
// no value is known.
#include "edit/attribute_choice.h"

char* ChooseAttributeName() { return nullptr; }
const char* GetImportedValueByDesignator(const char*, const char*) { return nullptr; }
