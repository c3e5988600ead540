// Top-level entities of the program's own: the program's trees (made at
// start-up, deleted at exit) and the short-lived scratch entity ("Temporary",
// code 211) under which records are put together to be written out as a
// tower file of their own (grid files), so that nothing of the program's
// other trees goes into the file.
#pragma once
#include "store/tower.h"

constexpr std::uint16_t kScratchEntityCode = 211;

// A new Tower standing on a new empty top-level entity of the code. The store
// must be started.
Tower* NewTopLevelEntity(std::uint16_t code);
// Deletes the entity with everything under it and releases the Tower; null
// is ignored.
void DeleteTopLevelEntity(Tower** entity);

// A new top-level scratch entity; whoever makes it deletes it with
// DeleteTopLevelEntity.
inline Tower* NewScratchEntity() { return NewTopLevelEntity(kScratchEntityCode); }

// The program's scratch entity under which moving and pasted copies are built
// as Temporary (211) nodes, and which the program's own clipboard holds its
// copy under: made at start-up (or at first use), emptied at exit. Null
// before it is made.
extern Tower* TemporaryCopyRoot;
// TemporaryCopyRoot, made first when there is none.
Tower* GetTemporaryCopyRoot();
// Deletes the scratch entity with everything under it.
void DeleteTemporaryCopyRoot();
