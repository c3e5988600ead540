// The explorer's description panel: what the selected entry is, with the
// item's preview, description, check state and link read from its streams.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library/explorer_internal.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/image_files.h"
#include "platform/kernel_base.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/item_stream.h"
#include "store/scratch_entity.h"
#include "store/tower.h"

namespace {

constexpr int kPreviewWidth = 200;
constexpr std::uint16_t kRecordDescriptionText = 121;
constexpr std::uint16_t kRecordBitmap = 201;
constexpr std::uint16_t kRecordCompletionInfo = 212;
constexpr std::uint16_t kRecordLinkFile = 20039;
constexpr std::uint16_t kItemTypePcb = 102;
constexpr std::uint16_t kItemTypeSchematic = 103;

HFONT VerdanaFont(HDC dc, int points, bool bold) {
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Verdana");
}

// Writes one line (wrapped to the panel) and moves `y` below it.
void Line(HDC dc, HFONT font, const RECT& panel, int* y, const std::string& text) {
  HFONT old = SelectObject(dc, font);
  RECT r{panel.left + 8, *y, panel.right - 8, panel.bottom};
  const int height = DrawTextA(dc, text.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  *y += height + 4;
  SelectObject(dc, old);
}

std::string TypeOf(const DirectoryEntry& entry) {
  std::string name, type;
  SplitNameAndType(EntryName(entry), &name, &type);
  return type;
}

// Text up to its terminator, bounded by the payload.
std::string PayloadText(const std::vector<std::uint8_t>& payload) {
  const auto end = std::find(payload.begin(), payload.end(), std::uint8_t{0});
  return std::string(payload.begin(), end);
}

void DrawPreview(HDC dc, const std::vector<std::uint8_t>& bytes, const RECT& panel, int* y) {
  pl3::DecodedPng image;
  if (bytes.empty() || !pl3::DecodeImageBytes(bytes.data(), bytes.size(), image)) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = image.height;  // bottom row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int width = std::min<int>(kPreviewWidth, panel.right - panel.left);
  const int height = static_cast<int>(static_cast<long long>(image.height) * width / image.width);
  StretchDIBits(dc, panel.left, *y, width, height, 0, 0, image.width, image.height, image.bgra.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
  *y += height + 4;
}

}  // namespace

std::vector<std::uint8_t> ReadExplorerItemRecord(const ExplorerState* state, const DirectoryEntry& entry,
                                                 const char* stream, std::uint16_t code) {
  NetFSHandle* handle = ExplorerHandle(state);
  if (!handle) return {};
  const std::string path = state->folder + std::string(EntryName(entry)) + "\\" + stream;
  std::optional<ByteBuffer> bytes = NetFS_ReadFile(handle, path.c_str());
  if (!bytes || NetFS_GetLastError() != kNetfsOk || !DecompressStoredFile(*bytes)) return {};
  Tower* scratch = NewScratchEntity();
  Tower* first = ParseRecordStream(bytes->data(), bytes->size(), scratch);
  std::vector<std::uint8_t> payload;
  const Entity* e = first ? TowerEntity(first) : nullptr;
  if (e && e->typeCode == code) payload.assign(EntityPayload(e), EntityPayload(e) + e->payloadSize);
  ReleaseTower(&first);
  DeleteTopLevelEntity(&scratch);
  return payload;
}

int ExplorerCheckState(const ExplorerState* state, const DirectoryEntry& entry) {
  const std::uint16_t type = ItemTypeCodeFromName(TypeOf(entry).c_str());
  if (type != kItemTypePcb && type != kItemTypeSchematic) return -1;
  const auto info = ReadExplorerItemRecord(state, entry, "completioninfo", kRecordCompletionInfo);
  if (info.size() < 12) return -1;
  // {u16 type code, u32 failure bits at 4, u32 enable mask at 8, u32}
  std::uint32_t failures = 0, mask = 0;
  std::memcpy(&failures, info.data() + 4, 4);
  std::memcpy(&mask, info.data() + 8, 4);
  return (failures & mask) == 0 ? 1 : 0;
}

void PaintExplorerPanel(ExplorerState* state, HDC dc) {
  const RECT panel = state->panel;
  if (panel.right <= panel.left) return;
  HBRUSH back = CreateSolidBrush(RGB(0x4A, 0x6A, 0x9A));
  FillRect(dc, &panel, back);
  DeleteObject(back);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HFONT title = VerdanaFont(dc, 12, true), label = VerdanaFont(dc, 8, true), text = VerdanaFont(dc, 8, false);
  int y = panel.top + 8;
  const int count = ExplorerSelectedCount(state);
  DirectoryEntry* entry = count == 1 ? ExplorerEntryAt(state, static_cast<int>(SendMessageA(
                                                                  state->list, LVM_GETNEXTITEM,
                                                                  static_cast<WPARAM>(-1), LVNI_SELECTED)))
                                     : nullptr;
  if (count == 0) {
    ImageList_Draw(state->largeImages, 4, dc, panel.left + 8, y, ILD_TRANSPARENT);
    y += 40;
    Line(dc, text, panel, &y, "Select an item to view its description.");
  } else if (count > 1) {
    char line[64];
    std::snprintf(line, sizeof line, "%d files selected", count);
    Line(dc, title, panel, &y, line);
  } else if (entry) {
    ImageList_Draw(state->largeImages, ExplorerIconIndex(*entry), dc, panel.left + 8, y, ILD_TRANSPARENT);
    y += 40;
    Line(dc, title, panel, &y, ExplorerCellText(state, *entry, 0));
    Line(dc, text, panel, &y, ExplorerTypeText(*entry));
    Line(dc, label, panel, &y, "Modified:");
    Line(dc, text, panel, &y, ExplorerCellText(state, *entry, 3));
    if (IsExplorerItem(*entry)) {
      DrawPreview(dc, ReadExplorerItemRecord(state, *entry, "bitmap", kRecordBitmap), panel, &y);
      const std::string description =
          PayloadText(ReadExplorerItemRecord(state, *entry, "description", kRecordDescriptionText));
      if (!description.empty()) {
        Line(dc, label, panel, &y, "Description:");
        Line(dc, text, panel, &y, description);
      }
      const int check = ExplorerCheckState(state, *entry);
      if (check >= 0) {
        SetTextColor(dc, check ? RGB(0, 255, 0) : RGB(255, 0, 0));
        Line(dc, label, panel, &y, check ? "DRC Passed" : "DRC Failed");
        SetTextColor(dc, RGB(255, 255, 255));
      }
      const std::string link = PayloadText(ReadExplorerItemRecord(state, *entry, "linkfile", kRecordLinkFile));
      if (!link.empty()) {
        Line(dc, label, panel, &y, "Linked To:");
        Line(dc, text, panel, &y, link);
      }
    }
  }
  DeleteObject(title);
  DeleteObject(label);
  DeleteObject(text);
}
