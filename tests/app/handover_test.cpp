// The hand-over between two real processes: this test holds a main window
// of class "PCB_EDITOR" and starts the program as a second instance.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "app/frame_window.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "platform/window_handover.h"

namespace {

struct Seen {
  int copies = 0;
  ULONG_PTR code = 0;
  std::string opened;   // what WM_USER + 4 carried
  int activations = 0;
};
Seen gSeen;

// The frame's own handling of the block, with what it opens recorded.
LRESULT CALLBACK RunningFrame(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_COPYDATA:
      ++gSeen.copies;
      gSeen.code = reinterpret_cast<const COPYDATASTRUCT*>(lp)->dwData;
      return FrameWndProc(w, m, wp, lp);
    case kOpenContainerMessage:
      gSeen.opened = reinterpret_cast<const char*>(wp);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) ++gSeen.activations;
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

class HandOver : public testing::Test {
 protected:
  void SetUp() override {
    gSeen = {};
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RunningFrame;
    wc.lpszClassName = kFrameClassName;
    ASSERT_TRUE(RegisterClassA(&wc));
    frame = CreateWindowExA(0, kFrameClassName, "Pelmora 3", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    pl3::PumpMessages();  // publishes the frame
  }
  void TearDown() override {
    DestroyWindow(frame);
    UnregisterClassA(kFrameClassName, nullptr);
  }
  // Runs the program with the argument while this process keeps looking
  // for messages; its exit status, -1 when it did not end in time.
  int RunSecond(const char* argument) {
    const pid_t child = fork();
    if (child == 0) {
      argument ? execl(PL3_PROGRAM, PL3_PROGRAM, argument, static_cast<char*>(nullptr))
               : execl(PL3_PROGRAM, PL3_PROGRAM, static_cast<char*>(nullptr));
      _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      pl3::PumpMessages();
      if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
  }
  HWND frame = nullptr;
};

TEST_F(HandOver, AQuotedProjectPathIsHandedOverAndTheSecondStartEnds) {
  EXPECT_EQ(RunSecond("C:\\x\\a \"b\".p3p"), 0);
  EXPECT_EQ(gSeen.copies, 1);
  EXPECT_EQ(gSeen.code, 1028u);
  EXPECT_EQ(gSeen.opened, "C:\\x\\a b.p3p");
  EXPECT_GE(gSeen.activations, 1);
}

TEST_F(HandOver, AnUpdateFileOrNoArgumentOnlyRaisesTheRunningFrame) {
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(other);
  gSeen = {};
  EXPECT_EQ(RunSecond("C:\\x\\new.p3u"), 0);
  EXPECT_EQ(gSeen.copies, 0);
  EXPECT_GE(gSeen.activations, 1);
  SetActiveWindow(other);
  gSeen = {};
  EXPECT_EQ(RunSecond(nullptr), 0);
  EXPECT_EQ(gSeen.copies, 0);
  EXPECT_GE(gSeen.activations, 1);
  DestroyWindow(other);
}

TEST_F(HandOver, TheFrameIgnoresOtherCodesAndBlocksThatAreEmptyTooLongOrUnended) {
  char path[] = "C:\\x\\y.p3p";
  std::string big(40000, 'a');
  char unended[4] = {'a', 'b', 'c', 'd'};
  const COPYDATASTRUCT blocks[] = {
      {1029, sizeof path, path}, {1028, 0, path}, {1028, static_cast<DWORD>(big.size() + 1), big.data()},
      {1028, sizeof unended, unended}};
  for (const COPYDATASTRUCT& b : blocks) {
    gSeen.opened.clear();
    SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(gSeen.opened, "") << b.dwData << " " << b.cbData;
  }
  const COPYDATASTRUCT good{1028, sizeof path, path};
  SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&good));
  EXPECT_EQ(gSeen.opened, path);
}

TEST(HandOverReader, RequestsAreReadWithinTheirBounds) {
  using namespace pl3::handover;
  std::vector<std::uint8_t> bytes(sizeof(RequestHeader) + 3);
  RequestHeader h{kRequestMagic, kCopyData, 1028, 3, 0};
  std::memcpy(bytes.data(), &h, sizeof h);
  std::memcpy(bytes.data() + sizeof h, "ab", 3);
  Request r;
  ASSERT_TRUE(ParseRequest(bytes.data(), bytes.size(), &r));
  EXPECT_EQ(r.data, 1028u);
  EXPECT_EQ(r.payload.size(), 3u);
  EXPECT_FALSE(ParseRequest(bytes.data(), bytes.size() - 1, &r));  // shorter than it says
  h.length = kPayloadLimit + 1;
  std::memcpy(bytes.data(), &h, sizeof h);
  EXPECT_FALSE(ParseRequest(bytes.data(), bytes.size(), &r));
  h = {kRequestMagic, 9, 0, 3, 0};
  std::memcpy(bytes.data(), &h, sizeof h);
  EXPECT_FALSE(ParseRequest(bytes.data(), bytes.size(), &r));  // unknown kind
  EXPECT_FALSE(ParseRequest(bytes.data(), 10, &r));
  EXPECT_EQ(SocketName("pcb_editor")[0], '\0');
  EXPECT_NE(SocketName("pcb_editor").find("PCB_EDITOR"), std::string::npos);
}

}  // namespace
