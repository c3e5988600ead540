// Services the application start-up and the configuration file call whose
// owners are not built yet. The program links refusing definitions
// (app/pending_services.cpp: a beep and a failure result, never success);
// tests link recording fakes. Each declaration goes when its owner lands.
#pragma once
#include <cstdint>

struct Tower;
struct CurrentWindowData;

// ---- Colours ----------------------------------------------------------------------

// The 65,536-entry layer colour mix table, indexed by a colour-bit mask.
extern std::uint32_t* LayerColourMix;
// New tables from the built-in colours or from 16 given colours.
std::uint32_t* BuildDefaultLayerColourMix();
std::uint32_t* BuildLayerColourMix(const std::uint32_t* colours16);
// The colour of each bit: entry 2^k for k = 0 to 15.
void GetLayerColours(const std::uint32_t* table, std::uint32_t* colours16);
void FreeLayerColourMixTable();
// The named colour table: built-in values, read from / added to the colour
// group of a configuration tree (type 20036), and the conversion of the older
// group order.
void SetDefaultNamedColours();
int LoadNamedColours(const Tower* colourGroup);
void SaveNamedColours(const Tower* colourGroup);
void ReorderOldColourGroups();
void CreateHighlightColours();
void FreeHighlightColours();

// ---- Editor window set-up -----------------------------------------------------------

// Fills a fresh window-state block with its defaults.
void InitialiseWindowData(CurrentWindowData* window);
// The defaults of a new board.
void NewBoardDefaults();

// ---- Fonts --------------------------------------------------------------------------

// Loads the program's fonts into the font list tower (root type 305).
void LoadFontList(const Tower* fontList);

// ---- Grids --------------------------------------------------------------------------

// Creates and frees the program's grid list.
void CreateGridList();
void FreeGridList();
// Reads and writes the grid list as a tower file; 1 on success.
int LoadGridList(const char* path);
int SaveGridList(const char* path);
