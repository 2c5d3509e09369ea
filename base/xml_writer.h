// Indented Shift_JIS text of a DOM document, written by walking the tree.
// The platform's SAX writer cannot be relied on everywhere, so the system
// writes the markup itself. Internal to the base layer.
#pragma once

#include <string>

struct IXMLDOMDocument;

// The declaration (version "1.0", encoding "Shift_JIS"), then every node of
// the document, one element a line, indented by one tab per level, lines
// ending in CR LF. An element holding text keeps its content on its line
// exactly as it is. Characters without a Shift_JIS form are written as
// character references where markup allows them.
std::string FormatDomIndented(IXMLDOMDocument* document);
