// Filling and copying a 3840 x 2160 32-bit framebuffer through the drawing
// layer, and blitting it into a window that shows it, each against a plain
// memset / memcpy of the same bytes; AlphaBlend of a 1920 x 1080 preview
// against a plain per-pixel loop computing the same bytes. The counter
// "x_plain" is how many times slower than the plain copy the call is, and
// "per_second" how many whole frames it manages (a display wants 60).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/user.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr std::size_t kBytes = static_cast<std::size_t>(kWidth) * kHeight * 4;

struct Frame {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
  HBITMAP old = SelectObject(dc, bitmap);
  Frame() = default;
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;
  ~Frame() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void* Bits() const { return pl3::GetBitmapSurface(bitmap)->pixels; }
};

template <class Fn>
double SecondsPerCall(Fn fn, int reps) {
  fn();  // warm the pages
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) {
    fn();
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reps;
}

void Report(benchmark::State& state, double seconds, double plainSeconds) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kBytes));
  state.counters["x_plain"] = seconds / plainSeconds;
  state.counters["per_second"] = 1.0 / seconds;
}

void BM_FillRectFullFrame(benchmark::State& state) {
  Frame frame;
  HBRUSH brushes[2] = {CreateSolidBrush(RGB(0x20, 0x40, 0x60)), CreateSolidBrush(RGB(0x60, 0x40, 0x20))};
  const RECT all{0, 0, kWidth, kHeight};
  int n = 0;
  for (auto _ : state) {
    FillRect(frame.dc, &all, brushes[n++ & 1]);
    benchmark::ClobberMemory();
  }
  const double fill = SecondsPerCall([&] { FillRect(frame.dc, &all, brushes[n++ & 1]); }, 10);
  const double plain = SecondsPerCall([&] { std::memset(frame.Bits(), n++ & 0x7F, kBytes); }, 10);
  Report(state, fill, plain);
  DeleteObject(brushes[0]);
  DeleteObject(brushes[1]);
}
BENCHMARK(BM_FillRectFullFrame)->Unit(benchmark::kMillisecond);

void BM_BitBltFullFrame(benchmark::State& state) {
  Frame from, to;
  const RECT all{0, 0, kWidth, kHeight};
  FillRect(from.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  for (auto _ : state) {
    BitBlt(to.dc, 0, 0, kWidth, kHeight, from.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  const double blit = SecondsPerCall([&] { BitBlt(to.dc, 0, 0, kWidth, kHeight, from.dc, 0, 0, SRCCOPY); }, 10);
  const double plain = SecondsPerCall([&] { std::memcpy(to.Bits(), from.Bits(), kBytes); }, 10);
  Report(state, blit, plain);
}
BENCHMARK(BM_BitBltFullFrame)->Unit(benchmark::kMillisecond);

// The view's way of showing its colour buffer: a bottom-up 32-bit DIB.
void BM_StretchDIBitsFullFrame(benchmark::State& state) {
  Frame to;
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(kWidth) * kHeight, 0x00336699);
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  auto blit = [&] {
    StretchDIBits(to.dc, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  };
  for (auto _ : state) {
    blit();
    benchmark::ClobberMemory();
  }
  const double seconds = SecondsPerCall(blit, 10);
  const double plain = SecondsPerCall([&] { std::memcpy(to.Bits(), bits.data(), kBytes); }, 10);
  Report(state, seconds, plain);
}
BENCHMARK(BM_StretchDIBitsFullFrame)->Unit(benchmark::kMillisecond);

// A frame blitted into a top-level window's device context and shown: on
// the SDL backend (set PL3_BACKEND=sdl; with SDL_VIDEODRIVER=dummy when there
// is no display) that includes the copy to the SDL window surface.
LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void BM_BlitToWindowFullFrame(benchmark::State& state) {
  WNDCLASS wc{};
  wc.lpfnWndProc = &PlainWindowProc;
  wc.lpszClassName = "BenchFrameWindow";
  RegisterClass(&wc);
  HWND window = CreateWindowEx(0, "BenchFrameWindow", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                               nullptr, nullptr, nullptr);
  if (!window) {
    state.SkipWithError("no window");
    return;
  }
  Frame from;
  const RECT all{0, 0, kWidth, kHeight};
  FillRect(from.dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  auto show = [&] {
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, kWidth, kHeight, from.dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    UpdateWindow(window);
  };
  for (auto _ : state) show();
  const double seconds = SecondsPerCall(show, 10);
  Frame to;
  const double plain = SecondsPerCall([&] { std::memcpy(to.Bits(), from.Bits(), kBytes); }, 10);
  Report(state, seconds, plain);
  state.SetLabel(pl3::ActiveBackendName());
  DestroyWindow(window);
}
BENCHMARK(BM_BlitToWindowFullFrame)->Unit(benchmark::kMillisecond);

// The docking preview: a 1920 x 1080 image blended at constant alpha 80 over
// the frame, redrawn on every mouse move.
constexpr int kPreviewWidth = 1920;
constexpr int kPreviewHeight = 1080;
constexpr unsigned kPreviewAlpha = 80;

// The peer in its fast form: every byte of every pixel as
// (s * a + d * (255 - a) + 127) / 255, in one flat loop the compiler vectorises.
void PlainBlend(std::uint32_t* dst, const std::uint32_t* src, std::size_t n, unsigned a) {
  auto* d = reinterpret_cast<std::uint8_t*>(dst);
  const auto* s = reinterpret_cast<const std::uint8_t*>(src);
  for (std::size_t i = 0; i < n * 4; ++i) d[i] = static_cast<std::uint8_t>((s[i] * a + d[i] * (255 - a) + 127) / 255);
}

void BM_AlphaBlendPreview(benchmark::State& state) {
  struct Image {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kPreviewWidth, kPreviewHeight);
    HBITMAP old = SelectObject(dc, bitmap);
    ~Image() {
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    std::uint32_t* Bits() const { return pl3::GetBitmapSurface(bitmap)->pixels; }
  } from, to;
  const std::size_t n = static_cast<std::size_t>(kPreviewWidth) * kPreviewHeight;
  for (std::size_t i = 0; i < n; ++i) {
    from.Bits()[i] = static_cast<std::uint32_t>(i * 2654435761u);
    to.Bits()[i] = static_cast<std::uint32_t>(i * 40503u);
  }
  std::vector<std::uint32_t> plainTo(to.Bits(), to.Bits() + n);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kPreviewAlpha, 0};
  auto call = [&] { AlphaBlend(to.dc, 0, 0, kPreviewWidth, kPreviewHeight, from.dc, 0, 0, kPreviewWidth, kPreviewHeight, blend); };
  // The alpha reaches the loop at run time, as it reaches AlphaBlend.
  unsigned alpha = kPreviewAlpha;
  benchmark::DoNotOptimize(alpha);
  auto plain = [&, a = alpha] { PlainBlend(plainTo.data(), from.Bits(), n, a); };
  // Both sides blend the same images the same number of times: same bytes.
  call();
  plain();
  if (std::memcmp(plainTo.data(), to.Bits(), n * 4) != 0) {
    state.SkipWithError("AlphaBlend and the plain loop disagree");
    return;
  }
  for (auto _ : state) {
    call();
    benchmark::ClobberMemory();
  }
  const double seconds = SecondsPerCall(call, 20);
  const double plainSeconds = SecondsPerCall(plain, 20);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(n * 4));
  state.counters["x_plain"] = seconds / plainSeconds;
  state.counters["per_second"] = 1.0 / seconds;
  std::printf("AlphaBlend 1920 x 1080 at alpha 80: %.2f ms, plain loop %.2f ms, ratio %.2f\n", seconds * 1e3,
              plainSeconds * 1e3, seconds / plainSeconds);
}
BENCHMARK(BM_AlphaBlendPreview)->Unit(benchmark::kMillisecond);

}  // namespace
