// What the frame's menu reads of the program clipboard: the root type of the
// design the copy came from, so that Paste is offered only to a design of
// the same kind.
#include <cstddef>

#include "app/startup_seams.h"
#include "edit/clipboard.h"
#include "objects/payload_access.h"
#include "store/tower.h"

std::uint16_t ProgramClipboardRootType() {
  Tower* clip = FindClipboardCopy();
  const std::uint8_t* record = clip ? PayloadOfAtLeast(TowerEntity(clip), sizeof(ClipboardCopyRecord)) : nullptr;
  const std::uint16_t root = record ? ReadU16(record, offsetof(ClipboardCopyRecord, rootType)) : 0;
  ReleaseTower(&clip);
  return root;
}
