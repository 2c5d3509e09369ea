#include "docking/stg_xml.h"
#include <msxml2.h>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zav {

namespace {

const UINT kTextCodePage = 932;

std::wstring Wide(const char* s) {
    if (!s || !*s) return std::wstring();
    int n = ::MultiByteToWideChar(kTextCodePage, 0, s, -1, nullptr, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    ::MultiByteToWideChar(kTextCodePage, 0, s, -1, &w[0], n);
    w.resize(n > 0 ? n - 1 : 0);
    return w;
}

struct Bstr {
    BSTR b;
    explicit Bstr(const char* s) : b(::SysAllocString(Wide(s).c_str())) {}
    explicit Bstr(const wchar_t* s) : b(::SysAllocString(s)) {}
    ~Bstr() { ::SysFreeString(b); }
};

template <class T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    T* Detach() {
        T* t = p;
        p = nullptr;
        return t;
    }
};

bool HasComma(const char* name) { return !name || std::strchr(name, ',') != nullptr; }

CStgXML* AsXml(IStorge& s) { return dynamic_cast<CStgXML*>(&s); }

HRESULT NewDocument(const char* progId, IXMLDOMDocument** doc) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(Wide(progId).c_str(), &clsid);
    if (FAILED(hr)) return hr;
    return ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument, reinterpret_cast<void**>(doc));
}

}  // namespace

std::string EncodeStgBytes(const void* bytes, unsigned long count) {
    static const char hex[] = "0123456789abcdef";
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    std::string s;
    s.reserve(count * 3);
    for (unsigned long i = 0; i < count; ++i) {
        s += hex[b[i] >> 4];
        s += hex[b[i] & 15];
        s += ' ';
    }
    return s;
}

std::string DecodeStgBytes(const char* text) {
    std::string out;
    const char* p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
            ++p;
        if (!*p || !std::isxdigit(static_cast<unsigned char>(*p))) break;
        char* end = nullptr;
        unsigned long v = std::strtoul(p, &end, 16);
        if (end == p) break;
        out += static_cast<char>(v & 0xFF);
        p = end;
        // A token with trailing garbage ("1g") ends the value at the garbage.
        if (*p && !(*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) break;
    }
    return out;
}

CStgXML::~CStgXML() { Reset(nullptr); }

void CStgXML::Reset(IXMLDOMElement* e) {
    if (m_elem) m_elem->Release();
    m_elem = e;
}

long CStgXML::Open(IStorge& parent, const char* name) {
    if (HasComma(name)) return -1;
    CStgXML* p = AsXml(parent);
    if (!p || !p->m_elem) return 2;
    Com<IXMLDOMNode> node;
    Bstr q(name);
    HRESULT hr = p->m_elem->selectSingleNode(q.b, &node);
    if (FAILED(hr)) return hr;
    if (hr != S_OK || !node.p) return 2;
    IXMLDOMElement* e = nullptr;
    hr = node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&e));
    if (FAILED(hr) || !e) return 2;
    Reset(e);
    return 0;
}

long CStgXML::Create(IStorge& parent, const char* name) {
    if (HasComma(name)) return -1;
    if (Open(parent, name) == 0) return 0;
    CStgXML* p = AsXml(parent);
    if (!p || !p->m_elem) return 2;
    Com<IXMLDOMDocument> doc;
    HRESULT hr = p->m_elem->get_ownerDocument(&doc);
    if (FAILED(hr) || !doc.p) return FAILED(hr) ? hr : E_FAIL;
    Com<IXMLDOMElement> e;
    Bstr n(name);
    hr = doc->createElement(n.b, &e);
    if (FAILED(hr)) return hr;
    Com<IXMLDOMNode> added;
    hr = p->m_elem->appendChild(e.p, &added);
    if (FAILED(hr)) return hr;
    Reset(e.Detach());
    return 0;
}

long CStgXML::SetString(const char* name, const char* text) {
    if (!m_elem) return 2;
    Bstr n(name);
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(Wide(text).c_str());
    HRESULT hr = m_elem->setAttribute(n.b, v);
    ::VariantClear(&v);
    return hr;
}

long CStgXML::GetString(const char* name, char* buffer, unsigned long* size) {
    if (!m_elem) return 2;
    Bstr n(name);
    VARIANT v;
    ::VariantInit(&v);
    HRESULT hr = m_elem->getAttribute(n.b, &v);
    if (FAILED(hr) || hr == S_FALSE || v.vt == VT_NULL || v.vt == VT_EMPTY) {
        ::VariantClear(&v);
        return 2;
    }
    if (v.vt != VT_BSTR) {
        ::VariantClear(&v);
        return ERROR_INVALID_DATATYPE;  // 1630
    }
    const int wlen = static_cast<int>(::SysStringLen(v.bstrVal));
    long result = 0;
    int n8 = wlen ? ::WideCharToMultiByte(kTextCodePage, 0, v.bstrVal, wlen, nullptr, 0, nullptr, nullptr) : 0;
    if (n8 <= 0) {
        result = wlen ? static_cast<long>(::GetLastError()) : ERROR_INVALID_PARAMETER;
    } else if (*size < static_cast<unsigned long>(n8)) {
        *size = n8;
        result = ERROR_MORE_DATA;  // 234
    } else {
        n8 = ::WideCharToMultiByte(kTextCodePage, 0, v.bstrVal, wlen, buffer, *size, nullptr, nullptr);
        if (n8 <= 0)
            result = static_cast<long>(::GetLastError());
        else
            *size = n8;
    }
    ::VariantClear(&v);
    return result;
}

long CStgXML::SetBinary(const char* name, const void* bytes, unsigned long count) {
    return SetString(name, EncodeStgBytes(bytes, count).c_str());
}

long CStgXML::GetBinary(const char* name, void* buffer, unsigned long* size) {
    unsigned long len = 0;
    long r = GetString(name, nullptr, &len);
    if (r != ERROR_MORE_DATA) return r;
    std::vector<char> work(len + 1, 0);
    unsigned long got = len;
    r = GetString(name, work.data(), &got);
    if (r != 0) return r;
    std::string bytes = DecodeStgBytes(work.data());
    const unsigned long have = *size;
    *size = static_cast<unsigned long>(bytes.size());
    if (have < bytes.size()) return ERROR_MORE_DATA;
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return 0;
}

long CStgXML::CreateDocument(const char* rootName, const char* progId) {
    Com<IXMLDOMDocument> doc;
    HRESULT hr = NewDocument(progId, &doc);
    if (FAILED(hr)) return hr;
    Com<IXMLDOMElement> e;
    Bstr n(rootName);
    hr = doc->createElement(n.b, &e);
    if (FAILED(hr)) return hr;
    Reset(e.Detach());
    return 0;
}

long CStgXML::LoadDocument(const char* path, const char* rootName, const char* progId) {
    Com<IXMLDOMDocument> doc;
    HRESULT hr = NewDocument(progId, &doc);
    if (FAILED(hr)) return hr;
    doc->put_async(VARIANT_FALSE);
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(Wide(path).c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    hr = doc->load(v, &ok);
    ::VariantClear(&v);
    if (FAILED(hr)) return hr;
    if (ok != VARIANT_TRUE) return E_FAIL;
    Com<IXMLDOMNode> node;
    Bstr q(rootName);
    hr = doc->selectSingleNode(q.b, &node);
    if (hr != S_OK || !node.p) return FAILED(hr) ? hr : 2;
    IXMLDOMElement* e = nullptr;
    hr = node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&e));
    if (FAILED(hr) || !e) return FAILED(hr) ? hr : E_FAIL;
    Reset(e);
    return 0;
}

long CStgXML::SaveDocument(const char* path) {
    if (!m_elem) return 2;
    Com<IXMLDOMDocument> doc;
    HRESULT hr = m_elem->get_ownerDocument(&doc);
    if (FAILED(hr) || !doc.p) return FAILED(hr) ? hr : E_FAIL;
    Com<IXMLDOMNode> parent;
    hr = m_elem->get_parentNode(&parent);
    if (FAILED(hr)) return hr;
    if (!parent.p) {
        Com<IXMLDOMProcessingInstruction> pi;
        Bstr target(L"xml"), data(L"version=\"1.0\"");
        hr = doc->createProcessingInstruction(target.b, data.b, &pi);
        if (FAILED(hr)) return hr;
        Com<IXMLDOMNode> a1, a2;
        hr = doc->appendChild(pi.p, &a1);
        if (FAILED(hr)) return hr;
        hr = doc->appendChild(m_elem, &a2);
        if (FAILED(hr)) return hr;
    }
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(Wide(path).c_str());
    hr = doc->save(v);
    ::VariantClear(&v);
    return hr;
}

}  // namespace zav
