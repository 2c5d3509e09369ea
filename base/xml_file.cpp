#include "base/xml_file.h"

#include "base/settings_message.h"
#include "base/xml_com.h"
#include "base/xml_writer.h"

using xmlcom::Bstr;
using xmlcom::ComPtr;

namespace {

std::string ParseErrorReason(IXMLDOMDocument* doc, HRESULT hr) {
    std::string reason;
    ComPtr<IXMLDOMParseError> error;
    if (SUCCEEDED(doc->get_parseError(error.Out())) && error) {
        Bstr text;
        if (SUCCEEDED(error->get_reason(text.Out()))) reason = xmlcom::FromWide(text.Wide());
    }
    if (reason.empty()) reason = xmlcom::ErrorText(FAILED(hr) ? hr : E_FAIL);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    return reason;
}

// Code page of a declared Japanese encoding, 0 for any other.
UINT CodePageOfEncoding(std::string name) {
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    static const char* const kShiftJis[] = {"shift_jis",   "shift-jis", "sjis",     "x-sjis",
                                            "windows-31j", "cp932",     "ms_kanji", "csshiftjis"};
    for (const char* alias : kShiftJis)
        if (name == alias) return 932;
    if (name == "euc-jp" || name == "x-euc-jp") return 20932;
    return 0;
}

// Reads a file that declares a Japanese encoding and gives it back as
// UTF-16 with the encoding dropped from its declaration. False for any
// other file, and for bytes that are not valid in the declared encoding.
bool DecodeDeclaredEncoding(const char* path, std::wstring& out) {
    HANDLE file = CreateFileA(path ? path : "", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    LARGE_INTEGER size;
    const LONGLONG kLimit = 64LL * 1024 * 1024;  // definition files are small; refuse anything absurd
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kLimit) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
        bytes.resize(read);
    }
    CloseHandle(file);

    if (bytes.compare(0, 5, "<?xml") != 0) return false;
    size_t close = bytes.find("?>");
    if (close == std::string::npos || close > 1024) return false;
    size_t at = bytes.find("encoding", 5);
    if (at == std::string::npos || at > close) return false;
    size_t p = at + 8;
    while (p < close && (bytes[p] == ' ' || bytes[p] == '\t' || bytes[p] == '\r' || bytes[p] == '\n'))
        ++p;
    if (p >= close || bytes[p] != '=') return false;
    ++p;
    while (p < close && (bytes[p] == ' ' || bytes[p] == '\t' || bytes[p] == '\r' || bytes[p] == '\n'))
        ++p;
    if (p >= close || (bytes[p] != '"' && bytes[p] != '\'')) return false;
    size_t end = bytes.find(bytes[p], p + 1);
    if (end == std::string::npos || end > close) return false;
    UINT codePage = CodePageOfEncoding(bytes.substr(p + 1, end - p - 1));
    if (!codePage) return false;
    bytes.erase(at, end + 1 - at);

    int n =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return false;
    out.assign(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return true;
}

}  // namespace

CXMLFile::CXMLFile() : m_modified(0), m_document(nullptr), m_validateMode(0), m_comEntered(false) {}

CXMLFile::~CXMLFile() {
    ReleaseDocument();
    if (m_comEntered) CoUninitialize();
}

void CXMLFile::ReleaseDocument() {
    if (m_document) {
        m_document->Release();
        m_document = nullptr;
    }
}

int CXMLFile::EnsureCom() {
    if (m_comEntered) return 1;
    HRESULT hr = CoInitialize(nullptr);
    if (hr == S_OK || hr == S_FALSE) {
        m_comEntered = true;  // each success, S_FALSE too, needs its CoUninitialize
        return 1;
    }
    // Already in the multithreaded apartment: COM is usable, and not ours to leave.
    return hr == RPC_E_CHANGED_MODE ? 1 : 0;
}

int CXMLFile::Load(const char* path) {
    ReleaseDocument();
    if (!EnsureCom()) {
        m_lastError =
            xmlcom::FailureMessage("設定ファイル処理でエラーが発生しました。\nError: %08X: %s\n", CO_E_NOTINITIALIZED);
        return 0;
    }
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CoCreateInstance(xmlcom::kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  xmlcom::kIidDomDocument, reinterpret_cast<void**>(doc.Out()));
    if (FAILED(hr) || !doc) {
        m_lastError = xmlcom::FailureMessage("設定ファイル処理でエラーが発生しました。\nError: %08X: %s\n", hr);
        return 0;
    }
    if (m_validateMode != -1) {
        VARIANT_BOOL on = m_validateMode ? VARIANT_TRUE : VARIANT_FALSE;
        doc->put_validateOnParse(on);
        doc->put_resolveExternals(on);
    }
    doc->put_async(VARIANT_FALSE);

    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(xmlcom::ToWide(path ? path : "", CP_THREAD_ACP).c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    hr = doc->load(source, &ok);
    VariantClear(&source);
    bool loaded = SUCCEEDED(hr) && ok == VARIANT_TRUE;

    std::string reason;
    if (!loaded) {
        reason = ParseErrorReason(doc.Get(), hr);
        // Some MSXML builds cannot decode a declared Shift_JIS themselves;
        // then the file is decoded here and the parser gets UTF-16.
        std::wstring decoded;
        if (DecodeDeclaredEncoding(path, decoded)) {
            Bstr text(decoded);
            VARIANT_BOOL again = VARIANT_FALSE;
            loaded = SUCCEEDED(doc->loadXML(text.Get(), &again)) && again == VARIANT_TRUE;
        }
    }

    if (loaded) {
        ComPtr<IXMLDOMDocument2> doc2;
        if (SUCCEEDED(doc->QueryInterface(xmlcom::kIidDomDocument2, reinterpret_cast<void**>(doc2.Out())))) {
            VARIANT language;
            VariantInit(&language);
            language.vt = VT_BSTR;
            language.bstrVal = SysAllocString(L"XPath");
            Bstr name(L"SelectionLanguage");
            doc2->setProperty(name.Get(), language);
            VariantClear(&language);
        }
        m_document = doc.Detach();
        return 1;
    }

    m_lastError = std::string("設定ファイル処理でエラーが発生しました。\n") + reason;
    return 0;
}

int CXMLFile::Save(const char* path) {
    if (!m_document || !path) return 0;
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocString(xmlcom::ToWide(path, CP_THREAD_ACP).c_str());
    HRESULT hr = m_document->save(target);
    VariantClear(&target);
    return SUCCEEDED(hr) ? 1 : 0;
}

IXMLDOMNode* CXMLFile::GetRootNode() const {
    if (!m_document) return nullptr;
    IXMLDOMElement* root = nullptr;
    if (FAILED(m_document->get_documentElement(&root)) || !root) return nullptr;
    return root;  // an element is a node; the reference passes to the caller
}

std::string CXMLFile::FormatIndented() const {
    if (!m_document) return std::string();
    return FormatDomIndented(m_document);
}

int CXMLFile::SaveFormatted(const char* path) {
    HRESULT hr = S_OK;
    if (!m_document) {
        hr = E_POINTER;
    } else {
        std::string bytes = FormatDomIndented(m_document);
        HANDLE file = CreateFileA(path ? path : "", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            hr = HRESULT_FROM_WIN32(::GetLastError());
        } else {
            DWORD written = 0;
            BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            if (!ok || written != bytes.size()) hr = HRESULT_FROM_WIN32(ok ? ERROR_DISK_FULL : ::GetLastError());
            if (!CloseHandle(file) && SUCCEEDED(hr)) hr = HRESULT_FROM_WIN32(::GetLastError());
        }
    }
    if (SUCCEEDED(hr)) return 1;
    std::string text = xmlcom::FailureMessage("設定ファイルの書き込みに失敗しました。\nError: %08X: %s\n", hr);
    ShowSettingsMessage(nullptr, text.c_str(), "エラー", MB_OK | MB_ICONERROR);
    return 0;
}

namespace {

// Returns true when the element holds non-empty text somewhere beneath it;
// children without any are removed on the way.
bool PruneElement(IXMLDOMNode* element) {
    ComPtr<IXMLDOMNode> child;
    if (FAILED(element->get_firstChild(child.Out()))) return false;
    bool content = false;
    while (child) {
        ComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Out());
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_TEXT) {
            if (!xmlcom::NodeValue(child.Get()).empty()) return true;  // later siblings stay as they are
        } else if (PruneElement(child.Get())) {
            content = true;
        } else {
            ComPtr<IXMLDOMNode> removed;
            element->removeChild(child.Get(), removed.Out());
        }
        child.Reset(next.Detach());
    }
    return content;
}

}  // namespace

void CXMLFile::RemoveEmptyElements() {
    ComPtr<IXMLDOMNode> root(GetRootNode());
    if (root) PruneElement(root.Get());
}
