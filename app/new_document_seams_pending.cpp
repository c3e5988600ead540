// The program's stand-ins for what a new document asks of the drawing code,
// the frame's view placement, the PCB editor, the layer stack-up pane and the
// design rule checks (objects/new_documents.h) until those land: nothing is
// snapped, and each missing builder of a PCB's records beeps.
#include "objects/new_documents.h"

#include "platform/user.h"

void SaveShowInitialiseWindow(const NewObjectInfo*) {}
void CreateDefaultBoardSetup(const Tower*) { MessageBeep(0); }
void BuildDefaultLayerStackup(const Tower*, std::uint32_t) { MessageBeep(0); }
void WriteDefaultDRCOptions(const Tower*) { MessageBeep(0); }
void CreateDefaultDRCRules(const Tower*) { MessageBeep(0); }
