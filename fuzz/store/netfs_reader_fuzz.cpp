// Container images: no crash, no sanitizer report, a clear error for every
// refusal, and whatever the reader accepts the writer lays out again so that
// the reader finds every file with the same content.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/responder.h"
#include "store/netfs_format.h"
#include "store/netfs_writer.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "netfs fuzz: %s\n", what);
  std::abort();
}

void Refused(NetfsResult r, const std::string& error) {
  if (r == NetfsResult::Damaged && error.empty()) Fail("damage without an error text");
}

// Every file of a tree, expanded, in the order of a depth-first walk.
void ReadAll(const NetfsVolume& v, const NetfsTreeNode& node, const std::string& path,
             std::vector<std::pair<std::string, NetfsResult>>& out, std::vector<ByteBuffer>& contents) {
  for (const NetfsTreeNode& c : node.children) {
    const std::string p = path + "\\" + c.name;
    if (c.directory) {
      ReadAll(v, c, p, out, contents);
      continue;
    }
    ByteBuffer content;
    std::string error;
    const NetfsResult r = NetfsReadFileContent(v, p, content, &error);
    Refused(r, error);
    out.emplace_back(p, r);
    contents.push_back(std::move(content));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NetfsVolume v = NetfsVolumeFromMemory(data, size);
  std::string error;
  if (!NetfsOpenVolume(v, &error)) {
    if (error.empty()) Fail("refused open without an error text");
    return 0;
  }
  CheckFatConsistency(v);
  DirectoryListing root;
  Refused(NetfsListDirectory(v, "\\", root, &error), error);
  ByteBuffer users;
  if (NetfsReadFileContent(v, "\\users?system", users, &error) == NetfsResult::Ok) {
    std::vector<UserRecord> records;
    ParseUsers(users, records, &error);
  }
  NetfsTreeNode tree;
  const NetfsResult loaded = NetfsLoadTree(v, tree, &error);
  Refused(loaded, error);
  if (loaded == NetfsResult::Ok) {
    // Names that repeat within a folder (or that the writer refuses) cannot
    // be told apart by path; such trees are read but not compared.
    std::vector<std::pair<std::string, NetfsResult>> before, after;
    std::vector<ByteBuffer> contentBefore, contentAfter;
    ReadAll(v, tree, "", before, contentBefore);
    const ByteBuffer image = NetfsBuildImage(tree);
    NetfsVolume copy = NetfsVolumeFromMemory(image.data(), image.size());
    if (!NetfsOpenVolume(copy, &error)) Fail("the writer's image does not open");
    NetfsTreeNode again;
    if (NetfsLoadTree(copy, again, &error) != NetfsResult::Ok) Fail("the writer's image does not load");
    ReadAll(copy, again, "", after, contentAfter);
    if (before != after || contentBefore != contentAfter) Fail("the writer's image reads differently");
  }
  pl3::ClearResponderRecords();
  return 0;
}
