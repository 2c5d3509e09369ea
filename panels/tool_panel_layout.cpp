#include "panels/tool_panel_layout.h"

void ComputeToolPanelLayout(ToolPanelMetrics& m, int mode) {
    for (int& y : m.blockY)
        y = -1;
    for (int& s : m.separators)
        s = 0;
    m.mode = mode;
    int y = 2, n = 0;
    const int P = m.rowPitch;
    if (mode & kBlockPaper) {
        const int h = m.coordRowHeight;
        m.blockY[0] = 0;
        m.separators[n++] = h + 3;
        y = 4 * h + 20;
    }
    // Every later block that begins low enough is parted from the one above.
    auto separate = [&](bool advance) {
        if (y >= 9 && n < 10) {
            m.separators[n] = y - 9;
            if (advance) ++n;
        }
    };
    if (mode & kBlockAttributes) {
        separate(true);
        m.blockY[1] = y;
        y += 6 * P + 27;
    }
    if (mode & kBlockSnap) {
        separate(true);
        m.blockY[2] = y;
        y += 3 * P + 18;
    }
    if (mode & kBlockTools) {
        separate(false);
        m.blockY[3] = y;
    }
}

namespace {

RECT At(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

struct ButtonCell {
    int id;
    const char* text;
};

const ButtonCell kSnapButtons[3][2] = {
    {{3405, "任意点検出"}, {3410, "端点検出"}},
    {{3418, "円中心検出"}, {3411, "交点検出"}},
    {{3412, "線上点検出"}, {3404, "中点検出"}},
};
const ButtonCell kToolButtons[3][2] = {
    {{3408, "属性取込"}, {3989, "座標入力"}},
    {{3516, "グリッド"}, {3406, "マウス"}},
    {{3999, "2点間中点"}, {3409, "仮点入力"}},
};

}  // namespace

std::vector<ToolPanelChild> ToolPanelChildren(const ToolPanelMetrics& m, bool lowRes) {
    std::vector<ToolPanelChild> out;
    using K = PanelChildKind;
    if (m.blockY[0] >= 0) {
        out.push_back({K::Static, 3770, "用紙", At(3, 2, 30, 16), 'B'});
        out.push_back({K::Static, 3771, "     ", At(33, 0, 48, 18), 'D'});
        out.push_back({K::Static, 3773, "", At(81, 0, 48, 18), 'D'});
        out.push_back({K::Static, 3780, "   X:", At(5, 24, 36, 16), 'B'});
        out.push_back({K::Static, 8000, "", At(47, 24, 200, 18), 'C'});
        out.push_back({K::Static, 3781, "   Y:", At(5, 40, 36, 16), 'B'});
        out.push_back({K::Static, 8001, "", At(47, 40, 200, 18), 'C'});
        out.push_back({K::Static, 3782, "", At(6, 56, 36, 16), 'B'});
        out.push_back({K::Static, 8002, "", At(47, 56, 200, 16), 'C'});
    }
    const int selW = lowRes ? 131 : m.selectorWidth;
    const int bigH = lowRes ? 20 : m.rowPitch;
    const int endW = lowRes ? 65 : m.lineEndWidth;
    const int btnW = lowRes ? 85 : m.buttonWidth;
    const int btnH = lowRes ? 20 : m.rowPitch;
    const int rightX = lowRes ? 87 : 3 + m.buttonWidth;
    if (int y0 = m.blockY[1]; y0 >= 0) {
        out.push_back({K::ColourSelector, 5001, "", At(3, y0, selW, bigH), 'A'});
        out.push_back({K::Static, 0, "色", At(selW + 6, y0 + 3, 12, 18), 'A'});
        out.push_back({K::LineTypeSelector, 5002, "", At(3, y0 + 23, selW, bigH), 'A'});
        out.push_back({K::Static, 0, "線種", At(selW + 6, y0 + 26, 24, 18), 'A'});
        out.push_back({K::WidthSelector, 5004, "", At(3, y0 + 46, selW, m.smallHeight), 'A'});
        out.push_back({K::Static, 0, "線幅", At(selW + 6, y0 + 49, 24, 18), 'A'});
        out.push_back({K::LineEndSelector, 5000, "", At(3, y0 + 69, endW, m.smallHeight), 'A'});
        out.push_back({K::LineEndSelector, 5003, "", At(lowRes ? 69 : 3 + m.lineEndWidth, y0 + 69, endW, m.smallHeight), 'A'});
        out.push_back({K::Static, 0, "線端", At(selW + 6, y0 + 72, 24, 18), 'A'});
        out.push_back({K::Button, 3310, "レイヤ設定", At(3, y0 + 92, btnW, btnH), 'A'});
        out.push_back({K::Button, 3314, "レイヤ分割", At(rightX, y0 + 92, btnW, btnH), 'A'});
        out.push_back({K::LayerField, 3312, "", At(3, y0 + 115, m.selectorWidth, m.layerHeight), 'A'});
    }
    auto buttons = [&](int y0, const ButtonCell (&cells)[3][2]) {
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 2; ++col)
                out.push_back({K::Button, cells[row][col].id, cells[row][col].text,
                               At(col ? rightX : 3, y0 + row * m.rowPitch, btnW, btnH), 'A'});
    };
    if (m.blockY[2] >= 0) buttons(m.blockY[2], kSnapButtons);
    if (m.blockY[3] >= 0) buttons(m.blockY[3], kToolButtons);
    return out;
}

int ToolPanelContentHeight(const ToolPanelMetrics& m, bool lowRes) {
    int bottom = 0;
    for (const ToolPanelChild& c : ToolPanelChildren(m, lowRes))
        if (c.rect.bottom > bottom) bottom = c.rect.bottom;
    return bottom ? bottom + 6 : 0;
}
