// Windows of another process: FindWindow, SendMessage (WM_COPYDATA only) and
// SetForegroundWindow reach the main windows of another instance of the
// program run by the same user with the same configuration folder. Each
// process publishes its main windows (top-level, not owned, neither child
// nor pop-up) on an abstract Unix socket named after the user, a digest of
// the configuration folder and the window class; another process connects
// to it. Connections from another user are refused; requests are read within
// bounds and with a time limit, and served while the publishing process
// looks for messages. Internal to platform/ but for the request reader,
// which the fuzz target and the tests call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace pl3::handover {

constexpr std::uint32_t kRequestMagic = 0x48334C50;  // "PL3H"
constexpr std::uint32_t kFind = 1;                   // payload: the window title, empty for any
constexpr std::uint32_t kCopyData = 2;               // payload: the WM_COPYDATA block
constexpr std::uint32_t kRaise = 3;                  // no payload
constexpr std::uint32_t kPayloadLimit = 64 * 1024;

#pragma pack(push, 4)
struct RequestHeader {
  std::uint32_t magic;
  std::uint32_t kind;
  std::uint64_t data;     // COPYDATASTRUCT::dwData
  std::uint32_t length;   // payload bytes that follow
  std::uint32_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(RequestHeader) == 24);

struct Request {
  std::uint32_t kind = 0;
  std::uint64_t data = 0;
  std::vector<std::uint8_t> payload;
};

// Reads one request from bytes: false for a short, oversized or unknown one.
bool ParseRequest(const std::uint8_t* bytes, std::size_t size, Request* out);
// The socket name for a class (abstract: its first byte is NUL).
std::string SocketName(const char* className);

// Called by the window layer.
void Poll();                                        // publish, and serve what waits
HWND FindRemote(const char* className, const char* windowName);
bool IsRemote(HWND hwnd);
LRESULT SendRemote(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool RaiseRemote(HWND hwnd);
void Reset();

}  // namespace pl3::handover
