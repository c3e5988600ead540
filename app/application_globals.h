// The application's start-up, run when the frame window is created, and its
// teardown when the frame is destroyed: the default window state, the tower
// store and the program's two top-level towers, the direction table, the
// random words, the start values from the registry and the configuration
// file "PL3.CFG".
#pragma once
#include <cstdint>

struct Tower;
struct CurrentWindowData;

// The window-state block that is active until the first editor window opens.
extern CurrentWindowData DefaultWindowData;
// Its zoom at start, in world units per pixel.
constexpr std::uint32_t kDefaultZoom = 16000;
// The program's two top-level towers: root type 211, and the loaded fonts'
// records (305); both are defined with the fonts (geometry/glyph_fonts.h).
extern Tower* ProgramTower;
extern Tower* FontRecordsTower;
// Heap names kept from start to exit: the configuration file and the rule file.
extern char* ConfigurationFileName;
extern char* RuleFileName;

// The ten start-up steps, then the interface colours and the auto-pan
// settings; called once by the frame on WM_CREATE.
void InitialiseApplication();
// Opens or creates "Initialisation" and reads the directory buffers, the
// file names, the grid list, the column widths and editor options, then
// "PL3.CFG"; LoadDefaultFiles instead when the key cannot be had.
void LoadStartValues();
// The file names in the configuration folder as it stands, the grid list,
// and "PL3.CFG".
void LoadDefaultFiles();
// Saves the auto-pan settings start-up loaded, then frees everything
// InitialiseApplication made; called by the frame on WM_DESTROY right after SaveConfiguration.
// Safe to call again.
void FreeApplicationGlobals();
