// The frame commands whose operation lies with the editors and dialogs, and
// the hub's own steps around each (Cancel, redraw, record, rebuild).
#include "app/frame_editing_commands.h"

namespace {

constexpr std::uint8_t W = kRowNeedsWindow, C = kRowCancel, D = kRowRedraw, R = kRowRecord, B = kRowRebuild;

constexpr FrameOperationRow kRows[] = {
    // Program dialogs.
    {459, 0}, {307, 0}, {340, R}, {2433, 0}, {2017, 0}, {2359, D}, {2548, D}, {2427, 0},
    // Editor dialogs.
    {302, W | C | D | R}, {2260, W | C | D | R}, {2255, W | C | D | R}, {304, W | C | R},
    {463, W | C | B | D | R}, {2334, W | C | D | R}, {2426, W | D}, {2603, W}, {2394, W | C}, {2348, W | C},
    {2430, W}, {2539, W}, {2594, W}, {2425, W | D}, {2658, W | D}, {2571, W | C}, {2690, W | C | B},
    // Edit menu and the selection.
    {2270, W}, {2268, W}, {2269, W}, {438, W}, {2049, W}, {2545, W},
    // Options of the edit modes.
    {435, W}, {436, W}, {422, W}, {2004, W}, {426, W}, {427, W}, {428, W}, {2414, W}, {443, W}, {444, W},
    {2040, W}, {2302, W}, {2303, W}, {2305, W}, {2354, W}, {2507, W}, {2360, W}, {2362, W}, {2391, W},
    {2649, W}, {2652, W}, {2653, W}, {2654, W}, {2285, W}, {2382, W}, {2383, W}, {2443, W}, {2482, W},
    {2674, W}, {2432, W}, {2447, W}, {421, W}, {2505, W},
    // Tools.
    {2253, W}, {2254, W}, {2538, W}, {448, W}, {449, W}, {2252, W}, {451, W}, {2264, W | D}, {2288, W},
    {2287, W}, {2379, W}, {266, W}, {2405, W}, {2406, W}, {2415, W}, {2431, W}, {2420, W}, {2421, W},
    {2422, W}, {2423, W}, {2553, W | D}, {2554, W | D}, {2625, W}, {2535, W}, {2396, W}, {2599, W | D},
    {2617, W | D}, {2619, W | D}, {2621, W | D}, {2546, W | C},
    // Schematic symbols.
    {2351, W}, {2442, W}, {2404, W}, {2410, W},
};

}  // namespace

const FrameOperationRow* FindFrameOperationRow(UINT id) {
  for (const FrameOperationRow& row : kRows)
    if (row.id == id) return &row;
  return nullptr;
}
