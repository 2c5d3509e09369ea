#include "shell/toolbar_tables.h"

#include <cstring>

#include "command/command_ids.h"

const ToolbarGroupDef ToolbarGroupTable[10] = {
    {1, "ファイル", 259, 269, 279, nullptr},   {1, "設定", 260, 270, 280, nullptr},
    {1, "ウィンドウ", 261, 271, 281, nullptr}, {1, "ラスター", 262, 272, 282, nullptr},
    {1, "計測", 263, 273, 283, nullptr},       {1, "表示", 264, 274, 284, nullptr},
    {1, "編集", 265, 275, 285, nullptr},       {1, "作図", 266, 276, 286, nullptr},
    {1, "文字", 267, 277, 287, nullptr},       {1, "寸法", 268, 278, 288, nullptr},
};

const ToolbarButtonDef ToolbarButtonTable[70] = {
    {45100, ID_CMD_NEW_DRAWING, "新規作成"},
    {45101, ID_CMD_OPEN_DRAWING, "開く"},
    {45102, ID_CMD_SAVE_DRAWING, "上書保存"},
    {45103, ID_CMD_SAVE_DRAWING_AS, "名前を付けて保存"},
    {45104, ID_CMD_DRAWING_INFO, "図面情報"},
    {45105, ID_CMD_PRINT, "出力作図"},
    {45106, ID_CMD_PRINT_RANGE, "範囲指定出力作図"},
    {45400, ID_SVC_SETTINGS, "環境設定"},
    {45401, ID_CMD_CURSOR_SETTINGS, "カーソル"},
    {45402, 7112, "ヘルプ"},
    {45901, ID_SVC_CASCADE, "カスケード"},
    {45902, ID_SVC_TILE, "タイル"},
    {45903, ID_SVC_LAYOUT_VIEW, "レイアウトビュー"},
    {45905, ID_CMD_SPLIT_WINDOW, "画面分割"},
    {45900, ID_SVC_NEW_WINDOW, "新規ウィンドウ"},
    {45300, 7800, "ラスター読込"},
    {45301, 7801, "ラスター設定"},
    {45302, 7802, "ラスター削除"},
    {45200, 7600, "距離"},
    {45202, 7620, "要素表示"},
    {45201, 7605, "面積"},
    {45904, ID_SVC_LOUPE, "ルーペ"},
    {45800, ID_SVC_ZOOM, "ズーム"},
    {45801, ID_SVC_ZOOM_WINDOW, "範囲拡大"},
    {45802, ID_SVC_BASE_VIEW, "基準表示"},
    {45803, ID_SVC_REDRAW, "再表示"},
    {45804, ID_SVC_SCROLL, "スクロール"},
    {45805, 1351, "グリッド表示"},
    {45806, ID_SVC_LAYER_SPLIT, "レイヤ分割"},
    {45719, ID_SVC_UNDO, "UNDO"},
    {45720, ID_SVC_REDO, "REDO"},
    {45701, 7010, "移動"},
    {45700, 7000, "複写"},
    {45707, 7030, "延長短縮"},
    {45709, 7047, "部分削除"},
    {45708, 7040, "切断"},
    {45702, 7051, "対称複写"},
    {45703, 7052, "対称移動"},
    {45705, 7071, "接続"},
    {45704, 7070, "丸め"},
    {45716, 7130, "要素消去"},
    {45717, 7140, "枠内消去"},
    {45718, 7150, "全消去"},
    {45710, 7075, "シンボル配置"},
    {45711, 7500, "グループ作成"},
    {45712, 7520, "グループ解除"},
    {45715, 7120, "要素変更"},
    {45706, 9100, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送"},
    {45500, 6000, "線分"},
    {45509, 6002, "折れ線"},
    {45515, 6003, "波線"},
    {45501, 6001, "基準線"},
    {45502, 6041, "二重線"},
    {45503, 6010, "矩形"},
    {45504, 6020, "円"},
    {45505, 6030, "円弧"},
    {45507, 6050, "楕円"},
    {45508, 6060, "楕円弧"},
    {45506, 6040, "点"},
    {45510, 6061, "スプライン"},
    {45511, 6062, "ハッチング"},
    {45906, 6066, "分割線"},
    {45512, 5195, "塗り潰し"},
    {45513, 6070, "文字"},
    {45514, 6071, "文字枠配置"},
    {45713, 7080, "文字テキスト変更"},
    {45714, 7100, "文字属性変更"},
    {45600, 6080, "平行寸法"},
    {45601, 6090, "円寸法"},
    {45602, 6100, "角度寸法"},
};

int ToolbarButtonFromCommand(int commandId) {
    for (const ToolbarButtonDef& row : ToolbarButtonTable)
        if (row.commandId == commandId) return row.buttonId != 0 ? row.buttonId : commandId;
    return commandId;
}

int FindToolbarGroup(const char* caption, ToolbarGroupDef* row) {
    for (const ToolbarGroupDef& g : ToolbarGroupTable) {
        if (std::strcmp(g.caption, caption) == 0) {
            if (row) *row = g;
            return 1;
        }
    }
    return 0;
}
