#include "app/string_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/insertion_seams.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_table.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/dynlib.h"
#include "platform/responder.h"
#include "platform/richedit.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

std::vector<std::string> ComboTexts(HWND dialog, int id) {
  std::vector<std::string> texts;
  const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[128] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    texts.emplace_back(text);
  }
  return texts;
}

std::string PreviewFace(HWND dialog, LONG* height) {
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendDlgItemMessageA(dialog, 13, EM_GETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  if (height) *height = format.yHeight;
  return format.szFaceName;
}

std::uint32_t FontOf(const TextPayload& text) {
  std::uint32_t font = 0;
  std::memcpy(&font, text.bytes52, sizeof font);
  return font;
}

class StringDialog : public testing::Test {
 protected:
  void SetUp() override {
    InitTowerStore();
    pl3::ClearResponderRecords();
    richEdit = LoadLibrary("riched20.dll");  // as the program does at start
    design = NewTower(0);
    LastLevel(design).typeCode = 102;
    InsertAtLastLevel(design, 0);
    block = std::make_unique<CurrentWindowData>(kEditorPcb, design);
    block->sizeTable = NewSizeTable().release();
    for (const char* name : {"Small", "Medium", "Large"}) {
      SizeEntry entry{};
      SetSizeEntryName(entry, name);
      (*block->sizeTable)[SizeKind_Fonts].entries.push_back(entry);
    }
    ActiveWindowData = block.get();
    storage.assign(offsetof(TextPayload, text) + kTextMaxBytes, 0);
    text = reinterpret_cast<TextPayload*>(storage.data());
    std::strcpy(text->text, "R1");
    text->head.sizeIndex = 1;
    const std::uint32_t legacy = 3;
    std::memcpy(text->bytes52, &legacy, sizeof legacy);
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    ActiveWindowData = nullptr;
    block->sizeTable = FreeSizeTable(block->sizeTable);
    FreeTower(design);
    FreeLibrary(richEdit);
  }

  HMODULE richEdit = nullptr;
  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> block;
  std::vector<std::uint8_t> storage;
  TextPayload* text = nullptr;
};

TEST_F(StringDialog, TheLegacyFontLeadsAndEachTrueTypeFaceFollowsOnceInByteOrder) {
  static std::vector<std::string> fonts, sizes;
  static std::string face;
  static LONG height = 0;
  static std::string shown;
  pl3::SetDialogHook("StringDialogEx", [](HWND dialog) {
    fonts = ComboTexts(dialog, 3494);
    sizes = ComboTexts(dialog, 17);
    face = PreviewFace(dialog, &height);
    char buffer[64] = {};
    GetDlgItemTextA(dialog, 13, buffer, sizeof buffer);
    shown = buffer;
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(RunStringDialogEx(nullptr, text), 0);
  ASSERT_GT(fonts.size(), 2u);
  EXPECT_EQ(fonts[0], "Corvane Legacy Font");
  for (std::size_t i = 2; i < fonts.size(); ++i)
    EXPECT_LT(std::strcmp(fonts[i - 1].c_str(), fonts[i].c_str()), 0) << fonts[i - 1] << " / " << fonts[i];
  EXPECT_EQ(sizes, (std::vector<std::string>{"Small", "Medium", "Large"}));
  EXPECT_EQ(face, "Arial") << "the legacy font previews as Arial";
  EXPECT_EQ(height, 320);
  EXPECT_EQ(shown, "R1");
  EXPECT_STREQ(text->text, "R1") << "Cancel changes nothing";
}

TEST_F(StringDialog, OkWithoutASizeIsRefusedAndOkWithOneStoresTextSizeAndFont) {
  text->head.sizeIndex = 7;  // no such size: none is selected
  static std::string preview, chosen;
  pl3::SetDialogHook("StringDialogEx", [](HWND dialog) {
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, 13, "VCC_3V3");
    chosen = ComboTexts(dialog, 3494).back();
    pl3::PickDialogListText(dialog, 3494, chosen.c_str());
    preview = PreviewFace(dialog, nullptr);
    pl3::PickDialogListItem(dialog, 17, 2);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(RunStringDialogEx(nullptr, text), 1);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You must specify a font size");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "StringDialog");
  EXPECT_STREQ(text->text, "VCC_3V3");
  EXPECT_EQ(text->head.sizeIndex, 2u);
  EXPECT_NE(FontOf(*text), 3u) << "a TrueType face has a number of its own";
  EXPECT_EQ(block->CurrentFont, FontOf(*text)) << "new texts take the font";
  EXPECT_EQ(preview, chosen) << "the preview follows the chosen face";
}

TEST_F(StringDialog, ALongTextIsCutToTheRecordsRoom) {
  pl3::SetDialogHook("StringDialogEx", [](HWND dialog) {
    const std::string longText(3000, 'x');
    pl3::TypeDialogText(dialog, 13, longText.c_str());
    pl3::PickDialogListItem(dialog, 3494, 0);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(RunStringDialogEx(nullptr, text), 1);
  EXPECT_EQ(std::strlen(text->text), kTextMaxBytes - 1);
  EXPECT_EQ(FontOf(*text), 3u) << "the legacy font";
  EXPECT_EQ(text->head.sizeIndex, 1u) << "the size as it was";
}

TEST(LegacyFont, CharactersBelowThirtyAlwaysHaveAGlyph) {
  for (unsigned c = 0; c < 30; ++c) EXPECT_TRUE(LegacyFontHasGlyph(static_cast<unsigned char>(c))) << c;
  InitTowerStore();
  EXPECT_FALSE(LegacyFontHasGlyph('A')) << "no font is loaded";
}

}  // namespace
