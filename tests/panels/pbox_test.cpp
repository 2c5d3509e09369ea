// The application panel's page model as command modules drive it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "panels/pbox.h"

namespace {

class PBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ClearAllPBoxPages(); }
    void TearDown() override { ClearAllPBoxPages(); }

    static PBoxAddRequest Add(int page, int id, const char* text) {
        PBoxAddRequest r;
        std::memset(&r, 0, sizeof r);
        r.page = page;
        r.id = id;
        r.text = text;
        r.width = 40;
        r.height = 20;
        return r;
    }
    static PBoxItemRequest Item(int page, int id) {
        PBoxItemRequest r;
        std::memset(&r, 0, sizeof r);
        r.page = page;
        r.id = id;
        return r;
    }
};

TEST_F(PBoxTest, FourPagesAreHandedOutThenNoneUntilOneCloses) {
    for (int expected = 1; expected <= 4; ++expected)
        EXPECT_EQ(expected, OpenPBoxPage(0, "page"));
    EXPECT_EQ(0, OpenPBoxPage(0, nullptr));
    EXPECT_EQ(1, ClosePBoxPage(3));
    EXPECT_EQ(3, OpenPBoxPage(0, "again"));
    EXPECT_EQ(0, ClosePBoxPage(5));
    EXPECT_EQ(0, ClosePBoxPage(-1));
}

TEST_F(PBoxTest, AddsFillFiftySlotsAndRefuseBadPages) {
    const int page = OpenPBoxPage(0, "p");
    for (int i = 0; i < kPBoxItemCount; ++i) {
        PBoxAddRequest r = Add(page, 100 + i, "B");
        ASSERT_EQ(1, AddPBoxButton(0, &r)) << i;
    }
    PBoxAddRequest extra = Add(page, 999, "B");
    EXPECT_EQ(0, AddPBoxButton(0, &extra));
    PBoxAddRequest bad = Add(7, 1, "B");
    EXPECT_EQ(0, AddPBoxEdit(0, &bad));
}

TEST_F(PBoxTest, TextBlocksListPrefixAndComboText) {
    const int page = OpenPBoxPage(0, "p");
    std::string longText(300, 'a');
    PBoxAddRequest r1 = Add(page, 1, longText.c_str());
    PBoxAddRequest r2 = Add(page, 2, "");
    PBoxAddRequest r3 = Add(page, 3, "A,B");
    r3.extra = 1;
    PBoxAddRequest r4 = Add(page, 4, "A,B");
    PBoxAddRequest r5 = Add(page, 5, "x,y");
    r5.initial = (intptr_t) "現在";
    ASSERT_EQ(1, AddPBoxText(0, &r1));
    ASSERT_EQ(1, AddPBoxEdit(0, &r2));
    ASSERT_EQ(1, AddPBoxComboListSel(0, &r3));
    ASSERT_EQ(1, AddPBoxComboListSel(0, &r4));
    ASSERT_EQ(1, AddPBoxCombo(0, &r5));
    const PBoxItem* items = PBoxPageTable[page].items;
    EXPECT_EQ(301u, ::GlobalSize(items[0].text));
    EXPECT_EQ(257u, ::GlobalSize(items[1].text));
    EXPECT_STREQ("\n1\nA,B", items[2].text);
    EXPECT_STREQ("A,B", items[3].text);

    char buf[512];
    PBoxItemRequest q = Item(page, 5);
    q.text = buf;
    ASSERT_EQ(1, GetPBoxComboText(0, &q));
    EXPECT_STREQ("現在", buf);

    // A new text longer than the block is kept whole, not written past it.
    std::string longer(700, 'z');
    PBoxItemRequest set = Item(page, 2);
    set.text = const_cast<char*>(longer.c_str());
    ASSERT_EQ(1, SetPBoxItemText(0, &set));
    char big[1024];
    PBoxItemRequest get = Item(page, 2);
    get.text = big;
    ASSERT_EQ(1, GetPBoxItemText(0, &get));
    EXPECT_EQ(longer, big);
    PBoxItemRequest missing = Item(page, 77);
    missing.text = big;
    EXPECT_EQ(0, GetPBoxItemText(0, &missing));
}

TEST_F(PBoxTest, ColoursDefaultButtonTwinAndReadingAfterClose) {
    const int page = OpenPBoxPage(0, "p");
    PBoxAddRequest ok1 = Add(page, 10, "OK"), ok2 = Add(page, 11, "OK"), chk = Add(page, 12, "c");
    chk.initial = 1;
    AddPBoxButton(0, &ok1);
    AddPBoxButton(0, &ok2);
    AddPBoxCheck(0, &chk);
    EXPECT_EQ(1, PBoxHasDefaultButton);
    EXPECT_EQ(11, PBoxDefaultButtonId);  // the later one wins

    PBoxItemRequest col = Item(page, 10);
    col.set = 257;  // text colour out of range
    col.mode = 0;   // background black
    ASSERT_EQ(1, SetPBoxItemColors(0, &col));
    EXPECT_EQ(-1, PBoxPageTable[page].items[0].textColor);
    EXPECT_EQ(0, PBoxPageTable[page].items[0].backColor);

    // Writing a value never writes another page: the pop-up's copy lives
    // apart from page 4, which a module may have opened itself.
    PBoxPageTable[4].items[2].value = 0;
    PBoxItemRequest val = Item(page, 12);
    val.set = 1;
    val.value = 5;
    ASSERT_EQ(1, ExchangePBoxValue(0, &val));
    EXPECT_EQ(5, PBoxPageTable[page].items[2].value);
    EXPECT_EQ(0, PBoxPageTable[4].items[2].value);

    int32_t state = -1;
    PBoxItemRequest st = Item(page, 12);
    st.value = (intptr_t)&state;
    ASSERT_EQ(1, ClosePBoxPage(page));
    EXPECT_EQ(0, PBoxHasDefaultButton);
    ASSERT_EQ(1, ExchangePBoxState(0, &st));  // items stay readable after a close
    EXPECT_EQ(1, state);

    PBoxItemRequest calc = Item(page, 99);
    EXPECT_EQ(-1, ExchangePBoxCalcMode(0, &calc));  // absent item, reading
    calc.set = 1;
    EXPECT_EQ(0, ExchangePBoxCalcMode(0, &calc));
}

}  // namespace
