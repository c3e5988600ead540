// The program log's pane for the subsystems below the consoles.
#include "app/consoles.h"
#include "objects/console_seams.h"

ConsolePane* ProgramLogPane() { return &ProgramLog; }
