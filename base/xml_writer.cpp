#include "base/xml_writer.h"

#include <cstdio>

#include "base/xml_com.h"

using xmlcom::Bstr;
using xmlcom::ComPtr;

namespace {

enum class Escape { Text, Attribute, Raw };

// Appends UTF-16 text as Shift_JIS. With Text and Attribute the markup
// characters are escaped and characters without a Shift_JIS form become
// character references; Raw (comments, CDATA, instructions) has no escape
// and writes '?' for them.
void AppendEncoded(std::string& out, const std::wstring& text, Escape mode) {
    std::wstring run;
    auto flush = [&]() {
        if (run.empty()) return;
        BOOL usedDefault = FALSE;
        int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, run.data(), static_cast<int>(run.size()), nullptr, 0,
                                    nullptr, &usedDefault);
        if (n > 0 && !usedDefault) {
            size_t at = out.size();
            out.resize(at + static_cast<size_t>(n));
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, run.data(), static_cast<int>(run.size()), &out[at], n,
                                nullptr, nullptr);
            run.clear();
            return;
        }
        // Slow road, only for text holding unmappable characters.
        for (size_t i = 0; i < run.size(); ++i) {
            unsigned cp = run[i];
            size_t units = 1;
            if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < run.size() && run[i + 1] >= 0xDC00 && run[i + 1] < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (run[i + 1] - 0xDC00);
                units = 2;
            }
            char buffer[8];
            BOOL missing = FALSE;
            int m = units == 1 ? WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &run[i], 1, buffer, sizeof buffer,
                                                     nullptr, &missing)
                               : 0;
            if (m > 0 && !missing) {
                out.append(buffer, static_cast<size_t>(m));
            } else if (mode == Escape::Raw) {
                out += '?';
            } else {
                char ref[16];
                std::snprintf(ref, sizeof ref, "&#x%X;", cp);
                out += ref;
            }
            i += units - 1;
        }
        run.clear();
    };
    for (wchar_t c : text) {
        const char* entity = nullptr;
        if (mode != Escape::Raw) {
            switch (c) {
            case L'&': entity = "&amp;"; break;
            case L'<': entity = "&lt;"; break;
            case L'>': entity = "&gt;"; break;
            case L'\r': entity = "&#13;"; break;
            case L'"': entity = mode == Escape::Attribute ? "&quot;" : nullptr; break;
            case L'\t': entity = mode == Escape::Attribute ? "&#9;" : nullptr; break;
            case L'\n': entity = mode == Escape::Attribute ? "&#10;" : nullptr; break;
            default: break;
            }
        }
        if (entity) {
            flush();
            out += entity;
        } else {
            run += c;
        }
    }
    flush();
}

DOMNodeType TypeOf(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    node->get_nodeType(&type);
    return type;
}

class IndentWriter {
public:
    std::string out;

    void Node(IXMLDOMNode* node, int depth, bool inlineMode) {
        switch (TypeOf(node)) {
        case NODE_ELEMENT: Element(node, depth, inlineMode); break;
        case NODE_TEXT:
            Line(depth, inlineMode, [&] { AppendEncoded(out, xmlcom::NodeValue(node), Escape::Text); });
            break;
        case NODE_CDATA_SECTION:
            Line(depth, inlineMode, [&] {
                out += "<![CDATA[";
                AppendEncoded(out, xmlcom::NodeValue(node), Escape::Raw);
                out += "]]>";
            });
            break;
        case NODE_COMMENT:
            Line(depth, inlineMode, [&] {
                out += "<!--";
                AppendEncoded(out, xmlcom::NodeValue(node), Escape::Raw);
                out += "-->";
            });
            break;
        case NODE_PROCESSING_INSTRUCTION: {
            std::wstring target = xmlcom::NodeName(node);
            if (target == L"xml") break;  // our own declaration replaces it
            Line(depth, inlineMode, [&] {
                out += "<?";
                AppendEncoded(out, target, Escape::Raw);
                std::wstring data = xmlcom::NodeValue(node);
                if (!data.empty()) {
                    out += ' ';
                    AppendEncoded(out, data, Escape::Raw);
                }
                out += "?>";
            });
            break;
        }
        case NODE_ENTITY_REFERENCE:
            // Written as its replacement text: the reloaded file then never
            // depends on a declaration the parser may not resolve.
            Children(node, depth, true);
            break;
        default: {
            // Document type and anything else: the DOM's own markup.
            Bstr xml;
            if (SUCCEEDED(node->get_xml(xml.Out())))
                Line(depth, inlineMode, [&] { AppendEncoded(out, xml.Wide(), Escape::Raw); });
            break;
        }
        }
    }

    void Children(IXMLDOMNode* node, int depth, bool inlineMode) {
        ComPtr<IXMLDOMNodeList> children;
        if (FAILED(node->get_childNodes(children.Out())) || !children) return;
        long count = 0;
        children->get_length(&count);
        for (long i = 0; i < count; ++i) {
            ComPtr<IXMLDOMNode> child;
            if (SUCCEEDED(children->get_item(i, child.Out())) && child) Node(child.Get(), depth, inlineMode);
        }
    }

private:
    template <typename F>
    void Line(int depth, bool inlineMode, F body) {
        if (!inlineMode) out.append(static_cast<size_t>(depth), '\t');
        body();
        if (!inlineMode) out += "\r\n";
    }

    static bool HoldsText(IXMLDOMNode* element) {
        ComPtr<IXMLDOMNode> child;
        element->get_firstChild(child.Out());
        while (child) {
            DOMNodeType type = TypeOf(child.Get());
            if (type == NODE_TEXT || type == NODE_CDATA_SECTION || type == NODE_ENTITY_REFERENCE) return true;
            ComPtr<IXMLDOMNode> next;
            child->get_nextSibling(next.Out());
            child.Reset(next.Detach());
        }
        return false;
    }

    void Element(IXMLDOMNode* node, int depth, bool inlineMode) {
        if (!inlineMode) out.append(static_cast<size_t>(depth), '\t');
        std::wstring name = xmlcom::NodeName(node);
        out += '<';
        AppendEncoded(out, name, Escape::Raw);
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        if (SUCCEEDED(node->get_attributes(attributes.Out())) && attributes) {
            long count = 0;
            attributes->get_length(&count);
            for (long i = 0; i < count; ++i) {
                ComPtr<IXMLDOMNode> attribute;
                if (FAILED(attributes->get_item(i, attribute.Out())) || !attribute) continue;
                out += ' ';
                AppendEncoded(out, xmlcom::NodeName(attribute.Get()), Escape::Raw);
                out += "=\"";
                AppendEncoded(out, xmlcom::NodeValue(attribute.Get()), Escape::Attribute);
                out += '"';
            }
        }
        ComPtr<IXMLDOMNode> child;
        node->get_firstChild(child.Out());
        if (!child) {
            out += "/>";
        } else {
            // Content that holds text stays on one line, byte for byte, so
            // that a reload yields the same text; element-only content is
            // indented one level deeper.
            bool childInline = inlineMode || HoldsText(node);
            out += '>';
            if (!childInline) out += "\r\n";
            Children(node, depth + 1, childInline);
            if (!childInline) out.append(static_cast<size_t>(depth), '\t');
            out += "</";
            AppendEncoded(out, name, Escape::Raw);
            out += '>';
        }
        if (!inlineMode) out += "\r\n";
    }
};

}  // namespace

std::string FormatDomIndented(IXMLDOMDocument* document) {
    IndentWriter writer;
    writer.out = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
    writer.Children(document, 0, false);
    return writer.out;
}
