// The editing engine's small helpers: box arithmetic, whether the current
// mode carries items with the cursor, the layer choice of new tracks and
// polygons, the layer of a key letter, the button record's reset, centroid
// parts, a child search and the converted window state's size. The preview
// image of a design box (RenderPreviewBitmap) is RenderBoxThumbnail of
// objects/thumbnail_seams.h; IsItemAttachedToCursor is declared in
// objects/view_seams.h.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/thumbnail_seams.h"
#include "objects/view_seams.h"

struct ButtonRecord;
struct CentroidPayload;
struct TowerNode;
using Entity = TowerNode;
struct Tower;

// Widens the box so that it holds the point.
void AddPointToBox(pl3::Box* box, pl3::Point point);

// The layer itself when it is selectable and of the kind (any kind for 0);
// otherwise the next selectable layer of the kind after it, and when that
// search comes back to it, the one before it. The active window's table.
std::uint8_t ChooseLayerOfKind(std::uint8_t layer, std::uint16_t kind);
// The first present layer whose letter, in upper case, is the character; 255 when none.
std::uint8_t FindLayerByLetter(char letter);

// Zeroes MousePixel, Cursor, MouseWorld and the three words after the hold position.
void ClearButtonRecord(ButtonRecord* record);
// Moves part 0 (the position) or part 6 (the angle handle) of a centroid by
// the offset; other parts stay.
void MoveCentroidPart(CentroidPayload* centroid, pl3::Point offset, std::uint16_t grabbedPart);
// Re-targets the Tower's last level to the code and finds its first entity of it.
Entity* FindFirstChildOfCode(Tower* t, std::uint16_t code);
// The size of the buffer for an earlier-generation converted window state.
constexpr std::uint32_t kPl2BufferSize = 25608;
std::uint32_t GetPl2BufferSize();

// The preview image's side in pixels, and the step its zoom is rounded up to.
constexpr std::int32_t kPreviewSide = 200;
constexpr std::uint32_t kPreviewZoomStep = 64000;
// The zoom of a preview of the box: its larger side over 200, as the next
// whole multiple of 64,000 above the quotient's multiple.
std::uint32_t PreviewZoom(const pl3::Box& box);
