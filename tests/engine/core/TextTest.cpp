#include "engine/Text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const LeadByteTable kShiftJis = LeadByteTable::ShiftJis();
const LeadByteTable kSingleByte = LeadByteTable::SingleByte();

// "ソ" is 0x83 0x5C in code page 932: its trail byte is the backslash.
const std::string kSo = "\x83\x5C";

TEST(Text, JapaneseLiteralsAreStoredAsCodePage932)
{
    EXPECT_EQ(std::string("ソ"), kSo);
}

TEST(Text, ProcessCodePageTableMatchesWindows)
{
    const LeadByteTable expected = GetACP() == 932 ? kShiftJis : kSingleByte;
    EXPECT_TRUE(AnsiLeadBytes() == expected) << "ANSI code page " << GetACP();
}

TEST(Text, FindSubstringNeverMatchesAtTrailByte)
{
    // "ソ" followed by "f": under 932 the 0x5C is no character of its own.
    const std::string text = "a" + kSo + "\\f";
    EXPECT_EQ(FindSubstring(text, "\\f", 0, kShiftJis), 3);
    EXPECT_EQ(FindSubstring(text, "\\", 0, kShiftJis), 3);
    EXPECT_EQ(FindSubstring(text, "\\", 0, kSingleByte), 2);
    // 'f' (0x66) is a valid trail byte: "\x81" "f" is one character, so "f-" is not found in it.
    EXPECT_EQ(FindSubstring("\x81" "f-f", "f-", 0, kShiftJis), -1);
    EXPECT_EQ(FindSubstring("\x81" "f-f", "f-", 0, kSingleByte), 1);
}

TEST(Text, FindSubstringStartsAtIndex)
{
    EXPECT_EQ(FindSubstring("-f x -f y", "-f", 0, kShiftJis), 0);
    EXPECT_EQ(FindSubstring("-f x -f y", "-f", 1, kShiftJis), 5);
    EXPECT_EQ(FindSubstring("-f x -f y", "-f", 6, kShiftJis), -1);
    EXPECT_EQ(FindSubstring("abc", "", 2, kShiftJis), 2);
    EXPECT_EQ(FindSubstring("", "-f", 0, kShiftJis), -1);
}

TEST(Text, CompareNoCaseFoldsAsciiOnly)
{
    EXPECT_EQ(CompareNoCase("Tamsel.dat", "tAMSEL.DAT", kShiftJis), 0);
    EXPECT_LT(CompareNoCase("Tamsel.da", "Tamsel.dat", kShiftJis), 0);
    EXPECT_GT(CompareNoCase("Tamsel.datx", "Tamsel.dat", kShiftJis), 0);
    EXPECT_NE(CompareNoCase("xTamsel.dat", "Tamsel.dat", kShiftJis), 0);
    // "ソ" (0x83 0x5C) and "ア" written with a trail byte that is an upper-case letter ("\x83\x41")
    // against its lower-case twin: trail bytes are never folded under 932, are under 1252.
    EXPECT_NE(CompareNoCase("\x83\x41", "\x83\x61", kShiftJis), 0);
    EXPECT_EQ(CompareNoCase("\x83\x41", "\x83\x61", kSingleByte), 0);
}

TEST(Text, FindBackslashSkipsTrailBytes)
{
    const std::string element = "USB" + kSo + "x";
    EXPECT_EQ(FindBackslash(element + "\\y", kShiftJis), element.size());
    EXPECT_EQ(FindBackslash(element, kShiftJis), std::string::npos);
    EXPECT_EQ(FindBackslash(element, kSingleByte), 4u);
}

TEST(Text, FormatTextHasNoLengthLimit)
{
    const std::string longArgument(5000, 'x');
    EXPECT_EQ(FormatText("[%s]", longArgument.c_str()), "[" + longArgument + "]");
    EXPECT_EQ(FormatText("no conversions"), "no conversions");
    EXPECT_EQ(FormatText("%s", ""), "");
}

TEST(Text, ReleaseBufferStopsAtFirstZeroOrBufferEnd)
{
    std::string text = "old";
    char* buffer = GetBuffer(text, 8);
    memcpy(buffer, "ab\0cdefg", 8);
    ReleaseBuffer(text);
    EXPECT_EQ(text, "ab");

    buffer = GetBuffer(text, 4);
    memcpy(buffer, "wxyz", 4);  // no zero inside the buffer
    ReleaseBuffer(text);
    EXPECT_EQ(text, "wxyz");
}

} // namespace
