// Writes and reads the small projects that the program's window tests open.
//
//   pl3_projectgen write <file.p3p> <item>    a new project holding one board
//       item made as New PCB makes it (two copper layers), with three tracks
//       and a view that shows them; prints the view and the tracks.
//   pl3_projectgen tracks <file.p3p> <item>   lists the tracks of a board item
//       read from the container file by our reader alone.
//
// Track lines read "track <layer> <x1> <y1> <x2> <y2> <half-width>" in world
// units; the write mode first prints "view <zoom> <origin x> <origin y>" and
// "colour <layer> <RRGGBB>" for each copper layer that holds a track.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/application_globals.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/new_documents.h"
#include "objects/size_files.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "pcb/pcb_save.h"
#include "platform/kernel_files.h"
#include "store/document_filing.h"
#include "store/item_stream.h"
#include "store/netfs_format.h"
#include "store/netfs_writer.h"
#include "store/safe_file.h"
#include "store/tower.h"

namespace {

// 1/400 inch a pixel; the tracks about the middle of a view of 300 by 340
// pixels (a maximised board beside the frame's panes at 1024 by 768).
constexpr std::int32_t kZoom = 91440;
constexpr std::int32_t kCentreX = 384048000;
constexpr std::int32_t kCentreY = 384048000;
constexpr std::int32_t kPixel = kZoom;

pl3::TrackLayout Track(std::uint8_t layer, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t halfWidth) {
  pl3::TrackLayout t{};
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.width = halfWidth;
  t.x1 = x1;
  t.y1 = y1;
  t.x2 = x2;
  t.y2 = y2;
  return t;
}

void PrintTrack(const pl3::TrackLayout& t) {
  std::printf("track %u %d %d %d %d %d\n", t.head.layer, t.x1, t.y1, t.x2, t.y2, t.width);
}

std::string DataPath(const char* item) { return std::string("\\") + item + "?" + ItemTypeName(kItemPcb) + "\\data"; }

int Write(const char* file, const char* item) {
  InitialiseApplication();
  auto* info = static_cast<NewObjectInfo*>(std::calloc(1, sizeof(NewObjectInfo)));
  info->layerCount = 2;
  CurrentWindowData* block = CreatePCBData(nullptr, info);
  if (!block) {
    std::fprintf(stderr, "pl3_projectgen: no board made\n");
    return 1;
  }
  // A wide band across the view's middle and a cross-piece on the top layer,
  // a thin track on the bottom layer below them.
  const std::vector<pl3::TrackLayout> tracks = {
      Track(Layer_Top, kCentreX - 300 * kPixel, kCentreY, kCentreX + 300 * kPixel, kCentreY, 12 * kPixel),
      Track(Layer_Top, kCentreX, kCentreY - 120 * kPixel, kCentreX, kCentreY + 120 * kPixel, 6 * kPixel),
      Track(Layer_Bottom, kCentreX - 100 * kPixel, kCentreY + 100 * kPixel, kCentreX + 100 * kPixel,
            kCentreY + 100 * kPixel, 3 * kPixel),
  };
  for (const pl3::TrackLayout& t : tracks) {
    Tower* stored = InsertEntity(block->design, sizeof t, Type_Track, &t);
    ReleaseTower(&stored);
  }
  // A board saved by the program keeps its window's size lists with the view;
  // one without them opens with "Could not load new size table!".
  if (!block->sizeTable) {
    const char* file = EditorSizeFilePath(block->editorKind);  // none here: the built-in sizes
    block->sizeTable = LoadSizeTableForEditor(block->editorKind, file ? file : "").release();
  }
  block->Zoom = kZoom;
  block->ViewOriginX = kCentreX / kZoom - 150;
  block->ViewOriginY = kCentreY / kZoom - 170;
  StoreViewState(*block);

  NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  const std::vector<std::uint8_t> stream = WriteRecordStream(
      TowerEntity(block->design), {kRecordDocumentWindow, kRecordContainerRecord, kRecordModifiedNote, kRecordRecovered});
  std::string error;
  if (!NetfsTreePutContent(tree, DataPath(item), stream.data(), stream.size()) ||
      !WriteBytesSafely(pl3::HostPath(file), NetfsBuildImage(tree), &error)) {
    std::fprintf(stderr, "pl3_projectgen: cannot write %s: %s\n", file, error.c_str());
    return 1;
  }
  std::printf("view %d %d %d\n", block->Zoom, block->ViewOriginX, block->ViewOriginY);
  for (const pl3::TrackLayout& t : tracks) PrintTrack(t);
  return 0;
}

int ListTracks(const char* file, const char* item) {
  std::FILE* f = std::fopen(pl3::HostPath(file).c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "pl3_projectgen: cannot read %s\n", file);
    return 1;
  }
  std::vector<std::uint8_t> image;
  std::uint8_t chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) image.insert(image.end(), chunk, chunk + n);
  std::fclose(f);
  NetfsVolume volume = NetfsVolumeFromMemory(image.data(), image.size());
  ByteBuffer content;
  std::string error;
  if (!NetfsOpenVolume(volume, &error) ||
      NetfsReadFileContent(volume, DataPath(item), content, &error) != NetfsResult::Ok) {
    std::fprintf(stderr, "pl3_projectgen: %s holds no board %s: %s\n", file, item, error.c_str());
    return 1;
  }
  InitTowerStore();
  Tower* parent = NewTower(0);
  LastLevel(parent).typeCode = 800;
  InsertAtLastLevel(parent, 0);
  Tower* design = ParseRecordStream(content.data(), content.size(), parent, &error);
  if (!design) {
    std::fprintf(stderr, "pl3_projectgen: the board %s is damaged: %s\n", item, error.c_str());
    return 1;
  }
  for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    if (NodeAt<TypeGroup>(g)->typeCode != Type_Track) continue;
    for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
      const Entity* entity = NodeAt<Entity>(e);
      if (entity->payloadSize < sizeof(pl3::TrackLayout)) continue;
      pl3::TrackLayout t;
      std::memcpy(&t, EntityPayload(entity), sizeof t);
      PrintTrack(t);
    }
  }
  ReleaseTower(&design);
  ReleaseTower(&parent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "write") == 0) return Write(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "tracks") == 0) return ListTracks(argv[2], argv[3]);
  std::fprintf(stderr, "usage: pl3_projectgen write|tracks <file.p3p> <item>\n");
  return 2;
}
