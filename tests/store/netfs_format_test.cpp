#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "store/netfs_format.h"
#include "store/netfs_writer.h"
#include "tests/store/netfs_fixtures.h"
#include "platform/responder.h"

using netfs_fixture::Bytes;

namespace {

std::string Text(const ByteBuffer& b) { return std::string(b.begin(), b.end()); }

std::vector<std::string> Names(const DirectoryListing& l) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < l.Count(); ++i) names.emplace_back(EntryName(l.Entry(i)));
  return names;
}

// A volume over an image that the test keeps alive.
struct Opened {
  Bytes bytes;
  NetfsVolume volume;
  std::string error;
  bool ok = false;
  explicit Opened(Bytes b) : bytes(std::move(b)) {
    volume = NetfsVolumeFromMemory(bytes.data(), bytes.size());
    ok = NetfsOpenVolume(volume, &error);
  }
};

}  // namespace

TEST(NetfsHash, PasswordHashesOfTheFormat) {
  EXPECT_EQ(PasswordHash("abc"), 0xCADBBE3Du);
  EXPECT_EQ(PasswordHash(""), 0u);
  EXPECT_EQ(Crc32("", 0), 0xFFFFFFFFu);  // the loop's value for zero bytes
  // Any other password: the complement of the standard CRC-32 (0xCBF43926).
  EXPECT_EQ(Crc32("123456789", 9), ~0xCBF43926u);
  const std::uint32_t half = Crc32Update(0xFFFFFFFF, "12345", 5);
  EXPECT_EQ(Crc32Update(half, "6789", 4), Crc32("123456789", 9));
}

TEST(NetfsPaths, ComponentRules) {
  struct Case {
    const char* path;
    int count;
  } cases[] = {{"a\\b", 0}, {"", 0}, {"\\", 1}, {"\\a", 1}, {"\\a\\b", 2}, {"\\a\\b\\", 3}};
  for (const Case& c : cases) EXPECT_EQ(CountPathComponents(c.path), c.count) << c.path;

  EXPECT_EQ(GetPathComponent("\\a\\b\\", 0), "\\");
  EXPECT_EQ(GetPathComponent("\\a\\b\\", 1), "a");
  EXPECT_EQ(GetPathComponent("\\a\\b\\", 2), "b");
  EXPECT_EQ(GetPathComponent("\\a\\b\\", 3), "");
  EXPECT_EQ(GetPathComponent("\\a\\b\\", 4), std::nullopt);
  EXPECT_EQ(GetPathComponent("a\\b", 0), std::nullopt);

  EXPECT_EQ(GetParentPath("\\a\\b"), "\\a\\");
  EXPECT_EQ(GetParentPath("\\a"), "\\");
  EXPECT_EQ(GetParentPath("\\a\\b\\"), "\\a\\b\\");

  EXPECT_EQ(TrimPathComponents("\\a\\b\\c\\", 1), "\\a\\b\\");
  EXPECT_EQ(TrimPathComponents("\\a\\b\\c\\", 3), "\\");
  EXPECT_EQ(TrimPathComponents("\\a\\b\\c\\", 9), "\\");
  EXPECT_EQ(TrimPathComponents("\\a\\b", 1), "\\a\\b");
  EXPECT_EQ(TrimPathComponents("a\\b\\", 1), "a\\b\\");

  std::string name, type;
  SplitNameAndType("amplifier?pcb?x", &name, &type);
  EXPECT_EQ(name, "amplifier");
  EXPECT_EQ(type, "pcb?x");
  SplitNameAndType("folder", &name, &type);
  EXPECT_EQ(name, "folder");
  EXPECT_EQ(type, "");
}

TEST(NetfsCodec, CompressionSettings) {
  const std::string raw(5000, 'z');
  ByteBuffer b(raw.begin(), raw.end());
  CompressStoredFile(b);
  std::uint32_t head[2];
  std::memcpy(head, b.data(), 8);
  EXPECT_EQ(head[0], 5000u);
  EXPECT_NE(head[1], kStoredRawMarker);
  EXPECT_EQ(b.size(), head[1] + 8u);
  ASSERT_TRUE(DecompressStoredFile(b));
  EXPECT_EQ(Text(b), raw);

  SetCompression(true, 9);
  SetCompression(true, 0);  // out of range: keeps 9
  EXPECT_EQ(CompressionLevel(), 9);
  SetCompression(false, 12);
  EXPECT_EQ(CompressionLevel(), 9);
  b.assign(raw.begin(), raw.end());
  CompressStoredFile(b);
  std::memcpy(head, b.data(), 8);
  EXPECT_EQ(head[1], kStoredRawMarker);
  EXPECT_EQ(b.size(), 5008u);
  SetNumberOfBackups(7);
  EXPECT_EQ(NumberOfBackups(), 7);
}

TEST(NetfsCodec, DecompressFailureIsReportedNotParsed) {
  Bytes bad = netfs_fixture::StoredZlib(netfs_fixture::FromText("hello world hello world"));
  bad[12] ^= 0x55;  // break the deflate data
  bad[13] ^= 0x55;
  ByteBuffer b(bad.begin(), bad.end());
  std::string error;
  EXPECT_FALSE(DecompressStoredFile(b, &error));
  EXPECT_TRUE(b.empty());
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text.rfind("decompress failure ", 0), 0u);
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
}

// zlib succeeding with fewer bytes than the raw length is no failure: the
// content is the zero-filled buffer of raw length bytes.
TEST(NetfsCodec, ShortExpansionIsZeroFilled) {
  Bytes stored = netfs_fixture::StoredZlib(netfs_fixture::FromText("abc"));
  netfs_fixture::Put32(stored, 0, 8);
  ByteBuffer b(stored.begin(), stored.end());
  std::string error;
  ASSERT_TRUE(DecompressStoredFile(b, &error)) << error;
  EXPECT_EQ(b, (ByteBuffer{'a', 'b', 'c', 0, 0, 0, 0, 0}));
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST(NetfsCodec, LengthsThatDoNotFitAreRejected) {
  struct Case {
    std::uint32_t raw, stored;
    std::size_t bytes;
  } cases[] = {
      {100, kStoredRawMarker, 50},  // raw content shorter than its length
      {10, 500, 40},                // compressed length past the end
      {0xFFFFFFF0, 4, 12},          // absurd raw length for 4 bytes of zlib
  };
  for (const Case& c : cases) {
    ByteBuffer b(8 + c.bytes, 0);
    std::memcpy(b.data(), &c.raw, 4);
    std::memcpy(b.data() + 4, &c.stored, 4);
    std::string error;
    EXPECT_FALSE(DecompressStoredFile(b, &error)) << c.raw;
    EXPECT_FALSE(error.empty());
  }
}

TEST(NetfsReader, HandBuiltContainerListsAndReads) {
  const auto s = netfs_fixture::MakeStandard();
  Opened c(s.image);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.volume.fat.size(), 1024u);

  DirectoryListing root;
  ASSERT_EQ(NetfsListDirectory(c.volume, "\\", root, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Names(root), (std::vector<std::string>{"users?system", "permissions?system", "a", "Designs", "notes"}));

  DirectoryListing a;
  ASSERT_EQ(NetfsListDirectory(c.volume, "\\a\\", a, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Names(a), std::vector<std::string>{"x"});

  // \a names entry a of the root; \a\ lists folder a.
  ResolvedEntry r;
  ASSERT_EQ(NetfsResolvePath(c.volume, "\\a", r, nullptr), NetfsResult::Ok);
  EXPECT_EQ(EntryName(r.Entry()), "a");
  EXPECT_EQ(r.directoryBlock, 1u);
  EXPECT_TRUE(r.Entry().flags & kDirectoryFlag);
  ASSERT_EQ(NetfsResolvePath(c.volume, "\\a\\x", r, nullptr), NetfsResult::Ok);
  EXPECT_EQ(r.directoryBlock, 5u);
  ASSERT_EQ(NetfsResolvePath(c.volume, "\\", r, nullptr), NetfsResult::Ok);
  EXPECT_EQ(r.index, -1);
  EXPECT_EQ(NetfsResolvePath(c.volume, "a", r, nullptr), NetfsResult::NotFound);
  EXPECT_EQ(NetfsResolvePath(c.volume, "\\nothing", r, nullptr), NetfsResult::NotFound);
  EXPECT_EQ(NetfsResolvePath(c.volume, "\\notes\\x", r, nullptr), NetfsResult::NotFound);

  // Raw-marked content is copied even though it is a valid zlib stream.
  ByteBuffer content;
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\a\\x", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(content, ByteBuffer(s.xContent.begin(), s.xContent.end()));

  // Names match without regard to case; the chain runs 7, 9, 8.
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\DESIGNS\\amp?pcb\\DATA", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(content, ByteBuffer(s.dataContent.begin(), s.dataContent.end()));

  // The stored object read is the entry's size bytes.
  ByteBuffer stored;
  DirectoryEntry entry;
  ASSERT_EQ(NetfsReadFile(c.volume, "\\notes", stored, &entry, nullptr), NetfsResult::Ok);
  EXPECT_EQ(stored.size(), entry.size);
  EXPECT_EQ(entry.modified.year, 2024);
  ASSERT_TRUE(DecompressStoredFile(stored));
  EXPECT_EQ(Text(stored), "remember the milk");

  ByteBuffer usersContent;
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\users?system", usersContent, nullptr), NetfsResult::Ok);
  std::vector<UserRecord> users;
  ASSERT_TRUE(ParseUsers(usersContent, users, nullptr));
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(std::string(users[0].name), "Administrator");
  EXPECT_EQ(users[1].userId, 2u);
}

TEST(NetfsReader, WrongMagicIsNotAContainer) {
  auto s = netfs_fixture::MakeStandard();
  s.image[0] ^= 1;
  Opened c(s.image);
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.error.find("not a container"), std::string::npos);
  Opened tiny(Bytes{0x1A, 0xEF});
  EXPECT_FALSE(tiny.ok);
}

// Every damage gives a clear error and no crash; the chain walks are bounded.
TEST(NetfsReader, DamagedContainersAreRejected) {
  struct Damage {
    const char* what;
    void (*apply)(Bytes&);
    const char* path;
  };
  auto fat = [](Bytes& b, std::uint32_t block, std::uint32_t v) { netfs_fixture::Put32(b, 4096 + 4 * block, v); };
  static decltype(fat) setFat = fat;
  const Damage damages[] = {
      {"chain loops", [](Bytes& b) { setFat(b, 9, 7); }, "\\Designs\\Amp?PCB\\data"},
      {"chain leaves the FAT", [](Bytes& b) { setFat(b, 9, 5000); }, "\\Designs\\Amp?PCB\\data"},
      {"chain into a free block", [](Bytes& b) { setFat(b, 9, 0); }, "\\Designs\\Amp?PCB\\data"},
      {"chain past the file end", [](Bytes& b) { setFat(b, 12, 900); }, "\\notes"},
      {"root loops on itself", [](Bytes& b) { setFat(b, 1, 1); }, "\\notes"},
  };
  const auto s = netfs_fixture::MakeStandard();
  for (const Damage& d : damages) {
    Bytes image = s.image;
    d.apply(image);
    Opened c(image);
    ASSERT_TRUE(c.ok) << d.what;
    ByteBuffer content;
    std::string error;
    EXPECT_NE(NetfsReadFileContent(c.volume, d.path, content, &error), NetfsResult::Ok) << d.what;
    EXPECT_NE(error, "") << d.what;
  }
}

// Directories stored raw, so that the test can spoil their fields.
TEST(NetfsReader, DamagedDirectoriesAreRejected) {
  using namespace netfs_fixture;
  const Bytes file = StoredRaw(FromText("one block"));
  struct Case {
    const char* what;
    Bytes root;
  } cases[] = {
      {"size beyond its chain", StoredRaw(DirectoryContent({{0, 2, 99999, "f"}}))},
      {"start block 0", StoredRaw(DirectoryContent({{0, 0, 17, "f"}}))},
      {"start block beyond the FAT", StoredRaw(DirectoryContent({{0, 7000, 17, "f"}}))},
      {"count beyond the entries", [] {
         Bytes b = StoredRaw(DirectoryContent({{0, 2, 17, "f"}}));
         Put32(b, 8, 5);
         return b;
       }()},
  };
  for (const Case& c : cases) {
    Image img;
    img.PlaceChain(file, {2});
    img.PlaceChain(c.root, {1});
    Opened o(img.Finish());
    ASSERT_TRUE(o.ok) << c.what;
    ByteBuffer content;
    std::string error;
    EXPECT_EQ(NetfsReadFileContent(o.volume, "\\f", content, &error), NetfsResult::Damaged) << c.what;
    EXPECT_NE(error.find("damaged"), std::string::npos) << c.what << ": " << error;
  }
}

TEST(NetfsReader, FatOutsideTheFileIsRejected) {
  auto s = netfs_fixture::MakeStandard();
  netfs_fixture::Put32(s.image, 12, 0x40000000);  // F: a FAT of 4 G entries
  Opened c(s.image);
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.error.find("damaged"), std::string::npos);
  netfs_fixture::Put32(s.image, 12, 0);
  Opened none(s.image);
  EXPECT_FALSE(none.ok);
}

namespace {
std::vector<std::string> gTrace;
void CollectTrace(const char* line) { gTrace.emplace_back(line); }
}  // namespace

TEST(NetfsReader, FatConsistencyCheckReportsSharedBlocks) {
  auto s = netfs_fixture::MakeStandard();
  Opened clean(s.image);
  gTrace.clear();
  SetNetfsTraceSink(&CollectTrace);
  CheckFatConsistency(clean.volume);
  EXPECT_TRUE(gTrace.empty());

  netfs_fixture::Put32(s.image, 4096 + 4 * 12, 8);  // \notes now runs on into data's last block
  Opened shared(s.image);
  CheckFatConsistency(shared.volume);
  ASSERT_EQ(gTrace.size(), 2u);
  EXPECT_EQ(gTrace[0], "netfs: fat block 8 referenced from 9 (\\Designs\\Amp?PCB\\data)");
  EXPECT_EQ(gTrace[1], "netfs: fat block 8 referenced from 12 (\\notes)");

  // Three entries naming block 8 make three pairs; a pair of entries naming
  // block 5 that begins earlier comes first.
  netfs_fixture::Put32(s.image, 4096 + 4 * 4, 8);   // \a\x runs on into block 8 too
  netfs_fixture::Put32(s.image, 4096 + 4 * 3, 5);   // permissions run on into folder a
  netfs_fixture::Put32(s.image, 4096 + 4 * 13, 5);  // a free block names folder a
  Opened more(s.image);
  gTrace.clear();
  CheckFatConsistency(more.volume);
  EXPECT_EQ(gTrace, (std::vector<std::string>{
                        "netfs: fat block 5 referenced from 3 (\\permissions?system)",
                        "netfs: fat block 5 referenced from 13 ()",
                        "netfs: fat block 8 referenced from 4 (\\a\\x)",
                        "netfs: fat block 8 referenced from 9 (\\Designs\\Amp?PCB\\data)",
                        "netfs: fat block 8 referenced from 4 (\\a\\x)",
                        "netfs: fat block 8 referenced from 12 (\\notes)",
                        "netfs: fat block 8 referenced from 9 (\\Designs\\Amp?PCB\\data)",
                        "netfs: fat block 8 referenced from 12 (\\notes)",
                    }));
}

TEST(NetfsReader, FatConsistencyCheckStaysLinearAndBounded) {
  auto s = netfs_fixture::MakeStandard();
  // A loop: \notes (block 12) and block 13 name each other, and the free
  // block 14 names block 12 as well. Stepping back from 13 comes round to
  // itself; the file on the loop names it.
  netfs_fixture::Put32(s.image, 4096 + 4 * 12, 13);
  netfs_fixture::Put32(s.image, 4096 + 4 * 13, 12);
  netfs_fixture::Put32(s.image, 4096 + 4 * 14, 12);
  Opened looped(s.image);
  gTrace.clear();
  SetNetfsTraceSink(&CollectTrace);
  CheckFatConsistency(looped.volume);
  EXPECT_EQ(gTrace, (std::vector<std::string>{"netfs: fat block 12 referenced from 13 (\\notes)",
                                              "netfs: fat block 12 referenced from 14 ()"}));

  // A million entries naming data's last block: the pairs are far too many
  // to list, so the first thousand are reported and the rest counted.
  Opened crowded(netfs_fixture::MakeStandard().image);
  constexpr std::uint32_t kEntries = 1u << 20;
  crowded.volume.fat.resize(kEntries, 0);
  for (std::uint32_t i = 100; i < kEntries; ++i) crowded.volume.fat[i] = 8;
  gTrace.clear();
  CheckFatConsistency(crowded.volume);
  ASSERT_EQ(gTrace.size(), 2001u);
  EXPECT_EQ(gTrace[0], "netfs: fat block 8 referenced from 9 (\\Designs\\Amp?PCB\\data)");
  EXPECT_EQ(gTrace[1], "netfs: fat block 8 referenced from 100 ()");
  EXPECT_EQ(gTrace[1999], "netfs: fat block 8 referenced from 1099 ()");
  const std::uint64_t k = kEntries - 100 + 1;
  EXPECT_EQ(gTrace[2000], "netfs: " + std::to_string(k * (k - 1) / 2 - 1000) +
                              " more pairs of fat entries name one block; not reported");
  SetNetfsTraceSink(nullptr);
}

TEST(NetfsReader, FatConsistencyCheckReadsEachDirectoryOnce) {
  // Folder \d lists itself twice: a walk that followed every entry would
  // double its work with every level.
  using namespace netfs_fixture;
  Image img;
  img.PlaceChain(StoredZlib(DirectoryContent({{1, 4, 0, "x"}, {1, 4, 0, "y"}})), {4});
  img.PlaceChain(StoredZlib(DirectoryContent({{1, 4, 0, "d"}, {0, 5, 8, "f"}, {0, 6, 8, "g"}})), {1});
  img.PlaceChain(StoredRaw({}), {5, 7});
  img.PlaceChain(StoredRaw({}), {6, 7});  // f and g share block 7
  Opened o(img.Finish());
  ASSERT_TRUE(o.ok) << o.error;
  gTrace.clear();
  SetNetfsTraceSink(&CollectTrace);
  CheckFatConsistency(o.volume);
  SetNetfsTraceSink(nullptr);
  EXPECT_EQ(gTrace, (std::vector<std::string>{"netfs: fat block 7 referenced from 5 (\\f)",
                                              "netfs: fat block 7 referenced from 6 (\\g)"}));
}

// Loading every item of a folder must not read and expand the folder again
// for each item: that made loading all items cost the square of their number.
TEST(NetfsReader, FoldersAreReadOnceBetweenHeaderReads) {
  auto s = netfs_fixture::MakeStandard();
  Opened o(s.image);
  ASSERT_TRUE(o.ok);
  int reads = 0;
  const NetfsReadAt inner = o.volume.readAt;
  o.volume.readAt = [&](std::uint64_t offset, void* into, std::size_t length) {
    ++reads;
    return inner(offset, into, length);
  };
  ByteBuffer first, again, chain;
  DirectoryEntry entry{};
  ASSERT_EQ(NetfsReadFile(o.volume, "\\Designs\\Amp?PCB\\data", first, &entry, nullptr), NetfsResult::Ok);
  const int firstReads = reads;
  reads = 0;
  ASSERT_EQ(NetfsReadChain(o.volume, entry.firstBlock, entry.size, chain, nullptr), NetfsResult::Ok);
  const int chainReads = reads;
  EXPECT_EQ(firstReads, chainReads + 3) << "root, \\Designs and \\Designs\\Amp?PCB once each";
  reads = 0;
  ASSERT_EQ(NetfsReadFile(o.volume, "\\DESIGNS\\amp?pcb\\DATA", again, nullptr, nullptr), NetfsResult::Ok);
  EXPECT_EQ(reads, chainReads) << "only the file's own blocks";
  EXPECT_EQ(again, first);
  ResolvedEntry r;
  EXPECT_EQ(NetfsResolvePath(o.volume, "\\Designs\\nothing", r, nullptr), NetfsResult::NotFound);
  EXPECT_EQ(NetfsResolvePath(o.volume, "\\notes\\x", r, nullptr), NetfsResult::NotFound) << "a file is no folder";
  EXPECT_EQ(reads, chainReads);

  // Reading the header again starts afresh.
  ASSERT_TRUE(NetfsOpenVolume(o.volume, nullptr));
  reads = 0;
  ASSERT_EQ(NetfsReadFile(o.volume, "\\Designs\\Amp?PCB\\data", again, nullptr, nullptr), NetfsResult::Ok);
  EXPECT_EQ(reads, chainReads + 3);
}

TEST(NetfsWriter, ImageHasTheFormatsLayout) {
  NetfsTreeNode root = NetfsNewTreeForUser("Administrator", "abc");
  ASSERT_TRUE(NetfsTreePutContent(root, "\\Lib\\R1?pcbsymbol\\data", "abc", 3));
  ByteBuffer image = NetfsBuildImage(root);
  // Header: magic, B = 1, F = 1; FAT block 0 is block 0; root chain at block 1.
  std::uint32_t w[4];
  std::memcpy(w, image.data(), 16);
  EXPECT_EQ(w[0], 0xABCDEF1Au);
  EXPECT_EQ(w[2], 1u);
  EXPECT_EQ(w[3], 1u);
  EXPECT_EQ(image.size() % 4096, 0u);
  std::uint32_t fat1;
  std::memcpy(&fat1, image.data() + 4096 + 4, 4);
  EXPECT_EQ(fat1, 0xFFFFFFFFu);  // the root directory fits one block

  Opened c(Bytes(image.begin(), image.end()));
  ASSERT_TRUE(c.ok) << c.error;
  ByteBuffer content;
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\lib\\r1?PCBSYMBOL\\data", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Text(content), "abc");
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\users?system", content, nullptr), NetfsResult::Ok);
  std::vector<UserRecord> users;
  ASSERT_TRUE(ParseUsers(content, users, nullptr));
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].passwordHash, 0xCADBBE3Du);
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\permissions?system", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(content.size(), 4u + 4104u);
}

namespace {

std::uint32_t Word(const ByteBuffer& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | b.at(at + i);
  return v;
}

// Follows a chain of the writer's image by the FAT at file offset 4096 (B = 1,
// one FAT block) to its end and returns its first `size` bytes (all of it
// for 0).
ByteBuffer ChainOf(const ByteBuffer& image, std::uint32_t block, std::size_t size) {
  ByteBuffer out;
  for (int guard = 0; block != 0xFFFFFFFF && guard < 1024; ++guard) {
    const std::size_t at = (1 + std::size_t{block}) * 4096;
    if (at + 4096 > image.size()) break;
    out.insert(out.end(), image.begin() + at, image.begin() + at + 4096);
    block = Word(image, 4096 + 4 * std::size_t{block});
  }
  EXPECT_EQ(block, 0xFFFFFFFFu) << "the chain ends inside the image";
  EXPECT_LE(size, out.size());
  if (size) out.resize(std::min(size, out.size()));
  return out;
}

// A stored object's content, by zlib alone.
ByteBuffer Expand(const ByteBuffer& object) {
  const std::uint32_t raw = Word(object, 0), stored = Word(object, 4);
  if (stored == 0xFFFEFBFC) return ByteBuffer(object.begin() + 8, object.begin() + 8 + raw);
  EXPECT_GE(object.size(), 8u + stored);
  ByteBuffer out(raw);
  uLongf length = raw;
  EXPECT_EQ(uncompress(out.data(), &length, object.data() + 8, stored), Z_OK);
  EXPECT_EQ(length, raw);
  return out;
}

}  // namespace

// The writer's image read by the format's tables alone, with raw offsets:
// 308-byte entries with flags, first block, size (the stored object's 8-byte
// header plus its data) and name, chains ending in 0xFFFFFFFF.
TEST(NetfsWriter, EntriesFollowTheTables) {
  NetfsTreeNode root = NetfsNewTreeForUser("Administrator", "");
  ASSERT_TRUE(NetfsTreePutContent(root, "\\Lib\\R1?pcbsymbol\\data", "resistor", 8));
  const ByteBuffer image = NetfsBuildImage(root);
  const ByteBuffer rootDir = Expand(ChainOf(image, 1, 0));
  ASSERT_EQ(Word(rootDir, 0), 3u);
  ASSERT_EQ(rootDir.size(), 4u + 3 * 308);
  std::vector<std::string> names;
  std::uint32_t libBlock = 0, libSize = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t at = 4 + 308 * i;
    names.emplace_back(reinterpret_cast<const char*>(rootDir.data() + at + 48));
    if (names.back() == "Lib") {
      EXPECT_EQ(Word(rootDir, at) & 1, 1u);
      libBlock = Word(rootDir, at + 8);
      libSize = Word(rootDir, at + 12);
    } else {
      EXPECT_EQ(Word(rootDir, at) & 1, 0u);
      const ByteBuffer object = ChainOf(image, Word(rootDir, at + 8), Word(rootDir, at + 12));
      EXPECT_EQ(Word(rootDir, at + 12), 8 + (Word(object, 4) == 0xFFFEFBFC ? Word(object, 0) : Word(object, 4)));
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"users?system", "permissions?system", "Lib"}));
  const ByteBuffer lib = Expand(ChainOf(image, libBlock, libSize));
  ASSERT_EQ(Word(lib, 0), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(lib.data() + 4 + 48), "R1?pcbsymbol");
  const ByteBuffer item = Expand(ChainOf(image, Word(lib, 4 + 8), Word(lib, 4 + 12)));
  ASSERT_EQ(Word(item, 0), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(item.data() + 4 + 48), "data");
  const std::uint32_t dataBlock = Word(item, 4 + 8);
  EXPECT_EQ(Word(image, 4096 + 4 * dataBlock), 0xFFFFFFFFu) << "a one-block chain ends at once";
  const ByteBuffer data = Expand(ChainOf(image, dataBlock, Word(item, 4 + 12)));
  EXPECT_EQ(Text(data), "resistor");
}

TEST(NetfsWriter, LargeContainerSpansSeveralFatBlocks) {
  SetCompression(false, 1);
  NetfsTreeNode root = NetfsNewTreeForUser("Administrator", "");
  std::string big(3 * 1024 * 4096 + 100, 'q');  // about 3073 blocks
  for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>(i / 4096);
  ASSERT_TRUE(NetfsTreePutContent(root, "\\big", big.data(), big.size()));
  ASSERT_TRUE(NetfsTreePutContent(root, "\\after", "tail", 4));
  ByteBuffer image = NetfsBuildImage(root);
  Opened c(Bytes(image.begin(), image.end()));
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.volume.header.fatBlockCount, 4u);
  for (std::uint32_t k = 0; k < 4; ++k) EXPECT_EQ(c.volume.fat[1024 * k], kFatEndOfChain);
  ByteBuffer content;
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\big", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Text(content), big);
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\after", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Text(content), "tail");
}

TEST(NetfsWriter, EditsRoundTripThroughTheReader) {
  const auto s = netfs_fixture::MakeStandard();
  Opened original(s.image);
  NetfsTreeNode root;
  ASSERT_EQ(NetfsLoadTree(original.volume, root, nullptr), NetfsResult::Ok);

  EXPECT_EQ(NetfsTreeRename(root, "\\notes", "a"), 15);    // another entry's name
  EXPECT_EQ(NetfsTreeRename(root, "\\missing", "b"), 3);
  EXPECT_EQ(NetfsTreeRename(root, "\\notes", "NOTES"), 0);  // same name, other case
  EXPECT_EQ(NetfsTreeRename(root, "\\Designs\\Amp?PCB", "Preamp?PCB"), 0);
  ASSERT_TRUE(NetfsTreePutContent(root, "\\Designs\\New?pcb\\data", "fresh", 5));
  ASSERT_TRUE(NetfsTreePutContent(root, "\\a\\x", "replaced", 8));
  EXPECT_FALSE(NetfsTreePutContent(root, "\\notes\\below", "x", 1));  // a file is no folder
  ASSERT_TRUE(NetfsTreeDelete(root, "\\a"));
  EXPECT_FALSE(NetfsTreeDelete(root, "\\a"));

  ByteBuffer image = NetfsBuildImage(root);
  Opened c(Bytes(image.begin(), image.end()));
  ASSERT_TRUE(c.ok) << c.error;
  DirectoryListing listing;
  ASSERT_EQ(NetfsListDirectory(c.volume, "\\", listing, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"users?system", "permissions?system", "Designs", "NOTES"}));
  ASSERT_EQ(NetfsListDirectory(c.volume, "\\designs\\", listing, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"Preamp?PCB", "New?pcb"}));
  ByteBuffer content;
  // Untouched files keep their stored objects byte for byte.
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\Designs\\Preamp?PCB\\data", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(content, ByteBuffer(s.dataContent.begin(), s.dataContent.end()));
  ASSERT_EQ(NetfsReadFileContent(c.volume, "\\Designs\\New?pcb\\data", content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Text(content), "fresh");
}

// A name that fills its 260-byte field without a NUL reads as 260
// characters, and the writer keeps it so: a save renames nothing.
TEST(NetfsWriter, FullLengthNamesSurviveASave) {
  using namespace netfs_fixture;
  const std::string longName(260, 'n');
  const Bytes file = StoredRaw(FromText("kept"));
  Bytes root = StoredRaw(DirectoryContent({{0, 2, static_cast<std::uint32_t>(file.size()), "x"}}));
  std::memcpy(root.data() + 8 + 4 + 48, longName.data(), 260);
  Image img;
  img.PlaceChain(file, {2});
  img.PlaceChain(root, {1});
  Opened original(img.Finish());
  ASSERT_TRUE(original.ok) << original.error;
  NetfsTreeNode tree;
  ASSERT_EQ(NetfsLoadTree(original.volume, tree, nullptr), NetfsResult::Ok);
  const ByteBuffer image = NetfsBuildImage(tree);
  Opened saved(Bytes(image.begin(), image.end()));
  ASSERT_TRUE(saved.ok) << saved.error;
  ByteBuffer content;
  ASSERT_EQ(NetfsReadFileContent(saved.volume, "\\" + longName, content, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Text(content), "kept");
}

TEST(NetfsWriter, LoadingALoopingFolderTreeIsRejected) {
  auto s = netfs_fixture::MakeStandard();
  // Folder a's entry now points at the Designs folder's chain, listed twice.
  Opened c(s.image);
  DirectoryListing root;
  ASSERT_EQ(NetfsReadRootDirectory(c.volume, root, nullptr), NetfsResult::Ok);
  root.Entry(2).firstBlock = 11;
  root.Entry(2).size = root.Entry(3).size;
  const ByteBuffer stored = MakeStoredObject(root.content.data(), root.content.size());
  ASSERT_LE(stored.size(), 4096u);
  std::memset(s.image.data() + 2 * 4096, 0, 4096);
  std::memcpy(s.image.data() + 2 * 4096, stored.data(), stored.size());
  Opened damaged(s.image);
  NetfsTreeNode tree;
  std::string error;
  EXPECT_EQ(NetfsLoadTree(damaged.volume, tree, &error), NetfsResult::Damaged);
  EXPECT_NE(error.find("listed twice"), std::string::npos);
}
