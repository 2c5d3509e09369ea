// Section/key access to an XML definition or settings file: the root's
// children are sections, theirs are keys; a section may name a deeper
// element with "/". Results: 0 done, 1 or -1 as listed; -1 also after a
// platform failure, with the message in the last error.
#pragma once

#include <list>
#include <string>

#include "base/xml_file.h"

class CDefFile : public CXMLFile {
public:
    CDefFile();
    // Loads the file at once; the outcome shows in later results and in the
    // last error.
    explicit CDefFile(const char* path);
    virtual ~CDefFile();

    // 0: out = the key's text; 1: the key or its text is missing, out = the
    // default (empty for null); -1: failure (also without a document).
    int GetValue(const char* section, const char* key, const char* defaultText, std::string& out);

    // 0: the whole text of every element the path selects was appended, in
    // document order; -1: nothing matched, or failure.
    int GetValueList(const char* section, const char* key, std::list<std::string>& out);

    // Writes along the path section/key (see the source for the walk).
    // Without `add` only an existing key changes; with it a new key element
    // is appended. 0 written; -1 nothing written, or failure.
    int SetValue(const char* section, const char* key, const char* value, int add);

    // index >= 0: the index-th element the path selects gets the value as its
    // whole text (0), or -1 without such an element. index < 0: SetValue with
    // the add flag.
    int SetValueAt(const char* section, const char* key, const char* value, int index);

    // 0: the names of all child nodes of the element at the path were
    // appended in document order; -1: no child, no element, or failure.
    int GetChildNames(const char* path, std::list<std::string>& out);
};
