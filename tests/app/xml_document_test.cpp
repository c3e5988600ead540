#include "app/xml_document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/kernel_files.h"
#include "tests/support/test_paths.h"

namespace {

struct HandleDeleter {
  void operator()(XmlHandle* h) const { FreeXmlHandle(h); }
};
using Handle = std::unique_ptr<XmlHandle, HandleDeleter>;

Handle NewDocument() {
  XmlHandle* doc = nullptr;
  CreateXmlDocument(&doc);
  return Handle(doc);
}

// Takes a returned heap string; "<null>" for none.
std::string Take(char* text) {
  std::string s = text ? text : "<null>";
  std::free(text);
  return s;
}

Handle Parse(const std::string& text) {
  Handle doc = NewDocument();
  EXPECT_TRUE(LoadXmlDocumentText(doc.get(), text.data(), text.size())) << text;
  return doc;
}

// The tree as text: name, attributes asked for by name, then children.
std::string Describe(XmlHandle* node) {
  std::string out = Take(GetXmlNodeName(node));
  for (const char* a : {"type", "size", "name"}) {
    char* v = GetXmlAttribute(node, a);
    if (v) out += std::string(" ") + a + "=" + Take(v);
  }
  out += "(";
  for (Handle c(GetXmlFirstChild(node)); c; c.reset(GetXmlNextSibling(c.get()))) out += Describe(c.get());
  return out + ")";
}

TEST(XmlDocument, IntegersAreWrittenAndReadInDecimal) {
  Handle doc = NewDocument();
  Handle root(CreateXmlElement(doc.get(), "root"));
  EXPECT_EQ(AppendXmlChild(doc.get(), root.get()), 0);
  EXPECT_TRUE(SetXmlAttributeInt(root.get(), "rcleft", -5));
  EXPECT_TRUE(SetXmlAttributeInt(root.get(), "rcleft", -6));  // replaced, not doubled
  EXPECT_EQ(Take(GetXmlAttribute(root.get(), "rcleft")), "-6");
  EXPECT_FALSE(SetXmlAttributeInt(doc.get(), "x", 1));  // the document has no attributes

  const std::string dir = pl3test::MakeTempDir("xmlint");
  const std::string path = dir + "/ints.xml";
  SetXmlAttributeInt(root.get(), "rcleft", -5);
  ASSERT_TRUE(SaveXmlDocument(doc.get(), path.c_str()));
  EXPECT_NE(pl3test::ReadFileBytes(path).find("rcleft=\"-5\""), std::string::npos);

  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {{"12", 12}, {"-7abc", -7}, {"0x10", 0}, {" 42", 42}, {"", 0},
                        {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}, {"abc", 0}};
  for (const Case& c : cases) {
    Handle parsed = Parse(std::string("<r v=\"") + c.text + "\"/>");
    Handle r(GetXmlDocumentElement(parsed.get()));
    int found = 0;
    EXPECT_EQ(GetXmlAttributeInt(r.get(), "v", &found), c.value) << c.text;
    EXPECT_EQ(found, 1) << c.text;
  }
}

TEST(XmlDocument, AttributeNamesCompareExactly) {
  Handle doc = Parse("<pane type=\"3\" Size=\"9\"/>");
  Handle pane(GetXmlDocumentElement(doc.get()));
  EXPECT_EQ(Take(GetXmlAttribute(pane.get(), "type")), "3");
  EXPECT_EQ(Take(GetXmlAttribute(pane.get(), "Type")), "<null>");
  EXPECT_EQ(Take(GetXmlAttribute(pane.get(), "size")), "<null>");
  int found = 7;
  EXPECT_EQ(GetXmlAttributeInt(pane.get(), "TYPE", &found), 0);
  EXPECT_EQ(found, 7);
  EXPECT_EQ(GetXmlAttributeInt(pane.get(), "Size", nullptr), 9);
  // Nodes without attributes and null handles answer null or 0.
  EXPECT_EQ(Take(GetXmlAttribute(doc.get(), "type")), "<null>");
  EXPECT_EQ(Take(GetXmlAttribute(nullptr, "type")), "<null>");
  EXPECT_EQ(GetXmlAttributeInt(nullptr, "type", nullptr), 0);
  // Values come back in the program's code page.
  Handle text = Parse("<p v=\"\xE2\x82\xAC \xE4\xB8\x80\"/>");  // euro sign, a CJK character
  Handle p(GetXmlDocumentElement(text.get()));
  EXPECT_EQ(Take(GetXmlAttribute(p.get(), "v")), "\x80 ?");
}

TEST(XmlDocument, MissingOrMalformedFilesDoNotLoad) {
  Handle doc = NewDocument();
  const std::string dir = pl3test::MakeTempDir("xmlmissing");
  EXPECT_FALSE(LoadXmlDocument(doc.get(), (dir + "/absent.xml").c_str()));
  pl3test::WriteFileBytes(dir + "/bad.xml", "<root><pane></root>");
  EXPECT_FALSE(LoadXmlDocument(doc.get(), (dir + "/bad.xml").c_str()));
  EXPECT_FALSE(LoadXmlDocument(nullptr, (dir + "/bad.xml").c_str()));
  Handle empty(GetXmlDocumentElement(doc.get()));
  EXPECT_EQ(empty, nullptr);
}

TEST(XmlDocument, ExternalEntitiesAndDtdsAreNeverFetched) {
  const std::string dir = pl3test::MakeTempDir("xmldtd");
  pl3test::WriteFileBytes(dir + "/secret.txt", "SECRET");
  pl3test::WriteFileBytes(dir + "/outer.dtd", "<!ENTITY inner \"SECRET\">");
  const std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE root SYSTEM \"" + dir +
                           "/outer.dtd\" [\n<!ENTITY ext SYSTEM \"" + dir +
                           "/secret.txt\">\n<!ENTITY lol \"lollol\">\n]>\n<root a=\"&ext;\">&ext;&inner;&lol;</root>";
  pl3test::WriteFileBytes(dir + "/doc.xml", text);
  Handle doc = NewDocument();
  ASSERT_TRUE(LoadXmlDocument(doc.get(), (dir + "/doc.xml").c_str()));
  Handle root(GetXmlDocumentElement(doc.get()));
  EXPECT_EQ(Take(GetXmlNodeName(root.get())), "root");
  const std::string a = Take(GetXmlAttribute(root.get(), "a"));
  EXPECT_EQ(a.find("SECRET"), std::string::npos);
  const std::string saved = dir + "/again.xml";
  ASSERT_TRUE(SaveXmlDocument(doc.get(), saved.c_str()));
  const std::string out = pl3test::ReadFileBytes(saved);
  EXPECT_EQ(out.find("SECRET"), std::string::npos);
  EXPECT_EQ(out.find("lollol"), std::string::npos);
}

TEST(XmlDocument, SaveThenLoadGivesTheSameTreeWithTheCodePageAtTheEdge) {
  Handle doc = NewDocument();
  Handle root(CreateXmlElement(doc.get(), "root"));
  ASSERT_EQ(AppendXmlChildChecked(doc.get(), root.get()), 1);
  const char* names[] = {"Workspace", "Gr\xF6\xDF" "e"};  // Windows-1252: o-umlaut, sharp s
  for (int i = 0; i < 2; ++i) {
    Handle pane(CreateXmlElement(doc.get(), "pane"));
    SetXmlAttributeInt(pane.get(), "type", i + 1);
    SetXmlAttributeInt(pane.get(), "size", -100 * i);
    ASSERT_EQ(AppendXmlChildChecked(root.get(), pane.get()), 1);
    Handle label(CreateXmlElement(doc.get(), names[i]));
    ASSERT_EQ(AppendXmlChildChecked(pane.get(), label.get()), 1);
  }
  // Attributes set through a handle after it moved into the tree land there.
  Handle first(GetXmlFirstChild(root.get()));
  Handle label(GetXmlFirstChild(first.get()));
  Handle size(CreateXmlElement(doc.get(), "x"));
  ASSERT_EQ(AppendXmlChildChecked(label.get(), size.get()), 1);
  SetXmlAttributeInt(size.get(), "size", 7);
  const std::string before = Describe(doc.get());
  EXPECT_EQ(before,
            "#document(root(pane type=1 size=0(Workspace(x size=7()))pane type=2 size=-100(Gr\xF6\xDF" "e())))");
  EXPECT_EQ(GetXmlChildCount(root.get()), 2);

  const std::string dir = pl3test::MakeTempDir("xmlround");
  const std::string path = dir + "/layout.xml";
  pl3test::WriteFileBytes(path, "old");
  ASSERT_TRUE(SaveXmlDocument(doc.get(), path.c_str()));
  const std::string bytes = pl3test::ReadFileBytes(path);
  EXPECT_NE(bytes.find("Gr\xC3\xB6\xC3\x9F" "e"), std::string::npos) << "UTF-8 in the file";

  Handle loaded = NewDocument();
  ASSERT_TRUE(LoadXmlDocument(loaded.get(), path.c_str()));
  EXPECT_EQ(Describe(loaded.get()), before);
  Handle loadedRoot(GetXmlDocumentElement(loaded.get()));
  Handle last(GetXmlLastChild(loadedRoot.get()));
  EXPECT_EQ(GetXmlAttributeInt(last.get(), "type", nullptr), 2);
  Handle none(GetXmlNextSibling(last.get()));
  EXPECT_EQ(none, nullptr);
}

TEST(XmlDocument, AppendsRefuseWhatCannotBeAttached) {
  Handle doc = NewDocument();
  Handle root(CreateXmlElement(doc.get(), "root"));
  Handle child(CreateXmlElement(doc.get(), "child"));
  ASSERT_EQ(AppendXmlChildChecked(doc.get(), root.get()), 1);
  ASSERT_EQ(AppendXmlChildChecked(root.get(), child.get()), 1);
  XmlHandle* before = root.get();
  EXPECT_EQ(AppendXmlChildChecked(child.get(), root.get()), 0) << "an ancestor into its descendant";
  EXPECT_EQ(root.get(), before);
  EXPECT_EQ(Take(GetXmlNodeName(root.get())), "root");
  EXPECT_EQ(AppendXmlChildChecked(root.get(), nullptr), 0);
  EXPECT_EQ(AppendXmlChildChecked(nullptr, child.get()), 0);
  EXPECT_EQ(AppendXmlChildChecked(root.get(), doc.get()), 0);
  EXPECT_EQ(CreateXmlElement(doc.get(), ""), nullptr);
  EXPECT_EQ(GetXmlChildCount(nullptr), 0);
  EXPECT_EQ(Take(GetXmlNodeName(nullptr)), "<null>");
  // A node's handle keeps its document alive.
  doc.reset();
  EXPECT_EQ(GetXmlChildCount(root.get()), 1);
  EXPECT_EQ(Describe(root.get()), "root(child())");
}

}  // namespace
