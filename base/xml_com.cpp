#include "base/xml_com.h"

#include <cstdio>

namespace xmlcom {

const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kIidDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

Bstr::Bstr(const std::wstring& text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

std::wstring ToWide(const std::string& text, UINT codePage) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string FromWide(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string ErrorText(HRESULT hr) {
    char* buffer = nullptr;
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (n && buffer) text.assign(buffer, n);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string FailureMessage(const char* format, HRESULT hr) {
    std::string reason = ErrorText(hr);
    std::string out(reason.size() + 256, '\0');
    int n = std::snprintf(&out[0], out.size(), format, static_cast<unsigned>(hr), reason.c_str());
    if (n >= static_cast<int>(out.size())) n = static_cast<int>(out.size()) - 1;
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

bool FirstTextChild(IXMLDOMNode* node, IXMLDOMNode** textNode) {
    *textNode = nullptr;
    ComPtr<IXMLDOMNode> child;
    if (FAILED(node->get_firstChild(child.Out()))) return false;
    while (child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_TEXT) {
            *textNode = child.Detach();
            return true;
        }
        ComPtr<IXMLDOMNode> next;
        if (FAILED(child->get_nextSibling(next.Out()))) return false;
        child.Reset(next.Detach());
    }
    return false;
}

bool IsElement(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    return node && SUCCEEDED(node->get_nodeType(&type)) && type == NODE_ELEMENT;
}

}  // namespace xmlcom

namespace xmlcom {

std::wstring NodeValue(IXMLDOMNode* node) {
    VARIANT value;
    VariantInit(&value);
    std::wstring out;
    if (SUCCEEDED(node->get_nodeValue(&value)) && value.vt == VT_BSTR && value.bstrVal)
        out.assign(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return out;
}

std::wstring NodeName(IXMLDOMNode* node) {
    Bstr name;
    if (FAILED(node->get_nodeName(name.Out()))) return std::wstring();
    return name.Wide();
}

}  // namespace xmlcom
