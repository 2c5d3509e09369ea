// An XML definition or settings file held in memory through the MSXML DOM:
// load, plain and indented save, pruning of empty elements. Section/key
// access is CDefFile (base/def_file.h).
#pragma once

#include <string>

struct IXMLDOMDocument;
struct IXMLDOMNode;

class CXMLFile {
public:
    CXMLFile();
    virtual ~CXMLFile();

    CXMLFile(const CXMLFile&) = delete;
    CXMLFile& operator=(const CXMLFile&) = delete;

    // Releases any document held, then loads the file (path in the thread's
    // ANSI code page). 1 on success; 0 on failure with the parser's reason in
    // the last error.
    int Load(const char* path);

    // The DOM's own save, not re-indented. 1 written, 0 not (no document, or
    // the platform refused).
    int Save(const char* path);

    // Writes the document indented, declared and encoded as Shift_JIS.
    // 1 on success; 0 after an error box.
    int SaveFormatted(const char* path);

    // Prunes every element below the root that holds no non-empty text
    // anywhere beneath it; comments go as well. The root always stays.
    void RemoveEmptyElements();

    // The document as Shift_JIS text, exactly as SaveFormatted writes it; an
    // empty text without a document.
    std::string FormatIndented() const;

    bool IsLoaded() const { return m_document != nullptr; }
    const std::string& GetLastError() const { return m_lastError; }

    int m_modified;               // set by a change; never cleared here
    IXMLDOMDocument* m_document;  // null until a load succeeds
    std::string m_lastError;
    // 0: neither validate nor resolve external references; -1: the
    // parser's defaults; other: both on.
    int m_validateMode;

protected:
    // The root element, AddRef'ed; null without a document or root.
    IXMLDOMNode* GetRootNode() const;

private:
    void ReleaseDocument();
    int EnsureCom();

    // COM is entered at most once per object and left once when the object
    // ends, so a thread's COM use stays balanced however often it loads.
    bool m_comEntered;
};
