// MultiByteToWideChar and WideCharToMultiByte: argument checks and buffer sizes as
// Windows has them, on the UTF-8 conversion of this machine's ANSI code page.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "platform/text/sim/ansi.h"

namespace {

bool AnsiCodePage(UINT cp) { return cp == CP_ACP || cp == CP_OEMCP || cp == CP_THREAD_ACP; }

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// Hands out converted text: the size it needs when capacity is 0, else the text
// itself when it fits.
template <class C>
int Deliver(const std::basic_string<C>& text, C* out, int capacity) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return Fail(ERROR_INVALID_PARAMETER);
  int n = static_cast<int>(text.size());
  if (capacity == 0) return n;
  if (n > capacity) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::copy(text.begin(), text.end(), out);
  return n;
}

// A negative count means up to and with the terminating NUL.
template <class C>
std::size_t InputLength(const C* s, int count) {
  return count < 0 ? std::char_traits<C>::length(s) + 1 : static_cast<std::size_t>(count);
}

}  // namespace

extern "C" int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar) {
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);
  if (CodePage == CP_UTF8) {
    if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  } else if (AnsiCodePage(CodePage)) {
    const DWORD known = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((dwFlags & ~known) || ((dwFlags & MB_PRECOMPOSED) && (dwFlags & MB_COMPOSITE)))
      return Fail(ERROR_INVALID_FLAGS);
  } else {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  bool malformed = false;
  std::u16string wide = orv::text::DecodeUtf8(lpMultiByteStr, InputLength(lpMultiByteStr, cbMultiByte), &malformed);
  if (malformed && (dwFlags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(wide, lpWideCharStr, cchWideChar);
}

extern "C" int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar) {
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr) ||
      static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr))
    return Fail(ERROR_INVALID_PARAMETER);
  std::string replacement;
  if (CodePage == CP_UTF8) {
    if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
    if (lpDefaultChar || lpUsedDefaultChar) return Fail(ERROR_INVALID_PARAMETER);
    replacement = "\xEF\xBF\xBD";  // U+FFFD
  } else if (AnsiCodePage(CodePage)) {
    const DWORD known = WC_COMPOSITECHECK | WC_DEFAULTCHAR | WC_DISCARDNS | WC_SEPCHARS | WC_NO_BEST_FIT_CHARS;
    if (dwFlags & ~known) return Fail(ERROR_INVALID_FLAGS);
    replacement = lpDefaultChar && *lpDefaultChar ? std::string(1, *lpDefaultChar) : std::string("?");
  } else {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  bool unmapped = false;
  std::string narrow =
      orv::text::EncodeUtf8(lpWideCharStr, InputLength(lpWideCharStr, cchWideChar), replacement, &unmapped);
  if (unmapped && (dwFlags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  if (lpUsedDefaultChar) *lpUsedDefaultChar = unmapped ? TRUE : FALSE;
  return Deliver(narrow, lpMultiByteStr, cbMultiByte);
}
