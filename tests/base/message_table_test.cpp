// The message table as generated at build time: ids, empty rows, line breaks
// and the code page 932 bytes of its texts.
#include <gtest/gtest.h>
#include <windows.h>
#include <climits>
#include <cstring>
#include <string>
#include "base/message_table.h"

static std::wstring Wide932(const char* text) {
    int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 0) return L"<invalid>";
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, &w[0], n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

TEST(MessageTable, RowsAscendFrom1000To7619) {
    ASSERT_EQ(1038u, MessageTableSize);
    EXPECT_EQ(1000, MessageTable[0].id);
    EXPECT_EQ(7619, MessageTable[MessageTableSize - 1].id);
    for (size_t i = 1; i < MessageTableSize; ++i)
        ASSERT_LT(MessageTable[i - 1].id, MessageTable[i].id) << "row " << i;
}

TEST(MessageTable, UnknownIdsGiveErrorText) {
    for (int id : {1002, 1011, 1999, 4019, 999, 7620, 0, -1, INT_MIN, INT_MAX})
        EXPECT_STREQ("?ERROR?", GetMessageText(id)) << "id " << id;
}

TEST(MessageTable, EmptyRowsStayEmpty) {
    for (int id : {1009, 1010, 6898, 6899})
        EXPECT_STREQ("", GetMessageText(id)) << "id " << id;
}

TEST(MessageTable, KnownRows) {
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {1000, "システムの環境が異常です"},
        {1008, "新しいバージョンのファイルです。\nこのままエラーを無視して読み込みますか？"},
        {2000, "A0 横"},
        {2027, "B6 縦"},
        {2028, "その他"},
        {7443, "種別=KOLTA拡張データ"},
        {7108, "[いいえ]--保存しない"},
        {7598, "名称を入力してください。    "},  // trailing blanks belong to the text
        {7619, "このファイルのラスターデータは表示できません。"},
    };
    for (const auto& r : rows)
        EXPECT_STREQ(r.text, GetMessageText(r.id)) << "id " << r.id;
}

TEST(MessageTable, LineBreakIsOneLineFeed) {
    const char* text = GetMessageText(1008);
    const char* lf = strchr(text, '\n');
    ASSERT_NE(nullptr, lf);
    EXPECT_EQ(nullptr, strchr(lf + 1, '\n'));
    EXPECT_EQ(nullptr, strchr(text, '\r'));
    EXPECT_EQ(std::wstring(L"このままエラーを無視して読み込みますか？"), Wide932(lf + 1));
}

TEST(MessageTable, SamePointerForEveryLookup) {
    EXPECT_EQ(GetMessageText(5000), GetMessageText(5000));
    EXPECT_EQ(GetMessageText(12345), GetMessageText(-7));
}

TEST(MessageTable, TextsAreCodePage932) {
    // Full-width tilde and hyphen-minus take the bytes the system's code
    // page gives them, and read back as those characters.
    const char* tilde = GetMessageText(7114);
    EXPECT_NE(nullptr, strstr(tilde, "\x81\x60"));
    EXPECT_EQ(std::wstring(L"0\xFF5E"
                           L"9999の範囲で整数を入力してください。"),
              Wide932(tilde));
    const char* minus = GetMessageText(6715);
    EXPECT_NE(nullptr, strstr(minus, "\x81\x7C"));
    EXPECT_EQ(std::wstring(L"スケ\xFF0Dルの値が異常です。"), Wide932(minus));
    const char* layer = GetMessageText(7326);
    EXPECT_EQ(std::wstring(L"レイヤー名称に英数字・＄・\xFF0D・＿以外の文字があります。\n"
                           L"レイヤー名称を変更してください。"),
              Wide932(layer));

    // Trail bytes 0x5C survive generation and compilation.
    const char* show = GetMessageText(4015);
    EXPECT_EQ(0, memcmp(show, "\x95\x5C\x8E\xA6", 4));
    EXPECT_EQ(std::wstring(L"表示レイヤーの設定"), Wide932(show));
    EXPECT_EQ(std::wstring(L"情報を表示したいシンボルを選択してください。"), Wide932(GetMessageText(6171)));
    // Half-width katakana stay single bytes.
    EXPECT_EQ(std::wstring(L"要素ｵﾌｾｯﾄ"), Wide932(GetMessageText(7601)));
    EXPECT_EQ(9u, strlen(GetMessageText(7601)));

    // Every row is valid code page 932.
    for (size_t i = 0; i < MessageTableSize; ++i) {
        const char* text = MessageTable[i].text;
        if (*text) {
            EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0), 0)
                << "id " << MessageTable[i].id;
        }
    }
}
