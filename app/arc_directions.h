// The arc direction table that the kernel's arc traces read, built at start-up.
#pragma once

namespace pl3 {

// Replaces the table by n + 1 unit directions {cos, sin} in equal steps from
// 0 to 45 degrees as unsigned 0.32 fractions: entry 0 is {0xFFFFFFFF, 0},
// entry n {0xB504F334, 0xB504F334}, the others truncated. n below 1 is taken as 1.
void BuildArcDirectionTable(int n);

}  // namespace pl3
