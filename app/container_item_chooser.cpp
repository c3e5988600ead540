// The item chooser of a container file: the explorer of document filing over
// the container. In a file of its own so that tests can put a fake in its
// place.
#include "app/frame_hub_seams.h"
#include "store/document_titles.h"

StoreItemChoice* ChooseContainerItem(HWND owner, const char* containerPath, const char*, std::uint32_t* again) {
  // The explorer offers every item of the container; the open commands take
  // what they can open by its type.
  return ExploreStoreItem(owner, containerPath, 2, 1, again);
}
