// Shared COM plumbing of CXMLFile and CDefFile: MSXML interface ids, owned
// BSTRs and interface pointers, and text conversion between the system's
// code page 932 and the DOM's UTF-16. Internal to the base layer.
#pragma once

#include <windows.h>
#include <msxml2.h>
#include <string>

namespace xmlcom {

// Ids spelled out here: the import library of the toolchain lacks some.
extern const CLSID kClsidDomDocument;  // {F6D90F11-9C73-11D3-B32E-00C04F990BB4}
extern const IID kIidDomDocument;
extern const IID kIidDomDocument2;
extern const IID kIidDomElement;

// Holds one reference; releases it at the end of the scope.
template <typename T>
class ComPtr {
public:
    ComPtr() : p_(nullptr) {}
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    void Reset(T* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    T** Out() {
        Reset();
        return &p_;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* Detach() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_;
};

// An owned BSTR.
class Bstr {
public:
    Bstr() : b_(nullptr) {}
    explicit Bstr(const std::wstring& text);
    ~Bstr() {
        if (b_) SysFreeString(b_);
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* Out() {
        if (b_) SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    BSTR Get() const { return b_; }
    std::wstring Wide() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_;
};

// Code page 932 text to UTF-16 and back; undecodable bytes and unmappable
// characters become the converter's substitutes, never a failure.
std::wstring ToWide(const std::string& text, UINT codePage = 932);
std::string FromWide(const std::wstring& text, UINT codePage = 932);

// "Error: %08X: %s\n"-style pieces: the platform's text for an HRESULT,
// without a trailing line break (empty when there is none).
std::string ErrorText(HRESULT hr);

// Formats one of the failure texts with the code and its platform text.
std::string FailureMessage(const char* format, HRESULT hr);

// The text of the first child text node (CDATA does not count); false when
// the node has none.
bool FirstTextChild(IXMLDOMNode* node, IXMLDOMNode** textNode);

// Whether a DOM node is an element.
bool IsElement(IXMLDOMNode* node);

}  // namespace xmlcom

namespace xmlcom {
// The node's value (text of a text, comment, CDATA or attribute node).
std::wstring NodeValue(IXMLDOMNode* node);
// The node's name (tag name of an element).
std::wstring NodeName(IXMLDOMNode* node);
}  // namespace xmlcom
