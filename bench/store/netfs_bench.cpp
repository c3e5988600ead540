// Benchmarks of container files, each against the bare zlib work it holds:
//   OpenAndLoadEveryItem  opening a container of about 50 MB through the
//                         container store and reading and expanding every
//                         item, against plain uncompress of the same stored
//                         objects (counter plain_over_store; 1.0 would mean
//                         the store adds nothing);
//   SaveEveryItem         laying out the same items as a new container and
//                         saving it safely, against compress2 at level 1 of
//                         the same bytes (counter plain_over_store).
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

constexpr int kItems = 270;
constexpr std::size_t kItemBytes = 320 * 1024;

// Item content shaped like design records: small words, repeated headers,
// some noise; zlib at level 1 packs it about 2.5 to 1.
const std::vector<ByteBuffer>& Items() {
  static const std::vector<ByteBuffer> items = [] {
    std::vector<ByteBuffer> all(kItems);
    std::mt19937 random(42);
    for (ByteBuffer& b : all) {
      b.resize(kItemBytes);
      for (std::size_t i = 0; i < b.size(); i += 16) {
        const std::uint32_t words[4] = {0x00660014u, static_cast<std::uint32_t>(random() % 4096),
                                        static_cast<std::uint32_t>(random()), static_cast<std::uint32_t>(i / 16)};
        std::memcpy(b.data() + i, words, std::min<std::size_t>(16, b.size() - i));
      }
    }
    return all;
  }();
  return items;
}

std::string ItemPath(int i) { return "\\Designs\\Item" + std::to_string(i) + "?pcb\\data"; }

std::string ContainerPath() {
  static const std::string path = (std::filesystem::temp_directory_path() / "pl3-netfs-bench.p3p").string();
  return path;
}

NetfsTreeNode BuildTree() {
  NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  for (int i = 0; i < kItems; ++i) NetfsTreePutContent(tree, ItemPath(i), Items()[i].data(), Items()[i].size());
  return tree;
}

// The stored objects of the container, as the reader finds them.
const std::vector<ByteBuffer>& StoredObjects() {
  static const std::vector<ByteBuffer> stored = [] {
    SetCompression(true, 1);
    NetfsTreeNode tree = BuildTree();
    std::vector<ByteBuffer> all;
    for (int i = 0; i < kItems; ++i) all.push_back(NetfsTreeFind(tree, ItemPath(i))->stored);
    WriteBytesSafely(ContainerPath(), NetfsBuildImage(tree), nullptr);
    return all;
  }();
  return stored;
}

void OpenAndLoadEveryItem(benchmark::State& state) {
  const std::vector<ByteBuffer>& stored = StoredObjects();
  NetFS_Initialise();
  ByteBuffer out(kItemBytes);
  Clock::duration store{}, plain{};
  std::size_t loaded = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    NetFSHandle* h = NetFS_OpenContainer(ContainerPath().c_str(), "Administrator", "");
    for (int i = 0; i < kItems; ++i) {
      std::optional<ByteBuffer> b = NetFS_ReadFile(h, ItemPath(i).c_str());
      if (!b || !DecompressStoredFile(*b)) state.SkipWithError("an item did not load");
      loaded += b ? b->size() : 0;
    }
    NetFS_CloseContainer(h);
    store += Clock::now() - start;

    start = Clock::now();
    for (const ByteBuffer& s : stored) {
      std::uint32_t head[2];
      std::memcpy(head, s.data(), 8);
      uLongf n = out.size();
      uncompress(out.data(), &n, s.data() + 8, head[1]);
      benchmark::DoNotOptimize(out.data());
    }
    plain += Clock::now() - start;
  }
  state.counters["container_mb"] = static_cast<double>(std::filesystem::file_size(ContainerPath())) / 1e6;
  state.counters["store_s"] = Seconds(store) / static_cast<double>(state.iterations());
  state.counters["plain_s"] = Seconds(plain) / static_cast<double>(state.iterations());
  state.counters["plain_over_store"] = Seconds(plain) / Seconds(store);
  benchmark::DoNotOptimize(loaded);
}
BENCHMARK(OpenAndLoadEveryItem)->Unit(benchmark::kMillisecond)->Iterations(3);

void SaveEveryItem(benchmark::State& state) {
  StoredObjects();
  SetCompression(true, 1);
  ByteBuffer out(compressBound(kItemBytes));
  Clock::duration store{}, plain{};
  for (auto _ : state) {
    auto start = Clock::now();
    const NetfsTreeNode tree = BuildTree();
    if (!WriteBytesSafely(ContainerPath(), NetfsBuildImage(tree), nullptr)) state.SkipWithError("save failed");
    store += Clock::now() - start;

    start = Clock::now();
    for (const ByteBuffer& item : Items()) {
      uLongf n = out.size();
      compress2(out.data(), &n, item.data(), item.size(), 1);
      benchmark::DoNotOptimize(out.data());
    }
    plain += Clock::now() - start;
  }
  state.counters["store_s"] = Seconds(store) / static_cast<double>(state.iterations());
  state.counters["plain_s"] = Seconds(plain) / static_cast<double>(state.iterations());
  state.counters["plain_over_store"] = Seconds(plain) / Seconds(store);
}
BENCHMARK(SaveEveryItem)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
