// Window classes and the life of windows: registering, finding a class by name
// or atom, creation messages and refusal, child and owned windows going with
// their parent or owner (in Windows' message order), child rectangles,
// subclassing through GWLP_WNDPROC, text through WM_SETTEXT, focus and enabling.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

// Records "<message> <title>" for the messages of a window's life.
LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  char title[32] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  const char* name = message == WM_NCCREATE    ? "nccreate"
                     : message == WM_CREATE    ? "create"
                     : message == WM_DESTROY   ? "destroy"
                     : message == WM_NCDESTROY ? "ncdestroy"
                     : message == WM_SETFOCUS  ? "setfocus"
                     : message == WM_KILLFOCUS ? "killfocus"
                     : message == WM_ENABLE    ? "enable"
                                               : nullptr;
  if (name) g_log.push_back(std::string(name) + " " + title);
  if (message == WM_NCCREATE && std::string(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpszName) == "refused")
    return FALSE;
  if (message == WM_CREATE && std::string(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpszName) == "failed") return -1;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

ATOM RegisterLogging(const char* name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = LoggingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc);
}

HWND Make(const char* cls, const char* title, DWORD style = WS_POPUP, HWND parent = nullptr, int id = 0,
          RECT r = RECT{0, 0, 10, 10}) {
  return CreateWindowExA(0, cls, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowClasses, AreFoundByNameOrAtomWithinTheirModuleAndGoOnlyWhenUnused) {
  ATOM atom = RegisterLogging("Classy");
  ASSERT_NE(atom, 0);
  EXPECT_EQ(RegisterLogging("CLASSY"), 0) << "class names are compared without regard to case";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

  HWND byName = Make("classy", "one");
  HWND byAtom = CreateWindowExA(0, MAKEINTATOM(atom), "two", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(byName, nullptr);
  ASSERT_NE(byAtom, nullptr);
  char name[16] = {};
  EXPECT_EQ(GetClassNameA(byAtom, name, sizeof name), 6);
  EXPECT_STREQ(name, "Classy");
  // Another module does not see the class; an unknown class is refused.
  EXPECT_EQ(CreateWindowExA(0, "Classy", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "CLASSY", &info));
  EXPECT_EQ(info.lpfnWndProc, &LoggingProc);

  EXPECT_FALSE(UnregisterClassA("Classy", GetModuleHandleA(nullptr)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(byName);
  DestroyWindow(byAtom);
  EXPECT_TRUE(UnregisterClassA("Classy", GetModuleHandleA(nullptr)));
  EXPECT_FALSE(UnregisterClassA("Classy", GetModuleHandleA(nullptr)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
  // The system's classes are there for everyone.
  EXPECT_TRUE(GetClassInfoExA(nullptr, "#32770", &info));
  EXPECT_TRUE(GetClassInfoExA(nullptr, "Button", &info));
}

TEST(Windows, CreationCanBeRefusedAndChildrenAndOwnedWindowsGoWithTheirParent) {
  RegisterLogging("Family");
  g_log.clear();
  EXPECT_EQ(Make("Family", "refused"), nullptr);
  EXPECT_EQ(Make("Family", "failed"), nullptr);
  EXPECT_EQ(Make("Family", "orphan", WS_CHILD), nullptr) << "a child needs a parent";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(g_log, (std::vector<std::string>{"nccreate refused", "nccreate failed", "create failed",
                                             "destroy failed", "ncdestroy failed"}));

  HWND parent = Make("Family", "parent", WS_POPUP, nullptr, 0, RECT{100, 50, 300, 250});
  HWND child = Make("Family", "child", WS_CHILD, parent, 7, RECT{10, 20, 40, 60});
  HWND grandchild = Make("Family", "grandchild", WS_CHILD, child, 8, RECT{1, 1, 5, 5});
  HWND owned = Make("Family", "owned", WS_POPUP, parent);
  ASSERT_TRUE(child && grandchild && owned);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetParent(owned), parent) << "a popup's parent is its owner";
  EXPECT_TRUE(IsChild(parent, grandchild));
  EXPECT_FALSE(IsChild(parent, owned));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(parent, 7), child);
  // A child's rectangle is given in its parent's client area; GetWindowRect answers in the screen's.
  RECT r{};
  GetWindowRect(grandchild, &r);
  EXPECT_EQ(r.left, 100 + 10 + 1);
  EXPECT_EQ(r.top, 50 + 20 + 1);
  int topLevel = 0;
  EnumWindows([](HWND hwnd, LPARAM count) -> BOOL {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "Family") ++*reinterpret_cast<int*>(count);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&topLevel));
  EXPECT_EQ(topLevel, 2) << "children are not top-level windows";

  g_log.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy owned", "ncdestroy owned", "destroy parent", "destroy child",
                                             "destroy grandchild", "ncdestroy grandchild", "ncdestroy child",
                                             "ncdestroy parent"}));
  for (HWND h : {parent, child, grandchild, owned}) EXPECT_FALSE(IsWindow(h));
}

WNDPROC g_original = nullptr;
LRESULT CALLBACK UpperCaseText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && lParam) {
    std::string text = reinterpret_cast<const char*>(lParam);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return CallWindowProcA(g_original, hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
  }
  return CallWindowProcA(g_original, hwnd, message, wParam, lParam);
}

TEST(Windows, SubclassingSeesTheWindowsMessagesAndPassesThemOn) {
  RegisterLogging("Subclassed");
  HWND hwnd = Make("Subclassed", "before");
  g_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UpperCaseText)));
  EXPECT_EQ(g_original, &LoggingProc);
  ASSERT_TRUE(SetWindowTextA(hwnd, "after"));
  char text[16] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "AFTER");
  EXPECT_EQ(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, 12345), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  DestroyWindow(hwnd);
}

TEST(Windows, FocusAndEnablingTellTheWindowsConcerned) {
  RegisterLogging("Focus");
  HWND a = Make("Focus", "a");
  HWND b = Make("Focus", "b");
  g_log.clear();
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_FALSE(EnableWindow(b, FALSE)) << "it was enabled before";
  EXPECT_FALSE(IsWindowEnabled(b));
  EXPECT_TRUE(EnableWindow(b, TRUE)) << "it was disabled before";
  EXPECT_EQ(g_log, (std::vector<std::string>{"setfocus a", "killfocus a", "setfocus b", "enable b", "enable b"}));
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), nullptr) << "the focus went with its window";
  DestroyWindow(a);
}

}  // namespace
