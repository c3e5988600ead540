// The captions of the document tab bar, kept apart from the frame so that
// document filing, which renames a tab after a save, links without it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frame_window.h"
#include "app/ui_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

namespace {

// A text record of the design's root, read no further than it is stored.
std::string RootText(const Tower* design, std::uint16_t code) {
  Tower* child = design ? OpenChildTower(design, code) : nullptr;
  std::string text;
  if (Entity* e = child ? TowerEntity(child) : nullptr) {
    const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
    text.assign(p, strnlen(p, e->payloadSize));
  }
  FreeTower(child);
  return text;
}

}  // namespace

void FormTabCaption(const Tower* design, char* out, std::size_t size) {
  const std::string location = RootText(design, 20037);
  if (!location.empty()) {
    const std::string library = RootText(design, 219);
    const std::size_t cut = library.find_last_of("\\:");
    std::string caption = (cut == std::string::npos ? library : library.substr(cut + 1)) + location;
    const std::string file = RootText(design, 214);
    if (!file.empty()) caption = file;
    std::snprintf(out, size, "%s", caption.c_str());
    return;
  }
  const std::string name = RootText(design, 215);
  if (!name.empty()) {
    std::snprintf(out, size, "%s", name.c_str());
    return;
  }
  const Entity* root = design ? TowerEntity(design) : nullptr;
  std::snprintf(out, size, "New %s", GetTypeName(root ? root->typeCode : 0));
}

TabStrip* MDITabStrip(HWND client) { return static_cast<TabStrip*>(GetPropA(client, "TabData")); }

void UpdateMDITabCaption(HWND client, const Tower* design) {
  TabStrip* tabs = MDITabStrip(client);
  if (!tabs || !design) return;
  for (TabStripTab* t = tabs->first; t; t = t->next) {
    if (GetDocumentWindowDesign(static_cast<HWND>(t->key)) != design) continue;
    char caption[512];
    FormTabCaption(design, caption, sizeof caption);
    if (std::strcmp(caption, t->text) != 0) {
      std::free(t->text);
      t->text = strdup(caption);
      SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    return;
  }
}

