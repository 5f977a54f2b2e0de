// MultiByteToWideChar and WideCharToMultiByte: the buffer-size protocol, malformed
// and unmappable text with and without the strict flags, and the argument checks.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// "aé€😀": one-, two-, three- and four-byte characters (the last a surrogate pair).
const char kNarrow[] = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
const WCHAR kWide[] = {u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 0};

int Narrow(UINT cp, DWORD flags, const WCHAR* wide, int count, char* out, int size, const char* defaultChar = nullptr,
           BOOL* usedDefault = nullptr) {
  return WideCharToMultiByte(cp, flags, wide, count, out, size, defaultChar, usedDefault);
}

TEST(MultiByteToWideChar, SizesAndTheTerminator) {
  // A negative count takes the terminator along, and the size asked for counts it.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, kNarrow, -1, nullptr, 0), 6);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kNarrow, -1, nullptr, 0), 6);
  WCHAR out[8];
  std::fill(std::begin(out), std::end(out), WCHAR(0x5A5A));
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, kNarrow, -1, out, 6), 6);
  EXPECT_EQ(std::u16string(out, 6), std::u16string(kWide, 6));
  EXPECT_EQ(out[6], 0x5A5A);  // nothing past what was asked for
  // A count of bytes converts exactly those, without a terminator.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, kNarrow, 3, out, 8), 2);
  EXPECT_EQ(out[1], 0x00E9);
  // One character too few: nothing, and the reason.
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, kNarrow, -1, out, 5), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(MultiByteToWideChar, MalformedTextAndArguments) {
  const char bad[] = "a\xC3z\xFF";
  WCHAR out[8];
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, bad, -1, out, 8), 5);
  EXPECT_EQ(std::u16string(out, 4), (std::u16string{u'a', 0xFFFD, u'z', 0xFFFD}));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad, -1, out, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, "ok", -1, out, 8), 3);

  auto fails = [&](UINT cp, DWORD flags, const char* in, int count, WCHAR* buffer, int size) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(cp, flags, in, count, buffer, size), 0);
    return GetLastError();
  };
  const auto invalid = static_cast<DWORD>(ERROR_INVALID_PARAMETER);
  EXPECT_EQ(fails(CP_ACP, 0, nullptr, -1, out, 8), invalid);
  EXPECT_EQ(fails(CP_ACP, 0, "x", 0, out, 8), invalid);
  EXPECT_EQ(fails(CP_ACP, 0, "x", -1, nullptr, 8), invalid);
  EXPECT_EQ(fails(CP_ACP, 0, "x", -1, out, -1), invalid);
  EXPECT_EQ(fails(54321, 0, "x", -1, out, 8), invalid);  // no such code page
  EXPECT_EQ(fails(CP_UTF8, MB_PRECOMPOSED, "x", -1, out, 8), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(fails(CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "x", -1, out, 8), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST(WideCharToMultiByte, SizesAndTheTerminator) {
  EXPECT_EQ(Narrow(CP_ACP, 0, kWide, -1, nullptr, 0), 11);
  char out[16];
  std::fill(std::begin(out), std::end(out), 'Z');
  ASSERT_EQ(Narrow(CP_UTF8, 0, kWide, -1, out, 11), 11);
  EXPECT_STREQ(out, kNarrow);
  EXPECT_EQ(out[11], 'Z');
  EXPECT_EQ(Narrow(CP_ACP, 0, kWide, 2, out, 16), 3);  // "a" and the two bytes of "é"
  SetLastError(0);
  EXPECT_EQ(Narrow(CP_ACP, 0, kWide, -1, out, 10), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WideCharToMultiByte, CharactersWithoutANarrowForm) {
  const WCHAR lone[] = {u'x', 0xD800, u'y', 0};  // a surrogate without its partner
  char out[16];
  BOOL used = FALSE;
  // The ANSI code page has no form for it: the default character stands in and says so.
  ASSERT_EQ(Narrow(CP_ACP, 0, lone, -1, out, 16, nullptr, &used), 4);
  EXPECT_STREQ(out, "x?y");
  EXPECT_TRUE(used);
  ASSERT_EQ(Narrow(CP_ACP, 0, lone, -1, out, 16, "#", &used), 4);
  EXPECT_STREQ(out, "x#y");
  ASSERT_EQ(Narrow(CP_ACP, 0, kWide, -1, out, 16, nullptr, &used), 11);
  EXPECT_FALSE(used);
  // UTF-8 writes the replacement character, or fails when asked to be strict.
  ASSERT_EQ(Narrow(CP_UTF8, 0, lone, -1, out, 16), 6);
  EXPECT_STREQ(out, "x\xEF\xBF\xBDy");
  SetLastError(0);
  EXPECT_EQ(Narrow(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, out, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  // UTF-8 takes no default character, and only UTF-8 takes the strict flag.
  SetLastError(0);
  EXPECT_EQ(Narrow(CP_UTF8, 0, lone, -1, out, 16, "#", nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(Narrow(CP_ACP, WC_ERR_INVALID_CHARS, lone, -1, out, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
