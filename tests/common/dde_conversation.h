// A DDE conversation with a running copy of the program ("RAZE"/"System"),
// as another program holds one.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>

class DdeConversation {
public:
    // Connects, trying for up to `waitMs` while the server starts.
    explicit DdeConversation(DWORD waitMs = 10000) {
        if (DdeInitializeA(&m_instance, nullptr, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return;
        m_service = DdeCreateStringHandleA(m_instance, "RAZE", CP_WINANSI);
        m_topic = DdeCreateStringHandleA(m_instance, "System", CP_WINANSI);
        const DWORD start = GetTickCount();
        while (!(m_conv = DdeConnect(m_instance, m_service, m_topic, nullptr)) && GetTickCount() - start < waitMs)
            Sleep(100);
    }
    ~DdeConversation() {
        if (m_conv) DdeDisconnect(m_conv);
        if (m_instance) {
            DdeFreeStringHandle(m_instance, m_service);
            DdeFreeStringHandle(m_instance, m_topic);
            DdeUninitialize(m_instance);
        }
    }
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    bool Connected() const { return m_conv != nullptr; }
    // One EXECUTE request; true when the server took it.
    bool Execute(const std::string& request, DWORD timeoutMs = 20000) {
        if (!m_conv) return false;
        DWORD result = 0;
        return DdeClientTransaction((BYTE*)request.c_str(), (DWORD)request.size() + 1, m_conv, nullptr, 0, XTYP_EXECUTE,
                                    timeoutMs, &result) != nullptr;
    }

private:
    DWORD m_instance = 0;
    HSZ m_service = nullptr, m_topic = nullptr;
    HCONV m_conv = nullptr;
};
