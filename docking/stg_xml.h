// Storage nodes for the window layout: named text and byte values and named
// child nodes. CStgXML keeps a node as one element of an MSXML DOM document,
// values as attributes and children as child elements. Byte values are text
// of two lower-case hex digits and a blank per byte ("00 04 00 00 ").
#pragma once
#include <windows.h>
#include <string>

struct IXMLDOMElement;

namespace zav {

class IStorge {
public:
    virtual ~IStorge() {}
    // All operations answer 0 on success; 2 for a missing node or value.
    virtual long Open(IStorge& parent, const char* name) = 0;
    virtual long Create(IStorge& parent, const char* name) = 0;
    virtual long SetString(const char* name, const char* text) = 0;
    // size: in, the buffer's size in bytes; out, the text's length (no terminator).
    virtual long GetString(const char* name, char* buffer, unsigned long* size) = 0;
    virtual long SetBinary(const char* name, const void* bytes, unsigned long count) = 0;
    // size: in, the buffer's size; out, the number of bytes the value holds.
    virtual long GetBinary(const char* name, void* buffer, unsigned long* size) = 0;
};

const char* const kStgProgId = "Msxml2.FreeThreadedDOMDocument";

class CStgXML : public IStorge {
public:
    CStgXML() {}
    ~CStgXML() override;
    CStgXML(const CStgXML&) = delete;
    CStgXML& operator=(const CStgXML&) = delete;

    long Open(IStorge& parent, const char* name) override;
    long Create(IStorge& parent, const char* name) override;
    long SetString(const char* name, const char* text) override;
    long GetString(const char* name, char* buffer, unsigned long* size) override;
    long SetBinary(const char* name, const void* bytes, unsigned long count) override;
    long GetBinary(const char* name, void* buffer, unsigned long* size) override;

    // A new document and a root element not yet placed in it.
    long CreateDocument(const char* rootName, const char* progId = kStgProgId);
    // Loads a file; the node becomes its child element named rootName.
    long LoadDocument(const char* path, const char* rootName, const char* progId = kStgProgId);
    // Places a new root in its document behind an xml declaration, then saves.
    long SaveDocument(const char* path);

    bool IsEmpty() const { return m_elem == nullptr; }
    IXMLDOMElement* Element() const { return m_elem; }

private:
    void Reset(IXMLDOMElement* e);
    IXMLDOMElement* m_elem = nullptr;
};

// The byte-value text form, shared with the tests.
std::string EncodeStgBytes(const void* bytes, unsigned long count);
// Parses hex tokens separated by white space, stopping at the first that is not hex.
std::string DecodeStgBytes(const char* text);

}  // namespace zav
