// Benchmarks of the tower store. Each prints its comparison as counters:
//   AllocNodeVsMalloc   pool allocation and free of a realistic mix of sizes
//                       against glibc malloc and free of the same sizes;
//   BuildAndSearch      1,000,000 entities under 100 codes, then a full search;
//   TowerFileVsPlainIo  saving and loading a 100 MB tower file against a plain
//                       write and read of the same file's bytes, the read into
//                       a buffer allocated once outside the timed loop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "store/tower.h"
#include "store/tower_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void StartStore() {
  if (!RootGroup()) InitTowerStore();
}

Tower* NewTopLevelEntity(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

void DeleteAndRelease(Tower** t) {
  DeleteEntity(*t);
  ReleaseTower(t);
}

// Node sizes as a design holds them: mostly groups, small records and
// Towers, some named records and polygons, a few large ones.
std::vector<std::uint32_t> RealisticSizes(std::size_t count) {
  std::mt19937 random(7);
  std::discrete_distribution<int> kind({30, 30, 15, 10, 8, 5, 2});
  std::vector<std::uint32_t> sizes(count);
  for (auto& size : sizes) {
    switch (kind(random)) {
      case 0: size = 20; break;                                   // TypeGroups, empty entities
      case 1: size = 20 + 16 * (1 + random() % 4); break;        // small records
      case 2: size = 8 + 12 * (1 + random() % 4); break;         // Towers
      case 3: size = 20 + 105 + random() % 40; break;            // named records
      case 4: size = 20 + 62 + 11 * (3 + random() % 30); break;  // polygons
      case 5: size = 20 + 600 + random() % 400; break;           // holes, pad stacks
      default: size = 20 + 2000 + random() % 6000; break;        // text blocks
    }
  }
  return sizes;
}

// Allocates the batch, frees every other one, allocates again, frees all:
// the pattern of a design being edited.
template <typename Alloc, typename Free>
Clock::duration TimeBatch(const std::vector<std::uint32_t>& sizes, std::vector<void*>& slots, Alloc alloc,
                          Free release) {
  const auto start = Clock::now();
  for (std::size_t i = 0; i < sizes.size(); ++i) slots[i] = alloc(sizes[i]);
  for (std::size_t i = 0; i < sizes.size(); i += 2) release(slots[i], sizes[i]);
  for (std::size_t i = 0; i < sizes.size(); i += 2) slots[i] = alloc(sizes[i]);
  for (std::size_t i = sizes.size(); i-- > 0;) release(slots[i], sizes[i]);
  benchmark::ClobberMemory();
  return Clock::now() - start;
}

void AllocNodeVsMalloc(benchmark::State& state) {
  StartStore();
  const std::vector<std::uint32_t> sizes = RealisticSizes(100000);
  std::vector<void*> slots(sizes.size());
  Clock::duration pool{}, system{};
  for (auto _ : state) {
    pool += TimeBatch(sizes, slots, [](std::uint32_t n) { return AllocNode(n); },
                      [](void* p, std::uint32_t n) { FreeNode(p, n); });
    system += TimeBatch(sizes, slots, [](std::uint32_t n) { return std::malloc(n); },
                        [](void* p, std::uint32_t) { std::free(p); });
  }
  const double operations = 3.0 * static_cast<double>(sizes.size()) * static_cast<double>(state.iterations());
  state.counters["pool_ns_per_op"] = Seconds(pool) * 1e9 / operations;
  state.counters["malloc_ns_per_op"] = Seconds(system) * 1e9 / operations;
  state.counters["malloc_over_pool"] = Seconds(system) / Seconds(pool);
}
BENCHMARK(AllocNodeVsMalloc)->Unit(benchmark::kMillisecond);

void BuildAndSearch(benchmark::State& state) {
  StartStore();
  constexpr std::uint32_t kEntities = 1000000;
  constexpr std::uint32_t kCodes = 100;
  Clock::duration build{}, search{};
  std::uint64_t found = 0;
  for (auto _ : state) {
    Tower* top = NewTopLevelEntity(900);
    auto start = Clock::now();
    for (std::uint32_t i = 0; i < kEntities; ++i) {
      const std::uint32_t payload[4] = {i, i, i, i};
      Tower* t = InsertEntity(top, sizeof payload, static_cast<std::uint16_t>(1 + i % kCodes), payload);
      ReleaseTower(&t);
    }
    build += Clock::now() - start;
    start = Clock::now();
    Tower* all = GetAllChildrenTower(top);
    std::uint64_t sum = 0;
    while (Entity* e = FindNextEntity(all)) sum += e->typeCode;
    ReleaseTower(&all);
    search += Clock::now() - start;
    benchmark::DoNotOptimize(sum);
    found += kEntities;
    DeleteAndRelease(&top);
  }
  state.counters["build_entities_per_s"] = static_cast<double>(found) / Seconds(build);
  state.counters["search_entities_per_s"] = static_cast<double>(found) / Seconds(search);
}
BENCHMARK(BuildAndSearch)->Unit(benchmark::kMillisecond)->Iterations(2);

bool WritePlain(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  FlushFileBuffers(f);
  CloseHandle(f);
  return ok && written == bytes.size();
}

// Reads the whole file into a buffer the caller allocated once; the bytes read.
std::size_t ReadPlainInto(const std::string& path, std::vector<char>& buffer) {
  HANDLE f = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  ReadFile(f, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
  CloseHandle(f);
  return read;
}

void TowerFileVsPlainIo(benchmark::State& state) {
  StartStore();
  // 200,000 entities of 480 payload bytes: records of 512 bytes, about 100 MB.
  Tower* top = NewTopLevelEntity(901);
  std::vector<std::uint8_t> payload(480, 0x5A);
  for (std::uint32_t i = 0; i < 200000; ++i) {
    std::memcpy(payload.data(), &i, sizeof i);
    Tower* t = InsertEntity(top, static_cast<std::uint32_t>(payload.size()), static_cast<std::uint16_t>(1 + i % 50),
                            payload.data());
    ReleaseTower(&t);
  }
  const std::string dir = (std::filesystem::temp_directory_path() / "pl3-tower-bench").string();
  std::filesystem::create_directories(dir);
  const std::string towerPath = dir + "/big.twr";
  const std::string plainPath = dir + "/plain.bin";
  Clock::duration save{}, load{}, write{}, read{};
  double megabytes = 0;
  std::vector<char> buffer;
  // One untimed save and load first: the pool then reuses the chunks a load
  // freed, as the plain read reuses its buffer; neither side pays for memory
  // fresh from the system inside the timed loop.
  {
    if (!SaveDOSFile(top, towerPath.c_str())) state.SkipWithError("save failed");
    Tower* warm = NewTower(0);
    if (!LoadDOSFile(towerPath.c_str(), warm)) state.SkipWithError("load failed");
    DeleteAndRelease(&warm);
    buffer.resize(std::filesystem::file_size(towerPath));
  }
  for (auto _ : state) {
    auto start = Clock::now();
    if (!SaveDOSFile(top, towerPath.c_str())) state.SkipWithError("save failed");
    save += Clock::now() - start;
    const std::uintmax_t size = std::filesystem::file_size(towerPath);
    megabytes += static_cast<double>(size) / 1e6;

    start = Clock::now();
    Tower* loaded = NewTower(0);
    if (!LoadDOSFile(towerPath.c_str(), loaded)) state.SkipWithError("load failed");
    load += Clock::now() - start;
    DeleteAndRelease(&loaded);

    // The peers move the same bytes through a buffer allocated once, as
    // the pool reuses the chunks the last load freed.
    const std::size_t got = ReadPlainInto(towerPath, buffer);
    const std::string bytes(buffer.data(), got);
    start = Clock::now();
    if (!WritePlain(plainPath, bytes)) state.SkipWithError("plain write failed");
    write += Clock::now() - start;
    start = Clock::now();
    if (ReadPlainInto(towerPath, buffer) != size) state.SkipWithError("plain read failed");
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    read += Clock::now() - start;
  }
  state.counters["file_MB"] = megabytes / static_cast<double>(state.iterations());
  state.counters["save_MB_per_s"] = megabytes / Seconds(save);
  state.counters["load_MB_per_s"] = megabytes / Seconds(load);
  state.counters["save_over_plain_write"] = Seconds(write) / Seconds(save);
  state.counters["load_over_plain_read"] = Seconds(read) / Seconds(load);
  std::filesystem::remove_all(dir);
  DeleteAndRelease(&top);
}
BENCHMARK(TowerFileVsPlainIo)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
