// The INI format on text: what survives damage, what a rewrite touches, and integers read whole.
#include "ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iconv.h>
#include <random>

using platform::IniFind;
using platform::IniParseInteger;
using platform::IniSet;

namespace {

std::optional<std::string> Find(std::string_view text, std::string_view section, std::string_view key) {
    return IniFind(text, {{section, key}})[0];
}

} // namespace

TEST(IniText, ADamagedTextKeepsWhatCanBeRead) {
    using namespace std::string_literals;
    std::string text = "\xEF\xBB\xBF[good]\r\n" // byte-order mark, CR LF
                       "first = 1 \r\n"
                       "first=2\r\n" // a repeated key: the first one counts
                       "broken\r\n"  // no '='
                       "[no end\r\n" // a bracket missing: still a section
                       "kept=3\r\n"
                       "no start]\r\n" // the other bracket missing: not a section
                       "after=4\r\n"
                       "nul=5\0"
                       "9\r\n"    // a NUL inside the value
                       "[good]\n" // the section again: passed over, as the profile functions do
                       "first=6\n"
                       "second=7\n"s;
    text += std::string(3'000'000, 'x') + "=long\n"; // a very long line
    std::mt19937 random(11);
    for (int i = 0; i < 100'000; ++i)
        text += static_cast<char>(random());
    text += "\n[tail]\nlast=8"; // after binary garbage, and no final line break

    EXPECT_EQ(Find(text, "good", "first"), "1");
    EXPECT_EQ(Find(text, "no end", "kept"), "3");
    EXPECT_EQ(Find(text, "no end", "after"), "4");
    EXPECT_EQ(Find(text, "good", "second"), std::nullopt);
    EXPECT_EQ(Find(text, "tail", "last"), "8");
    EXPECT_EQ(Find(text, "good", "broken"), std::nullopt);
    const auto nul = Find(text, "no end", "nul");
    ASSERT_TRUE(nul);
    EXPECT_EQ(IniParseInteger(*nul), std::nullopt);
    // Entries above the first section belong to none.
    EXPECT_EQ(Find("key=1\n[s]\n", "", "key"), std::nullopt);
    EXPECT_EQ(Find("[]\nkey=1\n", "s", "key"), std::nullopt);
}

TEST(IniText, NamesMatchWithoutCaseOrSurroundingBlanksButInnerBlanksCount) {
    const std::string text = "[ 00^123$ ]\n  12 10 70 =90\nVFT4DS=0\n12 10 70=11\n12  10 70 =12\n";
    EXPECT_EQ(Find(text, "00^123$", "12 10 70 "), "90");
    EXPECT_EQ(Find(text, "00^123$", "Vft4DS "), "0");
    EXPECT_EQ(Find(text, "00^123$", "12 10  70 "), std::nullopt);
    EXPECT_EQ(Find(text, "00^123", "12 10 70 "), std::nullopt);
}

TEST(IniText, EveryLetterMatchesItsOtherCaseAndTheSignsBesideTheLettersDoNot) {
    for (char upper = 'A'; upper <= 'Z'; ++upper) {
        const std::string u(1, upper), l(1, static_cast<char>(upper - 'A' + 'a'));
        EXPECT_EQ(Find("[s" + u + "]\nk" + u + "=1\n", "s" + l, "k" + l), "1") << u;
        EXPECT_EQ(Find("[s" + l + "]\nk" + l + "=1\n", "s" + u, "k" + u), "1") << u;
    }
    // '@' and '[' sit just outside the capitals, '`' and '{' just outside the small letters.
    EXPECT_EQ(Find("[s]\nk@=1\n", "s", "k`"), std::nullopt);
    EXPECT_EQ(Find("[s]\nk[=1\n", "s", "k{"), std::nullopt);
}

TEST(IniText, IntegersAreReadWholeOrNotAtAll) {
    EXPECT_EQ(IniParseInteger("300"), 300);
    EXPECT_EQ(IniParseInteger(" -7 "), -7);
    EXPECT_EQ(IniParseInteger("+5"), 5);
    EXPECT_EQ(IniParseInteger("$1F"), 31);
    EXPECT_EQ(IniParseInteger("0x1f"), 31);
    EXPECT_EQ(IniParseInteger("-0X10"), -16);
    EXPECT_EQ(IniParseInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(IniParseInteger("-2147483648"), INT32_MIN);
    for (const char* bad : {"", " ", "2147483648", "-2147483649", "99999999999999999999999", "12abc", "1 2",
                            "--5", "+-5", "-+5", "$", "0x", "$-5", "0x+5", "1.5", "1e3", "abc", "\x80"})
        EXPECT_EQ(IniParseInteger(bad), std::nullopt) << '"' << bad << '"';
    EXPECT_EQ(IniParseInteger(std::string_view("5\0"
                                               "0",
                                               3)),
              std::nullopt);
}

TEST(IniText, ARewriteChangesOnlyTheValuesItSets) {
    const std::string text = "; saved by hand\r\n"
                             "[OPTIONS]\r\n"
                             "SMOOTH =  255  \r\n"
                             "unknown key=with = signs\r\n"
                             "\r\n"
                             "[prA(*@)]\r\n"
                             "bh5sj=3\r\n"
                             "BH5sj =4\r\n";
    // Setting what is there already gives back every byte.
    EXPECT_EQ(IniSet(text, {{"OPTIONS", "SMOOTH ", "255"}, {"prA(*@)", "BH5sj ", "3"}}), text);
    std::string expected = text;
    expected.replace(expected.find("bh5sj=3"), 7, "bh5sj=12");
    EXPECT_EQ(IniSet(text, {{"PRA(*@)", "BH5sj ", "12"}}), expected);
    // A key that is not there goes after its section's last line, before the blank line; a new section at
    // the end after a blank line; new lines end the way the text's lines end.
    EXPECT_EQ(IniSet(text, {{"OPTIONS", "MUSIC ", "5"}, {"eax$%d3", "uscQD ", "2"}, {"OPTIONS", "FX ", "6"}}),
              "; saved by hand\r\n[OPTIONS]\r\nSMOOTH =  255  \r\nunknown key=with = signs\r\nMUSIC =5\r\n"
              "FX =6\r\n\r\n[prA(*@)]\r\nbh5sj=3\r\nBH5sj =4\r\n\r\n[eax$%d3]\r\nuscQD =2\r\n");
    EXPECT_EQ(IniSet("[a]\nx=1", {{"a", "y", "2"}, {"b", "z", "3"}}), "[a]\nx=1\ny=2\n\n[b]\nz=3\n");
    EXPECT_EQ(IniSet("", {{"a", "x", "1"}, {"a", "x", "2"}}), "[a]\r\nx=2\r\n");
}

// Whatever the text, what was set is what is found afterwards, and a second rewrite changes nothing.
TEST(IniText, WhatIsSetIsFoundInAnyText) {
    const std::string_view pieces[] = {
        "[s]",          "[S ", "[t]", "]",  "[",    "=", "k",  " K ",
        "k2",           "v",   "\r",  "\n", "\r\n", " ", "\t", std::string_view("\0", 1),
        "\xEF\xBB\xBF", "\xFF"};
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % std::size(pieces)];
        const std::vector<platform::IniEntry> entries = {
            {"s", "k", std::to_string(round)}, {"t", "k2", "x"}, {"new", "k", "y"}};
        const std::string once = IniSet(text, entries);
        const auto found = IniFind(once, {{"s", "k"}, {"t", "k2"}, {"new", "k"}});
        ASSERT_EQ(found[0], std::to_string(round)) << "text: " << testing::PrintToString(text);
        ASSERT_EQ(found[1], "x") << "text: " << testing::PrintToString(text);
        ASSERT_EQ(found[2], "y") << "text: " << testing::PrintToString(text);
        ASSERT_EQ(IniSet(once, entries), once) << "text: " << testing::PrintToString(text);
    }
}

namespace {

// The text in another encoding, by the C library's converter.
std::string Converted(const std::string& utf8, const char* encoding) {
    iconv_t convert = iconv_open(encoding, "UTF-8");
    std::string in = utf8, out(4 * utf8.size(), '\0');
    char *from = in.data(), *to = out.data();
    size_t fromLeft = in.size(), toLeft = out.size();
    const size_t result = iconv(convert, &from, &fromLeft, &to, &toLeft);
    iconv_close(convert);
    EXPECT_NE(result, static_cast<size_t>(-1)) << encoding;
    out.resize(out.size() - toLeft);
    return out;
}

// A settings file as some editor saved it, made from lines written in UTF-8 with LF.
struct FileKind {
    const char* name;
    std::string (*bytes)(const std::string& lines);
};

const FileKind kFileKinds[] = {
    {"Utf16LittleEndian", [](const std::string& t) { return "\xFF\xFE" + Converted(t, "UTF-16LE"); }},
    {"Utf16BigEndian", [](const std::string& t) { return "\xFE\xFF" + Converted(t, "UTF-16BE"); }},
    {"LoneCarriageReturns",
     [](const std::string& t) {
         std::string cr = t;
         std::replace(cr.begin(), cr.end(), '\n', '\r');
         return cr;
     }},
    // A key of the second section is not read from there, nor written there.
    {"SectionTwice", [](const std::string& t) { return t + "[PRA(*@)]\nBH5sj =9\nlate=1\n"; }},
};

void PrintTo(const FileKind& kind, std::ostream* out) {
    *out << kind.name;
}

class IniFileKinds : public ::testing::TestWithParam<FileKind> {};

TEST_P(IniFileKinds, AreReadAndRewrittenKeepingEveryOtherByte) {
    const std::string before = "; сохранено вручную\n[prA(*@)]\nBH5sj =3\nother=кот \U0001F63A\n\n"
                               "[00^123$]\n12 10 70 =40\n";
    const std::string after = "; сохранено вручную\n[prA(*@)]\nBH5sj =12\nother=кот \U0001F63A\nnew =1\n"
                              "late=2\n\n[00^123$]\n12 10 70 =40\n";
    const std::string file = GetParam().bytes(before);
    const auto found = IniFind(
        file, {{"prA(*@)", "BH5sj "}, {"00^123$", "12 10 70 "}, {"prA(*@)", "late"}, {"prA(*@)", "other"}});
    EXPECT_EQ(found[0], "3");
    EXPECT_EQ(found[1], "40");
    EXPECT_EQ(found[2], std::nullopt);
    EXPECT_EQ(found[3], "кот \U0001F63A");
    EXPECT_EQ(IniSet(file, {{"prA(*@)", "BH5sj ", "12"}, {"prA(*@)", "new ", "1"}, {"prA(*@)", "late", "2"}}),
              GetParam().bytes(after));
}

INSTANTIATE_TEST_SUITE_P(Editors, IniFileKinds, ::testing::ValuesIn(kFileKinds),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(IniText, AUtf16TextKeepsUnitsThatAreNoCharacters) {
    using namespace std::string_literals;
    // A lone surrogate (D800) in a value of another key, and an odd byte at the end.
    const std::string file = "\xFF\xFE[\0s\0]\0\n\0k\0=\0"
                             "1\0\n\0x\0=\0\0\xD8\n\0\x7F"s;
    std::string expected = file;
    expected.replace(expected.find("1\0"s), 2, "2\0"s);
    EXPECT_EQ(IniSet(file, {{"s", "k", "2"}}), expected);
}
