#include "fs/Wildcard.h"
#include <gtest/gtest.h>

using vcl::fs::FileMask;
using vcl::fs::matchesWildcard;

namespace {

struct Case {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(Wildcard, ClassicDotAndQuestionMarkRules)
{
    const Case cases[] = {
        {"*.*", "readme", true},       {"*.*", "a.b.c", true},         {"*.*", ".profile", true},
        {"*", "x.y", true},            {"*.", "readme", true},         {"*.", "a.txt", false},
        {"*.bmp", "PHOTO.BMP", true},  {"*.bmp", "a.bmp.txt", false},  {"*.bmp", "a.bmpx", false},
        {"*.bmp", "bmp", false},       {"*.bmp", ".bmp", true},        {"*.tar.gz", "a.TAR.gz", true},
        {"abc.*", "abc", true},        {"abc.*", "abc.d", true},       {"abc.*", "abcd", false},
        {"a*.*", "abc", true},         {"a?c", "abc", true},           {"a?c", "ac", false},
        {"a?c", "a.c", false},         {"a??", "a", true},             {"a??", "abc", true},
        {"a??", "abcd", false},        {"file?.txt", "file.txt", true}, {"file?.txt", "file1.txt", true},
        {"file?.txt", "file12.txt", false}, {"*a*", "BANANA", true},  {"*a*", "xyz", false},
        {"x*y*z", "xAAyBBz", true},    {"x*y*z", "xzy", false},        {"*.été", "Hiver.ÉTÉ", true},
        {"", "a", false},              {"a.", "a", true},              {"*.b?p", "x.bmp", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.pattern << " vs " << c.name;
}

TEST(Wildcard, MaskSplitsAtEverySemicolonKeepingBlanks)
{
    EXPECT_EQ(FileMask("*.bmp;*.ico").matchCount("x.ICO"), 1);
    EXPECT_EQ(FileMask("*.bmp;*.ico").matchCount("x.wmf"), 0);
    // A blank is part of the piece: " *.ico" wants a name starting with one.
    EXPECT_EQ(FileMask("*.bmp; *.ico").matchCount("x.ico"), 0);
    EXPECT_EQ(FileMask("*.bmp; *.ico").matchCount(" x.ico"), 1);
    // Empty pieces match nothing, not everything.
    EXPECT_EQ(FileMask(";").matchCount("a"), 0);
    EXPECT_EQ(FileMask("").matchCount("a"), 0);
    EXPECT_EQ(FileMask("*.bmp;;").matchCount("a.bmp"), 1);
    // A name matching two pieces counts twice (listed twice).
    EXPECT_EQ(FileMask("*.bmp;*.BMP").matchCount("a.bmp"), 2);
    EXPECT_EQ(FileMask("a*;*.bmp;*").matchCount("a.bmp"), 3);
}

} // namespace
