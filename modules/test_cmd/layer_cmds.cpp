// The test module's commands for pages and layers (ids 31200-31299), chosen
// by the "/C:" word:
//   LayerSetup  names layers of the current page through the host (layer 0
//               "壁" and layer 3 "柱" in group "A", layer 5 "寸法" without a
//               group) and puts a line on layer 3. Logs "LAYERS setup".
//   PageSetup   adds page 1 made from page 0 and page 2 made from page 1,
//               titled "一階" and "二階". Logs "LAYERS pages".
//   LayerProbe  reads every page back through the page host message: the
//               current page and its input layer ("LAYERS current"), each
//               page's parent, state bits, title and external-reference
//               flag ("LAYERS page") and each
//               named layer with its bits and group ("LAYERS layer").
#include <cstdio>
#include <cstring>
#include <memory>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

uint32_t W(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

LRESULT PageFunc(int code, CmdRequest* req) { return Host(UM_PAGE_FUNC, code, reinterpret_cast<LPARAM>(req)); }

void NameLayer(int layer, const char* name, const char* group) {
    CmdRequest req = {};
    req.word6c = layer;
    req.w.text = W(name);
    req.w.text2 = W(group);
    Host(UM_SET_LAYER_NAME, 0, reinterpret_cast<LPARAM>(&req));
}

bool Bit(const uint16_t* words, int layer) { return (words[layer / 16] >> (layer % 16)) & 1; }
bool PageBit(const uint32_t* words, int page) { return (words[page / 32] >> (page % 32)) & 1; }

int LayerSetup() {
    if (!Host(UM_GET_ACTIVE_DB)) {
        Log("TESTCMD LAYERS setup: no drawing");
        return 0;
    }
    NameLayer(0, "壁", "A");
    NameLayer(3, "柱", "A");
    NameLayer(5, "寸法", "");
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 1;
    line.layer = 3;
    CadSetF64(&line, kOffP2X, 100.0);
    Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&line));
    Log("TESTCMD LAYERS setup");
    return 0;
}

int PageSetup() {
    if (!Host(UM_GET_ACTIVE_DB)) {
        Log("TESTCMD LAYERS pages: no drawing");
        return 0;
    }
    const struct {
        int page, source;
        const char* title;
    } kPages[] = {{1, 0, "一階"}, {2, 1, "二階"}};
    std::unique_ptr<unsigned char[]> head(new unsigned char[kDbInfoHeadSize]);
    for (const auto& p : kPages) {
        CmdRequest req = {};
        req.arg = p.page;
        req.element = static_cast<uint32_t>(p.source);
        PageFunc(5, &req);
        req = CmdRequest();
        req.arg = p.page;
        req.w.text = W(head.get());
        PageFunc(8, &req);
        std::strcpy(reinterpret_cast<char*>(head.get()) + kInfoTitle, p.title);
        PageFunc(9, &req);
    }
    Log("TESTCMD LAYERS pages");
    return 0;
}

void ProbePage(int page, const PageStateBlock& state) {
    CmdRequest req = {};
    std::unique_ptr<unsigned char[]> head(new unsigned char[kDbInfoHeadSize]);
    req.arg = page;
    req.w.text = W(head.get());
    PageFunc(8, &req);
    const int parent = page == 0 ? 0 : static_cast<int>(Host(UM_PAGE_FUNC, 28, page));
    const int ext = static_cast<int>(Host(UM_PAGE_FUNC, 23, reinterpret_cast<LPARAM>(&req)));
    Log("TESTCMD LAYERS page %d parent=%d shown=%d detect=%d title=%s ext=%d", page, parent,
        PageBit(state.display, page), PageBit(state.detect, page), reinterpret_cast<const char*>(head.get()) + kInfoTitle,
        ext);
    std::unique_ptr<LayerTable> table(new LayerTable());
    req = CmdRequest();
    req.arg = page;
    req.w.text = W(table.get());
    PageFunc(6, &req);
    for (int layer = 0; layer < 1024; ++layer) {
        const char* name = table->names[layer];
        if (!name || !*name) continue;
        char group[12] = {};
        std::memcpy(group, table->groupNames[layer], 11);
        Log("TESTCMD LAYERS layer %d %d shown=%d detect=%d lock=%d group=%s name=%s", page, layer + 1,
            Bit(table->display, layer), Bit(table->detect, layer), Bit(table->lock, layer), group, name);
    }
}

int LayerProbe() {
    if (!Host(UM_GET_ACTIVE_DB)) {
        Log("TESTCMD LAYERS current: no drawing");
        return 0;
    }
    PageStateBlock state = {};
    CmdRequest req = {};
    req.w.text = W(&state);
    PageFunc(2, &req);
    const int current = static_cast<int>(Host(UM_PAGE_FUNC, 0, reinterpret_cast<LPARAM>(&req)));
    std::unique_ptr<LayerTable> table(new LayerTable());
    req = CmdRequest();
    req.arg = current;
    req.w.text = W(table.get());
    PageFunc(6, &req);
    Log("TESTCMD LAYERS current page=%d input=%d", current, table->inputLayer + 1);
    ProbePage(0, state);
    for (int page = static_cast<int>(Host(UM_PAGE_FUNC, 27, 0)), guard = 0; page > 0 && guard < 256;
         page = static_cast<int>(Host(UM_PAGE_FUNC, 27, page)), ++guard)
        ProbePage(page, state);
    Log("TESTCMD LAYERS end");
    return 0;
}

}  // namespace

bool RunLayerCommand(const char* word, const char*, int* result) {
    if (Is(word, "LayerSetup")) {
        *result = LayerSetup();
        return true;
    }
    if (Is(word, "PageSetup")) {
        *result = PageSetup();
        return true;
    }
    if (Is(word, "LayerProbe")) {
        *result = LayerProbe();
        return true;
    }
    return false;
}

}  // namespace testcmd
