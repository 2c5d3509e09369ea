// Element link tags through UM_LINKTAG_*: the stored layout, reading and
// replacing entries (after a long link value too), the limits, and the
// search modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command/link_tags.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

class LinkTags : public DrawingFixture {
public:
    int Call(UINT msg, StoredElement* e, const char* key = nullptr, const char* value = nullptr, int index = 0) {
        CmdRequest req = RequestFor(a);
        req.element = W(e);
        req.w.text = W(key);
        req.w.text2 = W(value);
        req.w.mode = index;
        return static_cast<int>(Send(msg, 0, &req));
    }
    std::string Text(StoredElement* e) {
        char buffer[300] = {};
        DAriGetTagString(e, buffer);
        return buffer;
    }
    std::pair<std::string, std::string> Get(StoredElement* e, int index) {
        char key[30], value[260];
        std::memset(key, '#', sizeof key);
        std::memset(value, '#', sizeof value);
        key[29] = value[259] = 0;
        CmdRequest req = RequestFor(a);
        req.element = W(e);
        req.w.text = W(key);
        req.w.text2 = W(value);
        req.w.mode = index;
        Send(UM_LINKTAG_GET, 0, &req);
        return {key, value};
    }
    int Found(const char* key, const char* value) {
        CmdRequest req = RequestFor(a);
        req.w.text = W(key);
        req.w.text2 = W(value);
        auto* mark = reinterpret_cast<CadMark*>(Send(UM_LINKTAG_FIND, 0, &req));
        const int n = mark ? DAriGetMarkNum(mark) : 0;
        if (mark) DAriDestroyMark(mark);
        return n;
    }
};

TEST_F(LinkTags, TheFirstEntryMakesAThirtyFourCharacterText) {
    StoredElement* e = Add(Line(0, 0, 1, 1));
    a.modified = 0;
    EXPECT_EQ(Call(UM_LINKTAG_ADD, e, "PART", "A-100"), 1);
    EXPECT_EQ(Text(e), "KOLTA21000PART    A-100           ");
    EXPECT_EQ(Text(e).size(), 34u);
    EXPECT_EQ(DAriGetTag(e, 210), 1);
    EXPECT_GT(a.modified, 0);
    EXPECT_EQ(Call(UM_LINKTAG_ADD, e, "LONGKEY123", "x"), 1);
    EXPECT_EQ(Text(e).substr(34, 8), "LONGKEY1") << "keys are cut to eight characters";
    EXPECT_EQ(Get(e, 1), std::make_pair(std::string("LONGKEY1"), std::string("x")));
    EXPECT_EQ(Call(UM_LINKTAG_COUNT, e), 2);
}

TEST_F(LinkTags, TheWidthCodeSetsWhereEntriesStart) {
    LinkText parsed;
    const std::string narrow =
        "KOLTA13000" + std::string("K0      ") + "v0        " + "K1      " + "v1        " + "K2      " + "v2        ";
    ASSERT_TRUE(ParseLinkText(narrow, &parsed));
    EXPECT_EQ(parsed.width, 10);
    ASSERT_EQ(parsed.entries.size(), 3u);
    EXPECT_EQ(parsed.entries[2].start, 46u);
    EXPECT_EQ(parsed.entries[2].key, "K2      ");
    EXPECT_FALSE(ParseLinkText("KOLTB20000", &parsed)) << "no magic, no link text";
    ASSERT_TRUE(ParseLinkText("KOLTA29000K0      v0", &parsed));
    EXPECT_TRUE(parsed.entries.empty()) << "a text shorter than its count holds no whole entry";
}

TEST_F(LinkTags, ALongLinkValueIsStoredWholeAndTheEntriesAfterItAreFoundWhereTheyStart) {
    StoredElement* e = Add(Line(0, 0, 1, 1));
    const std::string file = "C&OP_FN:C:\\図面 フォルダ\\配管 系統図.tcf";
    ASSERT_GT(file.size(), 16u);
    EXPECT_EQ(Call(UM_LINKTAG_ADD, e, "Z01LINK", file.c_str()), 1);
    EXPECT_EQ(Call(UM_LINKTAG_ADD, e, "NEXT", "after"), 1);
    EXPECT_EQ(Call(UM_LINKTAG_COUNT, e), 2);
    EXPECT_EQ(Get(e, 0), std::make_pair(std::string("Z01LINK"), file)) << "a file name with its blanks";
    EXPECT_EQ(Get(e, 1), std::make_pair(std::string("NEXT"), std::string("after")))
        << "the entry after the link value, not a piece of the file name";
    // Replacing the link entry cuts its value and keeps the next entry whole.
    EXPECT_EQ(Call(UM_LINKTAG_SET, e, "Z01LINK", "OPEN_FN:x.tcf", 0), 1);
    EXPECT_EQ(Get(e, 1), std::make_pair(std::string("NEXT"), std::string("after")));
    EXPECT_EQ(Text(e).size(), 10u + 2 * 24);
    // A plain link value is cut at its first blank when read.
    StoredElement* f = Add(Line(0, 0, 1, 1));
    const std::string plain = "ABCDEFGHIJKLMNOPQRS UVWXYZ0123456789ABCD";
    ASSERT_EQ(plain.size(), 40u);
    EXPECT_EQ(Call(UM_LINKTAG_ADD, f, "Z01LINK", plain.c_str()), 1);
    EXPECT_NE(Text(f).find(plain), std::string::npos) << "stored whole";
    EXPECT_EQ(Get(f, 0).second, "ABCDEFGHIJKLMNOP") << "read back at its width";
}

TEST_F(LinkTags, LimitsRefuseWithoutChangingAnything) {
    StoredElement* e = Add(Line(0, 0, 1, 1));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Call(UM_LINKTAG_ADD, e, ("K" + std::to_string(i)).c_str(), "v"), 1) << i;
    const std::string full = Text(e);
    a.modified = 0;
    EXPECT_EQ(Call(UM_LINKTAG_ADD, e, "K9", "v"), 0) << "a tenth entry";
    EXPECT_EQ(Text(e), full);
    EXPECT_EQ(a.modified, 0);
    // An index that names no entry reads and writes nothing.
    for (int index : {-1, 9, 1000}) {
        EXPECT_EQ(Get(e, index).first, std::string(29, '#')) << index;
        EXPECT_EQ(Call(UM_LINKTAG_SET, e, "X", "y", index), 0) << index;
        EXPECT_EQ(Text(e), full) << index;
    }
    // A link value that would not fit the library's text is refused whole.
    StoredElement* f = Add(Line(0, 0, 1, 1));
    const std::string huge(400, 'Z');
    EXPECT_EQ(Call(UM_LINKTAG_ADD, f, "Z01LINK", huge.c_str()), 0);
    EXPECT_EQ(Call(UM_LINKTAG_COUNT, f), 0);
    EXPECT_EQ(DAriGetTag(f, 210), 0);
}

TEST_F(LinkTags, ClearingRemovesTheText) {
    StoredElement* e = Add(Line(0, 0, 1, 1));
    Call(UM_LINKTAG_ADD, e, "PART", "1");
    a.modified = 0;
    EXPECT_EQ(Call(UM_LINKTAG_CLEAR, e), 1);
    EXPECT_EQ(Call(UM_LINKTAG_COUNT, e), 0);
    EXPECT_EQ(DAriGetTag(e, 210), 0);
    EXPECT_GT(a.modified, 0);
    EXPECT_EQ(Get(e, 0).first, std::string(29, '#')) << "buffers untouched without a link text";
}

TEST_F(LinkTags, SearchModes) {
    StoredElement* p1 = Add(Line(0, 0, 1, 1));
    StoredElement* p2 = Add(Line(0, 0, 1, 1));
    StoredElement* linked = Add(Line(0, 0, 1, 1));
    StoredElement* empty = Add(Line(0, 0, 1, 1));
    Add(Line(0, 0, 1, 1));  // no link text at all
    Call(UM_LINKTAG_ADD, p1, "PART", "A");
    Call(UM_LINKTAG_ADD, p2, "PART", "B");
    Call(UM_LINKTAG_ADD, p2, "SIZE", "A");
    Call(UM_LINKTAG_ADD, linked, "Z01LINK", "DOC1");
    Call(UM_LINKTAG_ADD, linked, "PART", "A");
    DAriSetTag(empty, 210, 1);
    DAriSetTagString(empty, "KOLTA20000");
    struct Case {
        const char* key;
        const char* value;
        int found;
    };
    const Case cases[] = {
        {nullptr, nullptr, 4},  // every element with a link text
        {"", "", 4},            // both empty: the same
        {"PART", nullptr, 2},   // by key (the entry after the link is not compared)
        {nullptr, "A", 2},      // by value
        {"PART", "A", 1},       // both
        {"SIZE", "B", 0},      {"Z01LINK", nullptr, 1}, {"", nullptr, 0},  // an empty key matches no key
    };
    for (const Case& c : cases)
        EXPECT_EQ(Found(c.key, c.value), c.found)
            << (c.key ? c.key : "(none)") << "/" << (c.value ? c.value : "(none)");
}

}  // namespace
