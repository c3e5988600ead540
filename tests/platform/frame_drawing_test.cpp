// DrawEdge, DrawFrameControl and DrawState.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/frame_drawing.h"
#include "platform/resource_images.h"
#include "tests/platform/gdi_canvas.h"

namespace {

using pl3test::Canvas;

// Distinct system colours, one letter each, so that a swapped colour shows.
const std::map<char, std::pair<int, COLORREF>> kColours = {
    {'L', {COLOR_3DLIGHT, RGB(1, 1, 1)}},      {'D', {COLOR_3DDKSHADOW, RGB(2, 2, 2)}},
    {'H', {COLOR_BTNHIGHLIGHT, RGB(3, 3, 3)}}, {'S', {COLOR_BTNSHADOW, RGB(4, 4, 4)}},
    {'F', {COLOR_BTNFACE, RGB(5, 5, 5)}},      {'W', {COLOR_WINDOW, RGB(6, 6, 6)}},
    {'M', {COLOR_WINDOWFRAME, RGB(7, 7, 7)}}};

void UseLetterColours() {
  for (const auto& [letter, entry] : kColours) SetSysColors(1, &entry.first, &entry.second);
}

// The canvas as letters; '.' for the white it started with.
std::vector<std::string> Letters(const Canvas& c) {
  std::vector<std::string> rows;
  for (int y = 0; y < c.height(); ++y) {
    std::string row;
    for (int x = 0; x < c.width(); ++x) {
      char ch = '?';
      if (c.At(x, y) == 0xFFFFFF) ch = '.';
      for (const auto& [letter, entry] : kColours)
        if (c.At(x, y) == GetRValue(entry.second) * 0x010101u)  // all greys
          ch = letter;
      row += ch;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawEdge, LayersSidesAndCorners) {
  UseLetterColours();
  struct Case {
    UINT edge;
    UINT flags;
    std::vector<std::string> picture;
    RECT adjusted;
  };
  const Case cases[] = {
      {EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST,
       {"LLLLLD", "LHHHSD", "LHFFSD", "LSSSSD", "DDDDDD"}, {2, 2, 4, 3}},
      {EDGE_SUNKEN, BF_RECT | BF_ADJUST,
       {"SSSSSH", "SDDDLH", "SD..LH", "SLLLLH", "HHHHHH"}, {2, 2, 4, 3}},
      {EDGE_ETCHED, BF_TOP | BF_LEFT | BF_ADJUST,
       {"SSSSSS", "SHHHHH", "SH....", "SH....", "SH...."}, {2, 2, 6, 5}},
      {BDR_RAISEDOUTER, BF_BOTTOM | BF_RIGHT | BF_SOFT,
       {".....D", ".....D", ".....D", ".....D", "DDDDDD"}, {0, 0, 6, 5}},
      {EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE,
       {"SSSSSS", "SFFFFS", "SFFFFS", "SFFFFS", "SSSSSS"}, {0, 0, 6, 5}},
      {EDGE_SUNKEN, BF_RECT | BF_MONO | BF_MIDDLE,
       {"MMMMMM", "MWWWWM", "MWWWWM", "MWWWWM", "MMMMMM"}, {0, 0, 6, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "edge " << c.edge << " flags " << c.flags);
    Canvas canvas(6, 5);
    canvas.FillSolid(0xFFFFFF);
    RECT rc{0, 0, 6, 5};
    ASSERT_TRUE(DrawEdge(canvas.dc(), &rc, c.edge, c.flags));
    EXPECT_EQ(Letters(canvas), c.picture);
    EXPECT_TRUE(EqualRect(&rc, &c.adjusted));
  }
}

// Every frame control in its usual states, in the default colours; the
// picture was checked by eye.
TEST(DrawFrameControl, ControlsMatchTheirPicture) {
  Canvas canvas(16 * 18, 16 * 4);
  canvas.FillSolid(0xFFFFFF);
  struct Control {
    UINT type;
    UINT state;
  };
  const Control row[] = {
      {DFC_CAPTION, DFCS_CAPTIONCLOSE},   {DFC_CAPTION, DFCS_CAPTIONMIN},     {DFC_CAPTION, DFCS_CAPTIONMAX},
      {DFC_CAPTION, DFCS_CAPTIONRESTORE}, {DFC_CAPTION, DFCS_CAPTIONHELP},    {DFC_SCROLL, DFCS_SCROLLUP},
      {DFC_SCROLL, DFCS_SCROLLDOWN},      {DFC_SCROLL, DFCS_SCROLLLEFT},      {DFC_SCROLL, DFCS_SCROLLRIGHT},
      {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},  {DFC_SCROLL, DFCS_SCROLLSIZEGRIP},  {DFC_MENU, DFCS_MENUARROW},
      {DFC_MENU, DFCS_MENUCHECK},         {DFC_MENU, DFCS_MENUBULLET},        {DFC_BUTTON, DFCS_BUTTONCHECK},
      {DFC_BUTTON, DFCS_BUTTONRADIO},     {DFC_BUTTON, DFCS_BUTTON3STATE},    {DFC_BUTTON, DFCS_BUTTONPUSH}};
  const UINT states[] = {0, DFCS_PUSHED, DFCS_INACTIVE, DFCS_CHECKED};
  for (int r = 0; r < 4; ++r)
    for (int i = 0; i < 18; ++i) {
      RECT rc{i * 16 + 1, r * 16 + 1, i * 16 + 15, r * 16 + 15};
      EXPECT_TRUE(DrawFrameControl(canvas.dc(), &rc, row[i].type, row[i].state | states[r])) << i;
    }
  pl3test::ExpectMatchesGolden(canvas, "frame_controls");
  RECT rc{0, 0, 20, 20};
  EXPECT_TRUE(DrawFrameControl(canvas.dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
  const RECT inside{2, 2, 18, 18};
  EXPECT_TRUE(EqualRect(&rc, &inside));
  EXPECT_FALSE(DrawFrameControl(canvas.dc(), &rc, 9, 0));
}

TEST(StateDrawing, DisabledMonoAndUnionLooks) {
  UseLetterColours();
  HICON icon = LoadIcon(nullptr, IDI_ERROR);  // a red disc with a white mark
  struct Case {
    UINT flags;
    std::string allowed;  // letters a pixel may take
  };
  const Case cases[] = {{DSS_DISABLED, ".HS"}, {DSS_MONO, ".?"}, {DSS_NORMAL, ".?"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    Canvas canvas(40, 40);
    canvas.FillSolid(0xFFFFFF);
    HBRUSH fore = CreateSolidBrush(RGB(0, 0, 200));
    ASSERT_TRUE(DrawState(canvas.dc(), fore, nullptr, reinterpret_cast<LPARAM>(icon), 0, 4, 4, 0, 0, DST_ICON | c.flags));
    DeleteObject(fore);
    int inked = 0;
    for (const std::string& row : Letters(canvas))
      for (char ch : row) {
        EXPECT_NE(c.allowed.find(ch), std::string::npos) << ch;
        inked += ch != '.';
      }
    EXPECT_GT(inked, 300);
    if (c.flags == DSS_MONO) {
      EXPECT_EQ(canvas.At(20, 8), 0x0000C8u);  // the disc, in the brush's colour
    }
    if (c.flags == DSS_NORMAL) {
      EXPECT_EQ(canvas.At(8, 20) & 0xFFFFFF, 0xD03030u);  // the disc's own red
    }
    if (c.flags == DSS_DISABLED) {
      EXPECT_EQ(canvas.At(6, 20), 0x040404u);  // shadow over the disc
      EXPECT_EQ(canvas.At(35, 20), 0x030303u); // the highlight one pixel past its right edge
    }
  }
  // Text: the size comes from the text; a union shows every other pixel.
  Canvas canvas(60, 30);
  canvas.FillSolid(0xFFFFFF);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  ASSERT_TRUE(DrawState(canvas.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>("Wm"), 0, 2, 2, 0, 0, DST_TEXT | DSS_UNION));
  int odd = 0, even = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (canvas.At(x, y) != 0xFFFFFF) ((x + y) & 1 ? odd : even)++;
  EXPECT_EQ(odd, 0);
  EXPECT_GT(even, 10);
}

}  // namespace
