// The program's XML documents ("dockingwindows.xml", "spiceattributes.xml"):
// a thin layer of handles over a DOM.
//
// A handle is a small heap cell naming one document, element or other node.
// Every operation that gives a node gives a new handle, or null when there is
// no such node or the call failed; the caller frees each handle with
// FreeXmlHandle. A node handle keeps its document alive, so handles may be
// freed in any order.
//
// Texts cross this layer in the program's code page (Windows-1252) and are
// stored as UTF-8; returned texts are new malloc'ed strings the caller frees.
// Paths are program paths. Loading never fetches or expands a DTD or an
// external entity. Nothing here shows a message.
#pragma once
#include <cstddef>
#include <cstdint>

struct XmlHandle;

// Creates an empty document into *document (null when it cannot be made).
void CreateXmlDocument(XmlHandle** document);
void FreeXmlHandle(XmlHandle* handle);

// True only when the file was read and parsed; the document then holds it.
bool LoadXmlDocument(XmlHandle* document, const char* path);
// The same from text in memory (UTF-8, or any encoding its declaration or
// byte-order mark names).
bool LoadXmlDocumentText(XmlHandle* document, const void* text, std::size_t size);
// Replaces the file with the document, atomically; true on success.
bool SaveXmlDocument(XmlHandle* document, const char* path);

XmlHandle* GetXmlDocumentElement(XmlHandle* document);
// A new element of that name, not yet in the tree.
XmlHandle* CreateXmlElement(XmlHandle* document, const char* name);
// Appends the child to the parent (moving it when it is already in the same
// tree, copying it in when it was created unattached or belongs to another
// document) and points the child's handle at the node in the tree. Always 0.
int AppendXmlChild(XmlHandle* parent, XmlHandle* child);
// The same, 1 on success and 0 on failure (the child's handle unchanged).
int AppendXmlChildChecked(XmlHandle* parent, XmlHandle* child);
// Sets the attribute to the integer's decimal text; true on success.
bool SetXmlAttributeInt(XmlHandle* element, const char* name, std::int32_t value);

XmlHandle* GetXmlFirstChild(XmlHandle* node);
XmlHandle* GetXmlLastChild(XmlHandle* node);
XmlHandle* GetXmlNextSibling(XmlHandle* node);
// The number of child nodes (text and comments too), 0 on failure.
int GetXmlChildCount(XmlHandle* node);
// The element's name; "#document", "#text", "#cdata-section", "#comment"
// for the other kinds. Null for a null handle.
char* GetXmlNodeName(XmlHandle* node);
// The value of the attribute whose name matches exactly (letter case
// counts), or null when the node has none.
char* GetXmlAttribute(XmlHandle* node, const char* name);
// The attribute's value read as a decimal integer (an optional sign, then
// digits; the rest ignored; clamped to 32 bits), with *found set to 1; 0 with
// *found untouched when the node has no such attribute. `found` may be null.
std::int32_t GetXmlAttributeInt(XmlHandle* node, const char* name, int* found);
