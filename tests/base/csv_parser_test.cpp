// Comma-separated line splitting, including double-byte characters whose
// trail byte is 0x5C.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "base/csv_parser.h"

namespace {
struct CsvCase {
    const char* name;
    const char* line;
    std::vector<std::string> fields;
};

std::string Show(const std::vector<std::string>& fields) {
    std::string s;
    for (const auto& f : fields)
        s += "[" + f + "]";
    return s;
}
}  // namespace

TEST(CsvParser, SplitsLines) {
    const CsvCase cases[] = {
        {"empty line", "", {""}},
        {"plain", "a,b,c", {"a", "b", "c"}},
        {"n commas", ",,,", {"", "", "", ""}},
        {"quoted comma", "A,\"B,C\",D", {"A", "B,C", "D"}},
        {"blanks inside quotes", "\"  x  \"", {"  x  "}},
        {"blanks outside trimmed", " a ,\tb\r\n", {"a", "b"}},
        {"quoted with outer blanks", "  \"x, y\"  ,z", {"x, y", "z"}},
        {"lone quote inside", "ab\"cd,e", {"ab\"cd", "e"}},
        {"lone quote at end of field", "abc\",d", {"abc", "d"}},
        {"lone quote at start", "\"abc,d", {"abc", "d"}},
        {"lone quote last byte", "ab\"", {"ab"}},
        {"backslash keeps quote", "\"a\\\"b\",c", {"a\"b", "c"}},
        {"backslashes dropped before quote", "\"a\\\\\\\"b\",c", {"a\"b", "c"}},
        {"backslash elsewhere stays", "C:\\dir\\file,2", {"C:\\dir\\file", "2"}},
        {"only quotes", "\"\"\"\"", {""}},
        {"empty quoted field", "\"\",x", {"", "x"}},
        {"quotes inside stay", "\"a\"\"b\",c", {"a\"\"b", "c"}},
        // Trail byte 0x5C before a closing quote is part of the character.
        {"dbcs before closing quote", "\"表\",x", {"表", "x"}},
        {"dbcs pair quoted", "\"ソ,能\",z", {"ソ,能", "z"}},
        {"dbcs last field", "a,\"能\"", {"a", "能"}},
        {"dbcs unquoted", "表,ソ,十", {"表", "ソ", "十"}},
        {"dbcs word quoted", "\"予定表\"", {"予定表"}},
        {"dbcs then comma inside quotes", "\"表,\",\"ソ\"", {"表,", "ソ"}},
        {"real backslash after dbcs", "\"表\\\"x\",y", {"表\"x", "y"}},
        {"stray lead byte before comma", "\x81,b", {"\x81", "b"}},
    };
    for (const auto& c : cases) {
        CCsvParser csv(c.line);
        EXPECT_EQ(Show(c.fields), Show(csv.Fields())) << c.name;
    }
}

TEST(CsvParser, ParseReplacesFieldsAndIndexesSafely) {
    CCsvParser csv;
    EXPECT_EQ(0u, csv.GetCount());
    EXPECT_EQ(0, csv.Parse("1,2,3"));
    ASSERT_EQ(3u, csv.GetCount());
    EXPECT_EQ("2", csv[1]);
    EXPECT_EQ(0, csv.Parse(std::string("x")));
    ASSERT_EQ(1u, csv.GetCount());
    EXPECT_EQ("x", csv[0]);
    EXPECT_EQ("", csv.GetField(5));
}
