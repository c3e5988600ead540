// The configuration file "PL3.CFG": a tower file whose root (type 10000)
// holds the version "B0.01" (10001), the colour-order mark (10002) and the
// groups of working options (app/configuration_options.h): mouse 10100,
// colours 10200, editing 10300, further options 10400, lengths 10450 and the
// print options record 10451.
#pragma once

constexpr const char* kConfigurationVersion = "B0.01";

// Reads the file and applies it. 1 when it was read and applied; 0 when it
// could not be read (a message, then the built-in colour tables) or the user
// declined to convert a file of another version (the built-in colour tables).
// Options the file lacks, or holds too short, keep their values or take the
// value given for a missing node.
int LoadConfiguration(const char* path);

// Writes the options to the file of that name in the configuration folder
// (replacing it whole), then the editor options to the registry. Returns
// the writer's result; a failure says "Unable to save configuration data".
int SaveConfiguration(const char* name);
