// The font descriptor and its glyph sheet as a damaged or hostile file gives them: bad lines are named and
// skipped, cells outside the sheet are dropped, and a file that is no descriptor is reported in one line.
#include "font_descriptor.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace enginetest;
using namespace zorbel::font;

namespace {

TEST(FontDescriptor, AWholeDescriptorGivesItsGlyphsAndNoProblems) {
    const Descriptor font = Parse("f.ofi", "# comment\n"
                                           "zfont 1\r\n"
                                           "size 16 20 13\n"
                                           "\f\n"
                                           "glyph 1046 30 0 12 16 -1.5 2 12 # Zhe\n"
                                           "glyph 1114111 0 0 0 0 0 0 5\n"
                                           "end\n");
    EXPECT_TRUE(font.problems.empty()) << font.problems.front();
    EXPECT_FLOAT_EQ(font.lineHeight, 20.0f);
    ASSERT_EQ(font.glyphs.count(1046), 1u);
    const Glyph& zhe = font.glyphs.at(1046);
    EXPECT_EQ(zhe.cell.x, 30);
    EXPECT_EQ(zhe.cell.w, 12);
    EXPECT_FLOAT_EQ(zhe.xOffset, -1.5f);
    EXPECT_EQ(zhe.line, 5);
    EXPECT_EQ(font.glyphs.count(1114111), 1u);
}

TEST(FontDescriptor, BadLinesAreNamedByNumberAndTheRestIsKept) {
    const Descriptor font = Parse("f.ofi", "zfont 1\n"
                                           "glyph 65 0 0 10 16 0 0 10\n"
                                           "glyph 66 -1 0 8 16 0 0 8\n"
                                           "glyph 67 0 0 8 16 nan 0 8\n"
                                           "glyph 68 0 0 8 16 0 0 1e30\n"
                                           "glyph 1114112 0 0 8 16 0 0 8\n"
                                           "glyph 69 0 0 8\n"
                                           "glyph 70 0 0 8 16 0 0 8 9\n"
                                           "colour \x1b[31m\n"
                                           "glyph 71 2 0 8 16 0 0 8\n"
                                           "end\n");
    const std::vector<std::string> expected = {
        "f.ofi:3: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
        "f.ofi:4: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
        "f.ofi:5: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
        "f.ofi:6: a codepoint is at most 1114111",
        "f.ofi:7: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
        "f.ofi:8: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
        "f.ofi:9: not a zfont 1 line: colour"};
    EXPECT_EQ(font.problems, expected);
    EXPECT_EQ(font.glyphs.size(), 2u);
    EXPECT_EQ(font.glyphs.at('G').cell.x, 2);
}

TEST(FontDescriptor, AFileThatIsNoDescriptorIsOneProblemEchoedPrintably) {
    const std::string binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR glyph 65 0 0 4 4 0 0 4\nend\n", 42);
    const Descriptor png = Parse("f.ofi", binary);
    ASSERT_EQ(png.problems.size(), 1u);
    EXPECT_EQ(png.problems[0], "f.ofi:1: expected \"zfont 1\" first, found \"\\x89PNG\\x0D\"");
    EXPECT_TRUE(png.glyphs.empty());

    const Descriptor text = Parse("f.ofi", "This file is not a font.\nglyph 65 0 0 4 4 0 0 4\n");
    ASSERT_EQ(text.problems.size(), 1u);
    EXPECT_EQ(text.problems[0], "f.ofi:1: expected \"zfont 1\" first, found \"This file is not a font.\"");

    EXPECT_EQ(Parse("f.ofi", "").problems,
              std::vector<std::string>{"f.ofi: no \"zfont 1\" header; the file is empty"});
    EXPECT_EQ(Parse("f.ofi", std::string(5000, 'x')).problems[0].size(),
              std::string("f.ofi:1: expected \"zfont 1\" first, found \"\"").size() + 63)
        << "a long line is cut";
}

TEST(FontDescriptor, ADescriptorCutShortKeepsWhatItHasAndSaysSo) {
    const Descriptor font = Parse("f.ofi", "zfont 1\nglyph 65 0 0 10 16 0 0 10\nglyph 66 10 0 8 1");
    EXPECT_EQ(font.problems,
              (std::vector<std::string>{"f.ofi:3: expected: glyph CODEPOINT X Y W H XOFFSET YOFFSET ADVANCE",
                                        "f.ofi: no \"end\" line; the file is cut short"}));
    EXPECT_EQ(font.glyphs.size(), 1u);
    EXPECT_EQ(Parse("f.ofi", "zfont 1\nend\nglyph 65 0 0 1 1 0 0 1\n").problems,
              std::vector<std::string>{"f.ofi:3: text after \"end\""});
}

TEST(FontDescriptor, CellsOutsideTheSheetAreDroppedEvenWhereIntsWouldOverflow) {
    Descriptor font = Parse("f.ofi", "zfont 1\n"
                                     "glyph 65 0 0 3000 8 0 0 10\n"
                                     "glyph 66 2147483647 0 4 4 0 0 10\n"
                                     "glyph 67 0 2147483647 4 2147483647 0 0 10\n"
                                     "glyph 68 60 12 4 4 0 0 4\n"
                                     "glyph 69 64 16 0 0 0 0 4\n"
                                     "end\n");
    ASSERT_TRUE(font.problems.empty());
    KeepCellsInside(font, "f.ofi", 64, 16);
    EXPECT_EQ(font.glyphs.size(), 2u) << "a cell reaching the sheet's far corner, or empty at it, is inside";
    ASSERT_EQ(font.problems.size(), 3u);
    std::sort(font.problems.begin(), font.problems.end());
    EXPECT_EQ(font.problems[0], "f.ofi:2: the cell 0,0 3000x8 of glyph 65 lies outside the 64x16 sheet");
    EXPECT_EQ(font.problems[1].rfind("f.ofi:3: ", 0), 0u);
    EXPECT_EQ(font.problems[2].rfind("f.ofi:4: ", 0), 0u);
}

TEST(FontDescriptor, ReducedSheetsHoldEveryGlyphWhateverTheSheetWidth) {
    for (const int width : {1, 3, 63, 129, 131, 257}) {
        Coverage native{width, 5, std::vector<uint8_t>(static_cast<size_t>(width) * 5, 255)};
        std::unordered_map<uint32_t, Glyph> glyphs;
        glyphs['A'].cell = Rect{0, 0, width, 5};
        glyphs['B'].cell = Rect{width - 1, 4, 1, 1};
        for (int level = 1; level < kLevels; ++level) {
            const Coverage reduced = Reduce(native, glyphs, level);
            ASSERT_EQ(reduced.alpha.size(), static_cast<size_t>(reduced.w) * static_cast<size_t>(reduced.h));
            for (const auto& [cp, g] : glyphs) {
                const Rect& r = g.reduced[level];
                EXPECT_LE(r.x + r.w, reduced.w) << "sheet " << width << " level " << level;
                EXPECT_LE(r.y + r.h, reduced.h) << "sheet " << width << " level " << level;
                EXPECT_GT(reduced.alpha[static_cast<size_t>(r.y) * static_cast<size_t>(reduced.w) +
                                        static_cast<size_t>(r.x)],
                          0)
                    << "the glyph was copied to its place";
            }
        }
    }
}

// The real engine with a real sheet: the bad glyph lines are named in one line and the program goes on.
TEST(FontDescriptorDeathTest, CellsOutsideTheSheetAreReportedAndTheEngineRunsOn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    DataDir data;
    WritePicture(data / "PICTURE/TEXTING.BMP", Picture(64, 16, 0xFFFFFFFF));
    std::ofstream(data / "TEXTING.bmp.ofi") << "zfont 1\n"
                                               "glyph 65 0 0 3000 8 0 0 10\n"
                                               "glyph 66 2147483647 0 4 4 0 0 10\n"
                                               "glyph 67 0 0 4 4 0 0 10\n"
                                               "end\n";
    EXPECT_EXIT(
        {
            ZB_Font* font = nullptr;
            float width = 0;
            RunEngine(
                {.load =
                     [&] { font = Text_LoadFontFromFile("PICTURE\\TEXTING.BMP", "TEXTING.bmp.ofi", 0, 266); },
                 .frame =
                     [&](uint64_t) {
                         Text_Draw(font, 10, 10, "ABCABC", 0.25f, 0, 255, 1);
                         width = Text_GetWidth(font, "ABC", 1.0f, 0.0f);
                     }});
            // A and B are dropped; with neither '?' nor a space in the font they advance by nothing.
            std::exit(width == 10.0f ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "TEXTING.bmp.ofi:[23]: the cell .* \\(and 1 more problems\\)");
}

} // namespace
