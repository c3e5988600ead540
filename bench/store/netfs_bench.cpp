// Benchmarks of container files, each against the bare zlib work it holds:
//   OpenAndLoadEveryItem/MB  opening a container of about 5, 50 or 500 MB
//                            through the container store and reading and
//                            expanding every item, against plain uncompress
//                            of the same stored objects into a buffer
//                            allocated once (counter plain_over_store; 1.0
//                            would mean the store adds nothing);
//   SaveEveryItem            laying out about 50 MB of items as a new
//                            container and saving it safely, against compress2
//                            at level 1 of the same bytes (plain_over_store).
// Each container is built once in the temporary folder, outside the timed
// loop, and deleted when its benchmark ends.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/container_store.h"
#include "store/netfs_writer.h"
#include "store/safe_file.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::size_t kItemBytes = 320 * 1024;

// Item content shaped like design records: small words, repeated headers,
// some noise; zlib at level 1 packs it about 2.5 to 1. Item i is always the
// same bytes.
ByteBuffer ItemContent(int i) {
  ByteBuffer b(kItemBytes);
  std::mt19937 random(42 + static_cast<unsigned>(i));
  for (std::size_t at = 0; at < b.size(); at += 16) {
    const std::uint32_t words[4] = {0x00660014u, static_cast<std::uint32_t>(random() % 4096),
                                    static_cast<std::uint32_t>(random()), static_cast<std::uint32_t>(at / 16)};
    std::memcpy(b.data() + at, words, std::min<std::size_t>(16, b.size() - at));
  }
  return b;
}

std::string ItemPath(int i) { return "\\Designs\\Item" + std::to_string(i) + "?pcb\\data"; }

std::string ContainerPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// The items of a container of about `megabytes`, as the tree that lays them
// out and as the stored objects the reader finds.
struct Fixture {
  NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  std::vector<ByteBuffer> stored;
  std::size_t storedBytes = 0;
  explicit Fixture(double megabytes) {
    SetCompression(true, 1);
    for (int i = 0; static_cast<double>(storedBytes) < megabytes * 1e6; ++i) {
      const ByteBuffer raw = ItemContent(i);
      NetfsTreePutContent(tree, ItemPath(i), raw.data(), raw.size());
      stored.push_back(NetfsTreeFind(tree, ItemPath(i))->stored);
      storedBytes += stored.back().size();
    }
  }
  int Items() const { return static_cast<int>(stored.size()); }
};

void OpenAndLoadEveryItem(benchmark::State& state) {
  const double megabytes = static_cast<double>(state.range(0));
  const std::string path = ContainerPath("pl3-netfs-bench-load.p3p");
  Clock::duration store{}, plain{};
  std::size_t items = 0;
  {
    Fixture fixture(megabytes);
    items = fixture.stored.size();
    if (!WriteBytesSafely(path, NetfsBuildImage(fixture.tree), nullptr)) state.SkipWithError("cannot write fixture");
    NetFS_Initialise();
    ByteBuffer out(kItemBytes);  // the peer's one buffer
    std::size_t loaded = 0;
    for (auto _ : state) {
      auto start = Clock::now();
      NetFSHandle* h = NetFS_OpenContainer(path.c_str(), "Administrator", "");
      for (int i = 0; i < fixture.Items(); ++i) {
        std::optional<ByteBuffer> b = NetFS_ReadFile(h, ItemPath(i).c_str());
        if (!b || !DecompressStoredFile(*b)) state.SkipWithError("an item did not load");
        loaded += b ? static_cast<std::size_t>((*b)[i % kItemBytes]) + b->size() : 0;
      }
      NetFS_CloseContainer(h);
      store += Clock::now() - start;

      start = Clock::now();
      for (const ByteBuffer& s : fixture.stored) {
        std::uint32_t head[2];
        std::memcpy(head, s.data(), 8);
        uLongf n = out.size();
        if (uncompress(out.data(), &n, s.data() + 8, head[1]) != Z_OK) state.SkipWithError("uncompress failed");
        loaded += out[n / 2] + n;
      }
      plain += Clock::now() - start;
    }
    benchmark::DoNotOptimize(loaded);
    state.counters["container_mb"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  }
  std::filesystem::remove(path);
  state.counters["items"] = static_cast<double>(items);
  state.counters["store_s"] = Seconds(store) / static_cast<double>(state.iterations());
  state.counters["plain_s"] = Seconds(plain) / static_cast<double>(state.iterations());
  state.counters["plain_over_store"] = Seconds(plain) / Seconds(store);
}
BENCHMARK(OpenAndLoadEveryItem)->Unit(benchmark::kMillisecond)->Arg(5)->Iterations(10);
BENCHMARK(OpenAndLoadEveryItem)->Unit(benchmark::kMillisecond)->Arg(50)->Iterations(3);
BENCHMARK(OpenAndLoadEveryItem)->Unit(benchmark::kMillisecond)->Arg(500)->Iterations(1);

void SaveEveryItem(benchmark::State& state) {
  const std::string path = ContainerPath("pl3-netfs-bench-save.p3p");
  constexpr int kItems = 270;  // about 50 MB
  std::vector<ByteBuffer> items;
  for (int i = 0; i < kItems; ++i) items.push_back(ItemContent(i));
  SetCompression(true, 1);
  ByteBuffer out(compressBound(kItemBytes));
  Clock::duration store{}, plain{};
  for (auto _ : state) {
    auto start = Clock::now();
    NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
    for (int i = 0; i < kItems; ++i) NetfsTreePutContent(tree, ItemPath(i), items[i].data(), items[i].size());
    if (!WriteBytesSafely(path, NetfsBuildImage(tree), nullptr)) state.SkipWithError("save failed");
    store += Clock::now() - start;

    start = Clock::now();
    for (const ByteBuffer& item : items) {
      uLongf n = out.size();
      compress2(out.data(), &n, item.data(), item.size(), 1);
      benchmark::DoNotOptimize(out.data());
    }
    plain += Clock::now() - start;
  }
  std::filesystem::remove(path);
  state.counters["store_s"] = Seconds(store) / static_cast<double>(state.iterations());
  state.counters["plain_s"] = Seconds(plain) / static_cast<double>(state.iterations());
  state.counters["plain_over_store"] = Seconds(plain) / Seconds(store);
}
BENCHMARK(SaveEveryItem)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
