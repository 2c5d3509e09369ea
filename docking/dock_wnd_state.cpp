#include "docking/dock_wnd_state.h"
#include <algorithm>
#include <cstdio>

namespace zav {

uint32_t DockRestoreKey(const DockWindowPlacement& p) {
    const uint32_t side = (~p.position.side) & 3u;
    const uint32_t bar = (p.position.barIndex << 16) & 0x3FFF0000u;
    const uint32_t start = static_cast<uint32_t>(static_cast<int32_t>(p.position.fraction * 65535.0f)) & 0xFFFFu;
    return (side << 30) + bar + start;
}

DockWindowPlacement ScaleDockPlacement(const DockWindowPlacement& p, StateRatio x, StateRatio y) {
    DockWindowPlacement s = p;
    if (s.docked && !(s.position.side & DOCK_FLAG_KEEP_SIZE)) {
        const bool columns = DockSideIsColumns(s.position.side);
        s.position.thickness = (columns ? x : y).Scale(s.position.thickness);
        s.position.length = (columns ? y : x).Scale(s.position.length);
    }
    s.floatRect.left = x.Scale(s.floatRect.left);
    s.floatRect.right = x.Scale(s.floatRect.right);
    s.floatRect.top = y.Scale(s.floatRect.top);
    s.floatRect.bottom = y.Scale(s.floatRect.bottom);
    return s;
}

bool CDockWndMgr::CImpl::Store(IStorge& node) {
    for (auto& c : m_children) {
        DockWindowPlacement p;
        if (static_cast<IDockWndState*>(c.second)->GetPlacement(p))
            node.SetBinary(StateChildName(c.first).c_str(), &p, sizeof p);
    }
    return true;
}

bool CDockWndMgr::CImpl::Restore(IStorge& node, StateRatio x, StateRatio y) {
    auto later = [](const Entry& a, const Entry& b) { return a.key > b.key; };
    for (auto& c : m_children)
        static_cast<IDockWndState*>(c.second)->CaptureDefault();
    m_queue.clear();
    for (auto& c : m_children) {
        IDockWndState* s = static_cast<IDockWndState*>(c.second);
        Entry e;
        unsigned long size = sizeof e.placement;
        if (node.GetBinary(StateChildName(c.first).c_str(), &e.placement, &size) != 0 || size != sizeof e.placement) {
            s->RestoreDefault();
        } else if (e.placement.docked) {
            e.key = DockRestoreKey(e.placement);
            e.id = c.first;
            m_queue.push_back(e);
            std::push_heap(m_queue.begin(), m_queue.end(), later);
        } else if (!s->ApplyPlacement(e.placement, x, y)) {
            s->RestoreDefault();
        }
    }
    while (!m_queue.empty()) {
        std::pop_heap(m_queue.begin(), m_queue.end(), later);
        Entry e = m_queue.back();
        m_queue.pop_back();
        auto it = m_children.find(e.id);
        if (it != m_children.end()) static_cast<IDockWndState*>(it->second)->ApplyPlacement(e.placement, x, y);
    }
    return true;
}

bool CDockWndMgr::CImpl::RestoreDefault() { return CContainerImpl::RestoreDefault(); }

namespace {

// The band record as stored: the first 80 bytes of the platform's record.
const UINT kBandInfoSize = 80;
const UINT kBandMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
static_assert(kBandMask == 0x363, "band mask");
static_assert(sizeof(REBARBANDINFOA) >= kBandInfoSize, "band record");

std::string BandName(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "band%d", i);
    return buf;
}

}  // namespace

bool CRebarStateAdapter::CImpl::Store(IStorge& node) {
    const int n = static_cast<int>(::SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        REBARBANDINFOA bi = {};
        bi.cbSize = kBandInfoSize;
        bi.fMask = kBandMask;
        if (::SendMessageA(m_rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&bi)))
            node.SetBinary(BandName(i).c_str(), &bi, kBandInfoSize);
    }
    return true;
}

bool CRebarStateAdapter::CImpl::Restore(IStorge& node, StateRatio, StateRatio) {
    const int n = static_cast<int>(::SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        REBARBANDINFOA bi = {};
        unsigned long size = kBandInfoSize;
        if (node.GetBinary(BandName(i).c_str(), &bi, &size) != 0 || size != kBandInfoSize) continue;
        bi.cbSize = kBandInfoSize;
        const int from = static_cast<int>(::SendMessageA(m_rebar, RB_IDTOINDEX, bi.wID, 0));
        if (from < 0) continue;
        if (from != i) ::SendMessageA(m_rebar, RB_MOVEBAND, from, i);
        bi.fMask = kBandMask;
        ::SendMessageA(m_rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&bi));
    }
    return true;
}

}  // namespace zav
