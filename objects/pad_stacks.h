// Look-ups of pad stacks placed in symbols.
#pragma once

struct Tower;

// The Pad Stack Instance Hier (141) of the enclosing instance's Symbol
// Definition whose Pad-Stack Info Xref equals the 117's; null when the
// instance has no 113 or no pad matches. The caller releases it.
Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo);
