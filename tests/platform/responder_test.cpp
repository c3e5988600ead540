#include "platform/responder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using pl3::ResponderKind;
using pl3::ResponderRecords;

TEST(Responder, ScriptedButtonIsReturnedAndTheBoxRecorded) {
  pl3::PushButtonAnswer(IDYES);
  HWND owner = reinterpret_cast<HWND>(0x40);
  EXPECT_EQ(MessageBox(owner, "Save changes?", "Pelmora3", MB_YESNOCANCEL | MB_ICONEXCLAMATION), IDYES);
  ASSERT_EQ(ResponderRecords().size(), 1u);
  const pl3::ResponderRecord& r = ResponderRecords()[0];
  EXPECT_EQ(r.kind, ResponderKind::MessageBox);
  EXPECT_EQ(r.owner, owner);
  EXPECT_EQ(r.text, "Save changes?");
  EXPECT_EQ(r.caption, "Pelmora3");
  EXPECT_EQ(r.flags, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
  EXPECT_TRUE(r.scripted);
  EXPECT_EQ(r.result, IDYES);
  EXPECT_EQ(pl3::PendingAnswerCount(), 0u);
}

TEST(Responder, DefaultAnswerIsTheOneThatChangesNothing) {
  struct Case {
    UINT type;
    int expected;
  } cases[] = {
      {MB_OK, IDOK},           {MB_OKCANCEL, IDCANCEL},       {MB_YESNOCANCEL, IDCANCEL},
      {MB_YESNO, IDNO},        {MB_RETRYCANCEL, IDCANCEL},    {MB_ABORTRETRYIGNORE, IDABORT},
      {MB_OK | 0x1030, IDOK},  {MB_YESNO | MB_DEFBUTTON1, IDNO},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MessageBox(nullptr, "t", "c", c.type), c.expected) << "type " << c.type;
    EXPECT_FALSE(ResponderRecords().back().scripted);
  }
}

TEST(Responder, AnswersAreTakenInOrderAndAWrongKindFallsBackToTheDefault) {
  pl3::PushCancelAnswer();
  pl3::PushPathAnswer("\\tmp\\x.p3p");  // a path does not answer a box
  pl3::PushButtonAnswer(IDRETRY);
  EXPECT_EQ(MessageBox(nullptr, "a", "", MB_YESNO), IDCANCEL);
  EXPECT_EQ(MessageBox(nullptr, "b", "", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "c", "", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(MessageBox(nullptr, "d", "", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(ResponderRecords().size(), 4u);
  EXPECT_TRUE(ResponderRecords()[0].scripted);
  EXPECT_FALSE(ResponderRecords()[1].scripted);
  pl3::ClearResponderRecords();
  EXPECT_TRUE(ResponderRecords().empty());
}

OPENFILENAME MakeOfn(char* buffer, DWORD size) {
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFilter = "Projects (*.p3p)\0*.p3p\0All Files\0*.*\0";
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = size;
  ofn.lpstrInitialDir = "\\home\\ann";
  ofn.lpstrTitle = "Open Project";
  ofn.lpstrDefExt = "p3p";
  ofn.Flags = OFN_FILEMUSTEXIST;
  return ofn;
}

TEST(Responder, OpenDialogTakesAScriptedPathAndAddsTheDefaultExtension) {
  char buffer[MAX_PATH] = "";
  OPENFILENAME ofn = MakeOfn(buffer, sizeof buffer);
  pl3::PushPathAnswer("\\home\\ann\\Boards\\amp");
  ASSERT_TRUE(GetOpenFileName(&ofn));
  EXPECT_STREQ(buffer, "\\home\\ann\\Boards\\amp.p3p");
  EXPECT_STREQ(buffer + ofn.nFileOffset, "amp.p3p");
  EXPECT_STREQ(buffer + ofn.nFileExtension, "p3p");
  const pl3::ResponderRecord& r = ResponderRecords().back();
  EXPECT_EQ(r.kind, ResponderKind::OpenFile);
  EXPECT_EQ(r.text, "Projects (*.p3p)|*.p3p|All Files|*.*");
  EXPECT_EQ(r.caption, "Open Project");
  EXPECT_EQ(r.flags, OFN_FILEMUSTEXIST);
  EXPECT_EQ(r.initial, "\\home\\ann|");
  EXPECT_EQ(r.answer, "\\home\\ann\\Boards\\amp.p3p");
}

TEST(Responder, FileDialogsCancelByDefaultAndReportASmallBuffer) {
  char buffer[8] = "";
  OPENFILENAME ofn = MakeOfn(buffer, sizeof buffer);
  EXPECT_FALSE(GetSaveFileName(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(ResponderRecords().back().kind, ResponderKind::SaveFile);
  pl3::PushPathAnswer("\\a\\much-too-long-name.p3p");
  EXPECT_FALSE(GetSaveFileName(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
}

TEST(Responder, ARecordOfTheWrongSizeFailsWithoutTakingTheScriptedAnswer) {
  char buffer[MAX_PATH] = "";
  COLORREF custom[16] = {};
  for (DWORD size : {DWORD{0}, DWORD{OPENFILENAME_SIZE_VERSION_400 + 4}, DWORD{sizeof(OPENFILENAME) + 4}}) {
    OPENFILENAME ofn = MakeOfn(buffer, sizeof buffer);
    ofn.lStructSize = size;
    pl3::PushPathAnswer("\\home\\ann\\amp.p3p");
    EXPECT_FALSE(GetOpenFileName(&ofn)) << size;
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE) << size;
    EXPECT_FALSE(GetSaveFileName(&ofn)) << size;
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE) << size;
    EXPECT_STREQ(buffer, "");
    CHOOSECOLOR cc{};
    cc.lStructSize = size;
    cc.lpCustColors = custom;
    cc.rgbResult = RGB(1, 2, 3);
    pl3::PushColourAnswer(RGB(9, 9, 9));
    EXPECT_FALSE(ChooseColor(&cc)) << size;
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE) << size;
    EXPECT_EQ(cc.rgbResult, RGB(1, 2, 3));
    EXPECT_EQ(pl3::PendingAnswerCount(), 2u);  // both answers wait for a dialog that shows
    // A good record next clears the error and takes them.
    ofn.lStructSize = sizeof ofn;
    EXPECT_TRUE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    cc.lStructSize = sizeof cc;
    EXPECT_TRUE(ChooseColor(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(9, 9, 9));
    buffer[0] = 0;
  }
}

TEST(Responder, TheOlderShorterOpenFileNameSizeIsTaken) {
  char buffer[MAX_PATH] = "";
  OPENFILENAME ofn = MakeOfn(buffer, sizeof buffer);
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  pl3::PushPathAnswer("\\home\\ann\\amp.p3p");
  EXPECT_TRUE(GetOpenFileName(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_STREQ(buffer, "\\home\\ann\\amp.p3p");
}

TEST(Responder, FolderDialogGivesAnIdListWithThePath) {
  char display[MAX_PATH] = "";
  BROWSEINFO info{};
  info.pszDisplayName = display;
  info.lpszTitle = "Choose the library folder";
  EXPECT_EQ(SHBrowseForFolder(&info), nullptr);  // cancelled by default
  pl3::PushPathAnswer("\\home\\ann\\Libraries\\");
  PIDLIST_ABSOLUTE list = SHBrowseForFolder(&info);
  ASSERT_NE(list, nullptr);
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDList(list, path));
  EXPECT_STREQ(path, "\\home\\ann\\Libraries\\");
  EXPECT_STREQ(display, "Libraries");
  CoTaskMemFree(list);
  EXPECT_EQ(ResponderRecords().back().text, "Choose the library folder");
}

TEST(Responder, ColourDialogTakesAScriptedColour) {
  CHOOSECOLOR cc{};
  cc.lStructSize = sizeof cc;
  COLORREF custom[16] = {};
  cc.lpCustColors = custom;
  cc.rgbResult = RGB(1, 2, 3);
  cc.Flags = CC_RGBINIT;
  EXPECT_FALSE(ChooseColor(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(1, 2, 3));
  pl3::PushColourAnswer(RGB(0x12, 0x34, 0x56));
  ASSERT_TRUE(ChooseColor(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(ResponderRecords().back().answer, "#123456");
}

int BackendBox(HWND, const char* text, const char*, UINT) { return std::strcmp(text, "yes?") == 0 ? IDYES : IDNO; }

TEST(Responder, AnInstalledBackendAnswersAndIsStillRecorded) {
  pl3::SetMessageBoxBackend(&BackendBox);
  pl3::PushButtonAnswer(IDCANCEL);  // not consulted while a backend is set
  EXPECT_EQ(MessageBox(nullptr, "yes?", "", MB_YESNO), IDYES);
  EXPECT_FALSE(ResponderRecords().back().scripted);
  EXPECT_EQ(pl3::PendingAnswerCount(), 1u);
  pl3::SetMessageBoxBackend(nullptr);
  EXPECT_EQ(MessageBox(nullptr, "yes?", "", MB_YESNO), IDCANCEL);
}

TEST(Responder, EchoPrintsEachBoxToStderr) {
  pl3::SetResponderEcho(true);
  testing::internal::CaptureStderr();
  MessageBox(nullptr, "Nothing is selected", "Pelmora3", MB_OK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Pelmora3: Nothing is selected\n");
}

}  // namespace
