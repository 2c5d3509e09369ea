#include "base/def_file.h"

#include "base/xml_com.h"

using xmlcom::Bstr;
using xmlcom::ComPtr;

namespace {

const char kReadFailure[] = "設定ファイルの読込みに失敗しました。\nError: %08X: %s\n";
const char kWriteFailure[] = "設定ファイルの書き込みに失敗しました。\nError: %08X: %s\n";

std::string JoinPath(const char* section, const char* key) {
    std::string path = section ? section : "";
    path += '/';
    path += key ? key : "";
    return path;
}

// Makes <name>value</name> (no text node for an empty value) and appends it
// to parent; the new element is handed back AddRef'ed when asked for.
HRESULT AppendElement(IXMLDOMDocument* doc, IXMLDOMNode* parent, const std::wstring& name, const std::wstring* value,
                      IXMLDOMNode** created) {
    ComPtr<IXMLDOMElement> element;
    Bstr tag(name);
    HRESULT hr = doc->createElement(tag.Get(), element.Out());
    if (FAILED(hr) || !element) return FAILED(hr) ? hr : E_FAIL;
    if (value && !value->empty()) {
        Bstr text(*value);
        hr = element->put_text(text.Get());
        if (FAILED(hr)) return hr;
    }
    ComPtr<IXMLDOMNode> appended;
    hr = parent->appendChild(element.Get(), appended.Out());
    if (FAILED(hr)) return hr;
    if (created) *created = appended.Detach();
    return S_OK;
}

}  // namespace

CDefFile::CDefFile() {}

CDefFile::CDefFile(const char* path) { Load(path); }

CDefFile::~CDefFile() {}

int CDefFile::GetValue(const char* section, const char* key, const char* defaultText, std::string& out) {
    ComPtr<IXMLDOMNode> root(GetRootNode());
    if (!root) {
        out = defaultText ? defaultText : "";
        if (m_lastError.empty()) m_lastError = xmlcom::FailureMessage(kReadFailure, E_POINTER);
        return -1;
    }
    Bstr query(xmlcom::ToWide(JoinPath(section, key)));
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = root->selectSingleNode(query.Get(), node.Out());
    if (FAILED(hr)) {
        out = defaultText ? defaultText : "";
        m_lastError = xmlcom::FailureMessage(kReadFailure, hr);
        return -1;
    }
    ComPtr<IXMLDOMNode> text;
    if (node && xmlcom::FirstTextChild(node.Get(), text.Out())) {
        out = xmlcom::FromWide(xmlcom::NodeValue(text.Get()));
        return 0;
    }
    out = defaultText ? defaultText : "";
    return 1;
}

int CDefFile::GetValueList(const char* section, const char* key, std::list<std::string>& out) {
    ComPtr<IXMLDOMNode> root(GetRootNode());
    if (!root) {
        if (m_lastError.empty()) m_lastError = xmlcom::FailureMessage(kReadFailure, E_POINTER);
        return -1;
    }
    Bstr query(xmlcom::ToWide(JoinPath(section, key)));
    ComPtr<IXMLDOMNodeList> nodes;
    HRESULT hr = root->selectNodes(query.Get(), nodes.Out());
    if (FAILED(hr) || !nodes) {
        m_lastError = xmlcom::FailureMessage(kReadFailure, FAILED(hr) ? hr : E_FAIL);
        return -1;
    }
    long count = 0;
    nodes->get_length(&count);
    if (count <= 0) return -1;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> node;
        if (FAILED(nodes->get_item(i, node.Out())) || !node) continue;
        Bstr text;
        node->get_text(text.Out());
        out.push_back(xmlcom::FromWide(text.Wide()));
    }
    return 0;
}

// The path is walked one step at a time (the part before the next "/"),
// each step an XPath expression relative to the current element. Only the
// last step's element ever has its text replaced: an intermediate element
// is a container on the way, and its own text (say a section carrying a
// caption) must survive a write to one of its keys.
int CDefFile::SetValue(const char* section, const char* key, const char* value, int add) {
    ComPtr<IXMLDOMNode> current(GetRootNode());
    if (!current) {
        if (m_lastError.empty()) m_lastError = xmlcom::FailureMessage(kWriteFailure, E_POINTER);
        return -1;
    }
    const std::string valueText = value ? value : "";
    const std::wstring wideValue = xmlcom::ToWide(valueText);
    std::string rest = JoinPath(section, key);
    HRESULT hr = S_OK;

    for (;;) {
        size_t slash = rest.find('/');  // '/' is never a Shift_JIS trail byte
        std::string step = rest.substr(0, slash);
        rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        const bool last = slash == std::string::npos;
        const std::wstring wideStep = xmlcom::ToWide(step);

        ComPtr<IXMLDOMNode> node;
        Bstr query(wideStep);
        hr = current->selectSingleNode(query.Get(), node.Out());
        if (FAILED(hr)) break;

        if (!node) {
            if (!add) return -1;
            ComPtr<IXMLDOMNode> created;
            hr = AppendElement(m_document, current.Get(), wideStep, last ? &wideValue : nullptr, created.Out());
            if (FAILED(hr)) break;
            m_modified = 1;
            if (last) return 0;
            current.Reset(created.Detach());
            continue;
        }
        if (!xmlcom::IsElement(node.Get())) return -1;  // an attribute or text selected by the step: not ours to write

        if (!last) {
            current.Reset(node.Detach());
            continue;
        }

        if (add) {
            // A further occurrence of the key, whether or not the existing
            // one holds text.
            hr = AppendElement(m_document, current.Get(), wideStep, &wideValue, nullptr);
            if (FAILED(hr)) break;
            m_modified = 1;
            return 0;
        }

        ComPtr<IXMLDOMNode> text;
        if (xmlcom::FirstTextChild(node.Get(), text.Out())) {
            if (xmlcom::FromWide(xmlcom::NodeValue(text.Get())) == valueText) return 0;
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocStringLen(wideValue.data(), static_cast<UINT>(wideValue.size()));
            hr = text->put_nodeValue(v);
            VariantClear(&v);
            if (FAILED(hr)) break;
            m_modified = 1;
            return 0;
        }
        // An element without text is filled only when it is empty and the
        // value is not.
        VARIANT_BOOL hasChildren = VARIANT_FALSE;
        node->hasChildNodes(&hasChildren);
        if (hasChildren == VARIANT_TRUE || wideValue.empty()) return -1;
        ComPtr<IXMLDOMText> newText;
        Bstr data(wideValue);
        hr = m_document->createTextNode(data.Get(), newText.Out());
        if (FAILED(hr) || !newText) break;
        ComPtr<IXMLDOMNode> appended;
        hr = node->appendChild(newText.Get(), appended.Out());
        if (FAILED(hr)) break;
        m_modified = 1;
        return 0;
    }
    m_lastError = xmlcom::FailureMessage(kWriteFailure, FAILED(hr) ? hr : E_FAIL);
    return -1;
}

int CDefFile::SetValueAt(const char* section, const char* key, const char* value, int index) {
    if (index < 0) return SetValue(section, key, value, 1);
    ComPtr<IXMLDOMNode> root(GetRootNode());
    if (!root) {
        if (m_lastError.empty()) m_lastError = xmlcom::FailureMessage(kWriteFailure, E_POINTER);
        return -1;
    }
    Bstr query(xmlcom::ToWide(JoinPath(section, key)));
    ComPtr<IXMLDOMNodeList> nodes;
    HRESULT hr = root->selectNodes(query.Get(), nodes.Out());
    if (FAILED(hr) || !nodes) {
        m_lastError = xmlcom::FailureMessage(kWriteFailure, FAILED(hr) ? hr : E_FAIL);
        return -1;
    }
    long count = 0;
    nodes->get_length(&count);
    if (index >= count) return -1;
    ComPtr<IXMLDOMNode> node;
    hr = nodes->get_item(index, node.Out());
    if (SUCCEEDED(hr) && node) {
        Bstr text(xmlcom::ToWide(value ? value : ""));
        hr = node->put_text(text.Get());
    }
    if (FAILED(hr) || !node) {
        m_lastError = xmlcom::FailureMessage(kWriteFailure, FAILED(hr) ? hr : E_FAIL);
        return -1;
    }
    return 0;
}

int CDefFile::GetChildNames(const char* path, std::list<std::string>& out) {
    ComPtr<IXMLDOMNode> root(GetRootNode());
    if (!root) {
        if (m_lastError.empty()) m_lastError = xmlcom::FailureMessage(kReadFailure, E_POINTER);
        return -1;
    }
    Bstr query(xmlcom::ToWide(path ? path : ""));
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = root->selectSingleNode(query.Get(), node.Out());
    if (FAILED(hr) || !node) {
        m_lastError = xmlcom::FailureMessage(kReadFailure, FAILED(hr) ? hr : S_FALSE);
        return -1;
    }
    ComPtr<IXMLDOMNodeList> children;
    hr = node->get_childNodes(children.Out());
    if (FAILED(hr) || !children) {
        m_lastError = xmlcom::FailureMessage(kReadFailure, FAILED(hr) ? hr : E_FAIL);
        return -1;
    }
    long count = 0;
    children->get_length(&count);
    if (count <= 0) return -1;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> child;
        if (SUCCEEDED(children->get_item(i, child.Out())) && child)
            out.push_back(xmlcom::FromWide(xmlcom::NodeName(child.Get())));
    }
    return 0;
}
