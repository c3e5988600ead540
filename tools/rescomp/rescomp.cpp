// rescomp: compiles a resource description into a C++ source file that
// registers the module's resources (see README.md in this folder).
//
//   rescomp <description> <output.cpp> [--depfile <file.d>]
//
// Any fault in the description prints "<file>:<line>: <message>" and ends
// with status 1 without leaving an output file behind.
#include <FreeImage.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Type numbers and menu flags of the binary formats written here.
constexpr int kTypeCursor = 1, kTypeBitmap = 2, kTypeIcon = 3, kTypeMenu = 4, kTypeGroupCursor = 12,
              kTypeGroupIcon = 14;
constexpr int kMenuGrayed = 0x1, kMenuDisabled = 0x2, kMenuChecked = 0x8, kMenuPopup = 0x10,
              kMenuBarBreak = 0x20, kMenuBreak = 0x40, kMenuEnd = 0x80, kMenuOwnerDraw = 0x100,
              kMenuSeparator = 0x800, kMenuHelp = 0x4000;

struct Failure {
  int line;
  std::string message;
};

struct Token {
  std::string text;
  bool quoted = false;
};

// A resource name or type: a number from 1 to 65535, or a string.
struct Id {
  bool isNumber = false;
  unsigned number = 0;
  std::string name;
  std::string Key() const {
    if (isNumber) return std::string(1, '#').append(std::to_string(number));
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
  }
};

struct Resource {
  Id type;
  Id name;
  Bytes bytes;
  int line;
};

void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

std::vector<Token> Tokenize(const std::string& line, int lineNo) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token t{"", true};
      ++i;
      for (;;) {
        if (i >= line.size()) throw Failure{lineNo, "unterminated string"};
        char d = line[i++];
        if (d == '"') break;
        if (d == '\\') {
          if (i >= line.size()) throw Failure{lineNo, "unterminated string"};
          d = line[i++];
          switch (d) {
            case 't': d = '\t'; break;
            case 'n': d = '\n'; break;
            case '"': case '\\': break;
            default: throw Failure{lineNo, std::string("unknown escape \\") + d};
          }
        }
        t.text += d;
      }
      out.push_back(t);
    } else {
      Token t;
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '"' && line[i] != '#')
        t.text += line[i++];
      out.push_back(t);
    }
  }
  return out;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::optional<long> ParseInteger(const std::string& s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  return std::stol(s);
}

Id ParseId(const Token& t, int line) {
  if (!t.quoted && !t.text.empty() && std::isdigit(static_cast<unsigned char>(t.text[0]))) {
    auto n = ParseInteger(t.text);
    if (!n || *n < 1 || *n > 65535) throw Failure{line, "resource number must be 1 to 65535: " + t.text};
    return Id{true, static_cast<unsigned>(*n), ""};
  }
  if (t.text.empty()) throw Failure{line, "empty resource name"};
  return Id{false, 0, t.text};
}

std::u16string Utf16(const std::string& s, int line) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) throw Failure{line, "text is not UTF-8"};
    std::uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= s.size()) throw Failure{line, "text is not UTF-8"};
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) throw Failure{line, "text is not UTF-8"};
      cp = (cp << 6) | (d & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

// An image decoded to 32-bit blue, green, red, alpha rows, bottom row first.
struct Image {
  int width = 0;
  int height = 0;
  Bytes pixels;
};

Image LoadImageFile(const fs::path& path, int line) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw Failure{line, "missing image " + path.string()};
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  FIBITMAP* loaded = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.c_str(), 0);
  if (!loaded) throw Failure{line, "cannot read image " + path.string()};
  FIBITMAP* rgba = FreeImage_ConvertTo32Bits(loaded);
  FreeImage_Unload(loaded);
  if (!rgba) throw Failure{line, "cannot convert image " + path.string()};
  Image img;
  img.width = static_cast<int>(FreeImage_GetWidth(rgba));
  img.height = static_cast<int>(FreeImage_GetHeight(rgba));
  for (int y = 0; y < img.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(rgba, y);  // row 0 is the bottom row
    for (int x = 0; x < img.width; ++x) {
      img.pixels.push_back(row[x * 4 + FI_RGBA_BLUE]);
      img.pixels.push_back(row[x * 4 + FI_RGBA_GREEN]);
      img.pixels.push_back(row[x * 4 + FI_RGBA_RED]);
      img.pixels.push_back(row[x * 4 + FI_RGBA_ALPHA]);
    }
  }
  FreeImage_Unload(rgba);
  return img;
}

void PutInfoHeader(Bytes& b, int width, int height, std::uint32_t imageBytes) {
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 0);  // no compression
  Put32(b, imageBytes);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
}

// An icon image: header with the height doubled, the colour rows, then the
// mask rows (a set bit is transparent), each padded to four bytes.
Bytes IconImage(const Image& img) {
  const int maskStride = ((img.width + 31) / 32) * 4;
  Bytes b;
  PutInfoHeader(b, img.width, img.height * 2,
                static_cast<std::uint32_t>(img.pixels.size() + static_cast<std::size_t>(maskStride) * img.height));
  b.insert(b.end(), img.pixels.begin(), img.pixels.end());
  for (int y = 0; y < img.height; ++y) {
    Bytes row(static_cast<std::size_t>(maskStride), 0);
    for (int x = 0; x < img.width; ++x)
      if (img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

struct Description {
  fs::path file;
  fs::path folder;
  std::vector<Resource> resources;
  std::vector<std::string> images;  // for the depfile
  unsigned nextIconId = 1;
  unsigned nextCursorId = 1;
};

fs::path ImagePath(Description& d, const Token& t) {
  fs::path p = fs::path(t.text).is_absolute() ? fs::path(t.text) : d.folder / t.text;
  d.images.push_back(p.string());
  return p;
}

void Need(const std::vector<Token>& tokens, std::size_t count, int line, const char* usage) {
  if (tokens.size() != count) throw Failure{line, std::string("expected: ") + usage};
}

void Add(Description& d, unsigned type, const Id& name, Bytes bytes, int line) {
  d.resources.push_back(Resource{Id{true, type, ""}, name, std::move(bytes), line});
}

void CompileIcon(Description& d, const std::vector<Token>& t, int line) {
  if (t.size() < 3) throw Failure{line, "expected: ICON <name> <image.png> ..."};
  Bytes group;
  Put16(group, 0);
  Put16(group, 1);
  Put16(group, static_cast<unsigned>(t.size() - 2));
  std::vector<std::pair<int, int>> sizes;
  for (std::size_t i = 2; i < t.size(); ++i) {
    Image img = LoadImageFile(ImagePath(d, t[i]), line);
    if (img.width < 1 || img.width > 256 || img.height < 1 || img.height > 256)
      throw Failure{line, "icon images are 1 to 256 pixels: " + t[i].text};
    if (std::find(sizes.begin(), sizes.end(), std::make_pair(img.width, img.height)) != sizes.end())
      throw Failure{line, "two icon images of one size: " + t[i].text};
    sizes.emplace_back(img.width, img.height);
    Bytes image = IconImage(img);
    const unsigned id = d.nextIconId++;
    group.push_back(static_cast<std::uint8_t>(img.width & 0xFF));
    group.push_back(static_cast<std::uint8_t>(img.height & 0xFF));
    group.push_back(0);
    group.push_back(0);
    Put16(group, 1);
    Put16(group, 32);
    Put32(group, static_cast<std::uint32_t>(image.size()));
    Put16(group, id);
    Add(d, kTypeIcon, Id{true, id, ""}, std::move(image), line);
  }
  Add(d, kTypeGroupIcon, ParseId(t[1], line), std::move(group), line);
}

void CompileCursor(Description& d, const std::vector<Token>& t, int line) {
  Need(t, 5, line, "CURSOR <name> <image.png> <hot x> <hot y>");
  Image img = LoadImageFile(ImagePath(d, t[2]), line);
  auto hx = ParseInteger(t[3].text), hy = ParseInteger(t[4].text);
  if (!hx || !hy || *hx >= img.width || *hy >= img.height) throw Failure{line, "hot spot outside the image"};
  if (img.width > 256 || img.height > 256) throw Failure{line, "cursor images are at most 256 pixels"};
  Bytes image;
  Put16(image, static_cast<unsigned>(*hx));
  Put16(image, static_cast<unsigned>(*hy));
  Bytes icon = IconImage(img);
  image.insert(image.end(), icon.begin(), icon.end());
  const unsigned id = d.nextCursorId++;
  Bytes group;
  Put16(group, 0);
  Put16(group, 2);
  Put16(group, 1);
  Put16(group, static_cast<unsigned>(img.width));
  Put16(group, static_cast<unsigned>(img.height * 2));
  Put16(group, 1);
  Put16(group, 32);
  Put32(group, static_cast<std::uint32_t>(image.size()));
  Put16(group, id);
  Add(d, kTypeCursor, Id{true, id, ""}, std::move(image), line);
  Add(d, kTypeGroupCursor, ParseId(t[1], line), std::move(group), line);
}

void CompileBitmap(Description& d, const std::vector<Token>& t, int line) {
  Need(t, 3, line, "BITMAP <name> <image>");
  Image img = LoadImageFile(ImagePath(d, t[2]), line);
  Bytes b;
  PutInfoHeader(b, img.width, img.height, static_cast<std::uint32_t>(img.pixels.size()));
  b.insert(b.end(), img.pixels.begin(), img.pixels.end());
  Add(d, kTypeBitmap, ParseId(t[1], line), std::move(b), line);
}

void CompilePng(Description& d, const std::vector<Token>& t, int line) {
  Need(t, 3, line, "PNG <name> <image.png>");
  const fs::path path = ImagePath(d, t[2]);
  LoadImageFile(path, line);  // proves it decodes
  if (FreeImage_GetFileType(path.c_str(), 0) != FIF_PNG) throw Failure{line, "not a PNG file: " + t[2].text};
  std::ifstream in(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  d.resources.push_back(Resource{Id{false, 0, "PNG"}, ParseId(t[1], line), std::move(bytes), line});
}

// Menu items of one level until its END; returns the line after it.
std::size_t CompileMenuLevel(const std::vector<std::string>& lines, std::size_t at, int openLine, Bytes& out) {
  struct Item {
    unsigned flags;
    unsigned id;
    std::u16string text;
    Bytes children;
  };
  std::vector<Item> items;
  for (std::size_t i = at; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    auto t = Tokenize(lines[i], line);
    if (t.empty()) continue;
    const std::string word = Upper(t[0].quoted ? "" : t[0].text);
    if (word == "END") {
      if (t.size() != 1) throw Failure{line, "END takes nothing after it"};
      if (items.empty()) throw Failure{openLine, "a menu level has no items"};
      items.back().flags |= kMenuEnd;
      for (const Item& item : items) {
        Put16(out, item.flags);
        if (!(item.flags & kMenuPopup)) Put16(out, item.id);
        for (char16_t c : item.text) Put16(out, c);
        Put16(out, 0);
        out.insert(out.end(), item.children.begin(), item.children.end());
      }
      return i + 1;
    }
    Item item{0, 0, u"", {}};
    std::size_t options = 0;
    if (word == "SEPARATOR") {
      item.flags = kMenuSeparator;
      options = 1;
    } else if (word == "ITEM" || word == "POPUP") {
      const bool popup = word == "POPUP";
      if (t.size() < (popup ? 2u : 3u) || !t[1].quoted)
        throw Failure{line, popup ? "expected: POPUP \"text\" [options]" : "expected: ITEM \"text\" <id> [options]"};
      item.text = Utf16(t[1].text, line);
      options = 2;
      if (!popup) {
        auto id = ParseInteger(t[2].text);
        if (t[2].quoted || !id || *id > 65535) throw Failure{line, "menu id must be 0 to 65535: " + t[2].text};
        item.id = static_cast<unsigned>(*id);
        options = 3;
      }
      if (popup) {
        item.flags = kMenuPopup;
        i = CompileMenuLevel(lines, i + 1, line, item.children) - 1;
      }
    } else {
      throw Failure{line, "expected ITEM, POPUP, SEPARATOR or END, found " + t[0].text};
    }
    static const std::map<std::string, unsigned> kOptions = {
        {"GRAYED", kMenuGrayed},       {"DISABLED", kMenuDisabled},   {"CHECKED", kMenuChecked},
        {"MENUBREAK", kMenuBreak},     {"MENUBARBREAK", kMenuBarBreak}, {"OWNERDRAW", kMenuOwnerDraw},
        {"HELP", kMenuHelp}};
    for (std::size_t k = options; k < t.size(); ++k) {
      auto it = kOptions.find(Upper(t[k].text));
      if (t[k].quoted || it == kOptions.end()) throw Failure{line, "unknown menu option " + t[k].text};
      item.flags |= it->second;
    }
    items.push_back(std::move(item));
  }
  throw Failure{openLine, "missing END"};
}

void Compile(Description& d) {
  std::ifstream in(d.file);
  if (!in) throw Failure{0, "cannot read the description"};
  std::vector<std::string> lines;
  for (std::string s; std::getline(in, s);) lines.push_back(s);
  for (std::size_t i = 0; i < lines.size();) {
    const int line = static_cast<int>(i + 1);
    auto t = Tokenize(lines[i], line);
    if (t.empty()) {
      ++i;
      continue;
    }
    const std::string word = Upper(t[0].quoted ? "" : t[0].text);
    if (word == "MENU") {
      Need(t, 2, line, "MENU <name>");
      Bytes b;
      Put16(b, 0);
      Put16(b, 0);
      i = CompileMenuLevel(lines, i + 1, line, b);
      Add(d, kTypeMenu, ParseId(t[1], line), std::move(b), line);
      continue;
    }
    if (word == "ICON") CompileIcon(d, t, line);
    else if (word == "CURSOR") CompileCursor(d, t, line);
    else if (word == "BITMAP") CompileBitmap(d, t, line);
    else if (word == "PNG") CompilePng(d, t, line);
    else throw Failure{line, "unknown statement " + t[0].text};
    ++i;
  }
  std::map<std::string, int> seen;
  for (const Resource& r : d.resources) {
    auto [it, fresh] = seen.emplace(r.type.Key() + "/" + r.name.Key(), r.line);
    if (!fresh)
      throw Failure{r.line, "duplicate resource name " + (r.name.isNumber ? std::to_string(r.name.number) : r.name.name) +
                                " (first at line " + std::to_string(it->second) + ")"};
  }
}

std::string CString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string IdExpression(const Id& id) {
  return id.isNumber ? "MAKEINTRESOURCE(" + std::to_string(id.number) + ")" : CString(id.name);
}

std::string Generate(const Description& d) {
  std::ostringstream o;
  o << "// Generated by rescomp from " << d.file.filename().string() << "; edit the description instead.\n"
    << "#include \"platform/resources.h\"\n\nnamespace {\n\n";
  for (std::size_t i = 0; i < d.resources.size(); ++i) {
    o << "alignas(4) const BYTE kData" << i << "[] = {";
    const Bytes& b = d.resources[i].bytes;
    for (std::size_t k = 0; k < b.size(); ++k) o << (k % 24 == 0 ? "\n  " : "") << static_cast<unsigned>(b[k]) << ",";
    o << "\n};\n";
  }
  o << "\nconst ResourceEntry kResources[] = {\n";
  for (std::size_t i = 0; i < d.resources.size(); ++i)
    o << "  {" << IdExpression(d.resources[i].type) << ", " << IdExpression(d.resources[i].name) << ", kData" << i
      << ", sizeof kData" << i << "},\n";
  o << "};\n\nconst pl3::ResourceRegistration kRegistration(kResources);\n\n}  // namespace\n";
  return o.str();
}

bool WriteFile(const fs::path& path, const std::string& text) {
  const fs::path temp = path.string() + ".part";
  {
    std::ofstream out(temp, std::ios::binary);
    out << text;
    if (!out.flush()) return false;
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  return !ec;
}

std::string DepfileText(const fs::path& output, const Description& d) {
  auto escape = [](const std::string& s) {
    std::string out;
    for (char c : s) {
      if (c == ' ' || c == '#') out += '\\';
      if (c == '$') out += '$';
      out += c;
    }
    return out;
  };
  std::string text = escape(output.string()) + ":";
  for (const std::string& img : d.images) text += " \\\n  " + escape(fs::absolute(img).string());
  return text + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--depfile")) {
    std::fprintf(stderr, "usage: rescomp <description> <output.cpp> [--depfile <file.d>]\n");
    return 2;
  }
  FreeImage_Initialise(FALSE);
  Description d;
  d.file = argv[1];
  d.folder = d.file.parent_path();
  const fs::path output = argv[2];
  int status = 0;
  try {
    Compile(d);
    if (d.resources.empty()) throw Failure{0, "the description holds no resources"};
    if (!WriteFile(output, Generate(d)) || (argc == 5 && !WriteFile(argv[4], DepfileText(output, d)))) {
      std::fprintf(stderr, "%s: cannot write the output\n", output.string().c_str());
      status = 1;
    }
  } catch (const Failure& f) {
    std::fprintf(stderr, "%s:%d: %s\n", d.file.string().c_str(), f.line, f.message.c_str());
    status = 1;
  }
  if (status != 0) {
    std::error_code ec;
    fs::remove(output, ec);
  }
  FreeImage_DeInitialise();
  return status;
}
