// Containers assembled byte by byte, straight from the format's tables, with
// no help from the reader's or the writer's record types: offsets are written
// as numbers here, so that a mistake in those types cannot hide in the tests.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace netfs_fixture {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& b, std::size_t offset, std::uint32_t v) {
  if (b.size() < offset + 4) b.resize(offset + 4, 0);
  for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void Put16(Bytes& b, std::size_t offset, std::uint16_t v) {
  if (b.size() < offset + 2) b.resize(offset + 2, 0);
  b[offset] = static_cast<std::uint8_t>(v);
  b[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutText(Bytes& b, std::size_t offset, const std::string& s) {
  if (b.size() < offset + s.size() + 1) b.resize(offset + s.size() + 1, 0);
  std::memcpy(b.data() + offset, s.data(), s.size());
  b[offset + s.size()] = 0;
}
inline Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Stored object: raw length, then 0xFFFEFBFC and the content as is.
inline Bytes StoredRaw(const Bytes& content) {
  Bytes b;
  Put32(b, 0, static_cast<std::uint32_t>(content.size()));
  Put32(b, 4, 0xFFFEFBFC);
  b.insert(b.end(), content.begin(), content.end());
  return b;
}

// Stored object: raw length, the zlib length and a compress2 stream.
inline Bytes StoredZlib(const Bytes& content) {
  uLongf len = compressBound(content.size());
  Bytes z(len);
  compress2(z.data(), &len, content.data(), content.size(), 6);
  Bytes b;
  Put32(b, 0, static_cast<std::uint32_t>(content.size()));
  Put32(b, 4, static_cast<std::uint32_t>(len));
  b.insert(b.end(), z.begin(), z.begin() + static_cast<std::ptrdiff_t>(len));
  return b;
}

struct Entry {
  std::uint32_t flags;  // 1 for a directory
  std::uint32_t firstBlock;
  std::uint32_t size;
  std::string name;
};

// Directory content: count, then 308-byte entries (flags +0, first block +8,
// size +12, time +32, name +48).
inline Bytes DirectoryContent(const std::vector<Entry>& entries) {
  Bytes b;
  Put32(b, 0, static_cast<std::uint32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t at = 4 + 308 * i;
    b.resize(at + 308, 0);
    Put32(b, at + 0, entries[i].flags);
    Put32(b, at + 8, entries[i].firstBlock);
    Put32(b, at + 12, entries[i].size);
    Put16(b, at + 32, 2024);
    Put16(b, at + 34, 5);
    PutText(b, at + 48, entries[i].name);
  }
  return b;
}

// "\users?system": count, then 136-byte records (id +4, hash +8, name +12).
inline Bytes UsersContent(const std::vector<std::pair<std::uint32_t, std::string>>& users,
                          const std::vector<std::uint32_t>& hashes) {
  Bytes b;
  Put32(b, 0, static_cast<std::uint32_t>(users.size()));
  for (std::size_t i = 0; i < users.size(); ++i) {
    const std::size_t at = 4 + 136 * i;
    b.resize(at + 136, 0);
    Put32(b, at + 4, users[i].first);
    Put32(b, at + 8, hashes[i]);
    PutText(b, at + 12, users[i].second);
  }
  return b;
}

struct Permission {
  std::uint32_t userId;
  std::uint32_t rights;
  std::string prefix;
};

// "\permissions?system": count, then 4104-byte records (user +0, rights +4, path +8).
inline Bytes PermissionsContent(const std::vector<Permission>& perms) {
  Bytes b;
  Put32(b, 0, static_cast<std::uint32_t>(perms.size()));
  for (std::size_t i = 0; i < perms.size(); ++i) {
    const std::size_t at = 4 + 4104 * i;
    b.resize(at + 4104, 0);
    Put32(b, at + 0, perms[i].userId);
    Put32(b, at + 4, perms[i].rights);
    PutText(b, at + 8, perms[i].prefix);
  }
  return b;
}

// A container image with header B = `blockAreaStart`, F = `fatBlocks`. Blocks
// are placed by number; the FAT is written from `fat` into FAT block 0.
struct Image {
  std::uint32_t blockAreaStart = 1;
  std::uint32_t fatBlocks = 1;
  std::vector<std::uint32_t> fat = std::vector<std::uint32_t>(1024, 0);
  Bytes bytes;

  Image() {
    Put32(bytes, 0, 0xABCDEF1A);
    bytes.resize(40, 0);
  }
  std::size_t BlockOffset(std::uint32_t n) const { return (blockAreaStart + std::size_t{n}) * 4096; }
  void WriteBlock(std::uint32_t n, const std::uint8_t* data, std::size_t len) {
    const std::size_t at = BlockOffset(n);
    if (bytes.size() < at + 4096) bytes.resize(at + 4096, 0);
    std::memcpy(bytes.data() + at, data, len);
  }
  // Places an object along a chain of given blocks and links them in the FAT.
  void PlaceChain(const Bytes& object, const std::vector<std::uint32_t>& blocks) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      const std::size_t from = i * 4096;
      const std::size_t n = from < object.size() ? std::min<std::size_t>(4096, object.size() - from) : 0;
      WriteBlock(blocks[i], object.data() + from, n);
      fat[blocks[i]] = i + 1 < blocks.size() ? blocks[i + 1] : 0xFFFFFFFF;
    }
  }
  Bytes Finish() {
    Put32(bytes, 8, blockAreaStart);
    Put32(bytes, 12, fatBlocks);
    fat[0] = 0xFFFFFFFF;
    Bytes fatBytes(4096);
    std::memcpy(fatBytes.data(), fat.data(), 4096);
    WriteBlock(0, fatBytes.data(), 4096);
    return bytes;
  }
};

// The standard small container of the tests, user "Administrator" with
// password hash `adminHash`, everyone may read:
//   \users?system  \permissions?system
//   \a\            (folder)  \a\x (raw-marked; its bytes also form a zlib stream)
//   \Designs\Amp?PCB\data    (zlib, spread over blocks 7, 9, 8)
//   \notes                   (zlib)
struct Standard {
  Bytes image;
  Bytes xContent;      // content stored raw under \a\x
  Bytes dataContent;   // content of \Designs\Amp?PCB\data
  Bytes notesContent;  // content of \notes
};

inline Standard MakeStandard(std::uint32_t adminHash = 0, std::uint32_t everyoneRights = 1) {
  Standard s;
  Image img;
  const Bytes users = StoredZlib(UsersContent({{1, "Administrator"}, {2, "guest"}}, {adminHash, 0}));
  const Bytes perms = StoredZlib(PermissionsContent({{1, 0xF, "\\"}, {0xFFFFFFFF, everyoneRights, "\\"}}));
  img.PlaceChain(users, {2});
  img.PlaceChain(perms, {3});

  // A content that is itself a valid zlib stream: stored raw, it must be copied.
  s.xContent = StoredZlib(FromText("this would inflate"));
  s.xContent.erase(s.xContent.begin(), s.xContent.begin() + 8);
  const Bytes x = StoredRaw(s.xContent);
  img.PlaceChain(x, {4});
  const Bytes dirA = StoredZlib(DirectoryContent({{0, 4, static_cast<std::uint32_t>(x.size()), "x"}}));
  img.PlaceChain(dirA, {5});

  // Incompressible enough to need three blocks.
  s.dataContent.resize(10000);
  std::uint32_t seed = 12345;
  for (auto& c : s.dataContent) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<std::uint8_t>(seed >> 16);
  }
  const Bytes data = StoredZlib(s.dataContent);
  img.PlaceChain(data, {7, 9, 8});
  const Bytes amp = StoredZlib(DirectoryContent({{0, 7, static_cast<std::uint32_t>(data.size()), "data"}}));
  img.PlaceChain(amp, {10});
  const Bytes designs = StoredZlib(DirectoryContent({{1, 10, static_cast<std::uint32_t>(amp.size()), "Amp?PCB"}}));
  img.PlaceChain(designs, {11});

  s.notesContent = FromText("remember the milk");
  const Bytes notes = StoredZlib(s.notesContent);
  img.PlaceChain(notes, {12});

  const Bytes root = StoredZlib(DirectoryContent({
      {0, 2, static_cast<std::uint32_t>(users.size()), "users?system"},
      {0, 3, static_cast<std::uint32_t>(perms.size()), "permissions?system"},
      {1, 5, static_cast<std::uint32_t>(dirA.size()), "a"},
      {1, 11, static_cast<std::uint32_t>(designs.size()), "Designs"},
      {0, 12, static_cast<std::uint32_t>(notes.size()), "notes"},
  }));
  img.PlaceChain(root, {1});
  s.image = img.Finish();
  return s;
}

}  // namespace netfs_fixture
