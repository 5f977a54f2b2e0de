// Evaluating numbers and style expressions of a resource script.
#include "tools/orv-rc/rc_expr.h"

#include <windows.h>


namespace orv::rc {
namespace {

#define ORV_RC_CONSTANT(name) {#name, static_cast<long long>(name)}

// The SDK constants resource scripts use (winuser.h, winnt.h under RC_INVOKED).
const std::map<std::string, long long>& Known() {
  static const std::map<std::string, long long> known = {
      ORV_RC_CONSTANT(WS_OVERLAPPED), ORV_RC_CONSTANT(WS_POPUP), ORV_RC_CONSTANT(WS_CHILD),
      ORV_RC_CONSTANT(WS_MINIMIZE), ORV_RC_CONSTANT(WS_VISIBLE), ORV_RC_CONSTANT(WS_DISABLED),
      ORV_RC_CONSTANT(WS_CLIPSIBLINGS), ORV_RC_CONSTANT(WS_CLIPCHILDREN), ORV_RC_CONSTANT(WS_MAXIMIZE),
      ORV_RC_CONSTANT(WS_CAPTION), ORV_RC_CONSTANT(WS_BORDER), ORV_RC_CONSTANT(WS_DLGFRAME),
      ORV_RC_CONSTANT(WS_VSCROLL), ORV_RC_CONSTANT(WS_HSCROLL), ORV_RC_CONSTANT(WS_SYSMENU),
      ORV_RC_CONSTANT(WS_THICKFRAME), ORV_RC_CONSTANT(WS_GROUP), ORV_RC_CONSTANT(WS_TABSTOP),
      ORV_RC_CONSTANT(WS_MINIMIZEBOX), ORV_RC_CONSTANT(WS_MAXIMIZEBOX), ORV_RC_CONSTANT(WS_OVERLAPPEDWINDOW),
      ORV_RC_CONSTANT(WS_EX_DLGMODALFRAME), ORV_RC_CONSTANT(WS_EX_NOPARENTNOTIFY), ORV_RC_CONSTANT(WS_EX_TOPMOST),
      ORV_RC_CONSTANT(WS_EX_ACCEPTFILES), ORV_RC_CONSTANT(WS_EX_TRANSPARENT), ORV_RC_CONSTANT(WS_EX_TOOLWINDOW),
      ORV_RC_CONSTANT(WS_EX_WINDOWEDGE), ORV_RC_CONSTANT(WS_EX_CLIENTEDGE), ORV_RC_CONSTANT(WS_EX_CONTROLPARENT),
      ORV_RC_CONSTANT(WS_EX_STATICEDGE), ORV_RC_CONSTANT(WS_EX_APPWINDOW), ORV_RC_CONSTANT(WS_EX_LAYERED),
      ORV_RC_CONSTANT(WS_EX_NOACTIVATE),
      ORV_RC_CONSTANT(DS_ABSALIGN), ORV_RC_CONSTANT(DS_SYSMODAL), ORV_RC_CONSTANT(DS_3DLOOK),
      ORV_RC_CONSTANT(DS_FIXEDSYS), ORV_RC_CONSTANT(DS_NOFAILCREATE), ORV_RC_CONSTANT(DS_LOCALEDIT),
      ORV_RC_CONSTANT(DS_SETFONT), ORV_RC_CONSTANT(DS_MODALFRAME), ORV_RC_CONSTANT(DS_NOIDLEMSG),
      ORV_RC_CONSTANT(DS_SETFOREGROUND), ORV_RC_CONSTANT(DS_CONTROL), ORV_RC_CONSTANT(DS_CENTER),
      ORV_RC_CONSTANT(DS_CENTERMOUSE), ORV_RC_CONSTANT(DS_CONTEXTHELP), ORV_RC_CONSTANT(DS_SHELLFONT),
      ORV_RC_CONSTANT(BS_PUSHBUTTON), ORV_RC_CONSTANT(BS_DEFPUSHBUTTON), ORV_RC_CONSTANT(BS_CHECKBOX),
      ORV_RC_CONSTANT(BS_AUTOCHECKBOX), ORV_RC_CONSTANT(BS_RADIOBUTTON), ORV_RC_CONSTANT(BS_GROUPBOX),
      ORV_RC_CONSTANT(BS_AUTORADIOBUTTON), ORV_RC_CONSTANT(BS_OWNERDRAW), ORV_RC_CONSTANT(BS_ICON),
      ORV_RC_CONSTANT(BS_BITMAP),
      ORV_RC_CONSTANT(ES_LEFT), ORV_RC_CONSTANT(ES_CENTER), ORV_RC_CONSTANT(ES_RIGHT), ORV_RC_CONSTANT(ES_MULTILINE),
      ORV_RC_CONSTANT(ES_PASSWORD), ORV_RC_CONSTANT(ES_AUTOVSCROLL), ORV_RC_CONSTANT(ES_AUTOHSCROLL),
      ORV_RC_CONSTANT(ES_READONLY), ORV_RC_CONSTANT(ES_NUMBER),
      ORV_RC_CONSTANT(SS_LEFT), ORV_RC_CONSTANT(SS_CENTER), ORV_RC_CONSTANT(SS_RIGHT), ORV_RC_CONSTANT(SS_ICON),
      ORV_RC_CONSTANT(SS_BLACKFRAME), ORV_RC_CONSTANT(SS_NOPREFIX), ORV_RC_CONSTANT(SS_BITMAP), ORV_RC_CONSTANT(SS_NOTIFY),
      ORV_RC_CONSTANT(SS_CENTERIMAGE), ORV_RC_CONSTANT(SS_REALSIZEIMAGE), ORV_RC_CONSTANT(SS_SUNKEN),
      ORV_RC_CONSTANT(IDOK), ORV_RC_CONSTANT(IDCANCEL), ORV_RC_CONSTANT(IDABORT), ORV_RC_CONSTANT(IDRETRY),
      ORV_RC_CONSTANT(IDIGNORE), ORV_RC_CONSTANT(IDYES), ORV_RC_CONSTANT(IDNO), ORV_RC_CONSTANT(IDCLOSE),
      ORV_RC_CONSTANT(IDHELP),
      // Under RC_INVOKED the resource types and the manifest's id are plain numbers.
      {"RT_CURSOR", 1}, {"RT_BITMAP", 2}, {"RT_ICON", 3}, {"RT_MENU", 4}, {"RT_DIALOG", 5}, {"RT_STRING", 6},
      {"RT_RCDATA", 10}, {"RT_GROUP_CURSOR", 12}, {"RT_GROUP_ICON", 14}, {"RT_VERSION", 16}, {"RT_MANIFEST", 24},
      {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1},
      {"LANG_NEUTRAL", 0x00}, {"LANG_CHINESE", 0x04}, {"LANG_GERMAN", 0x07}, {"LANG_ENGLISH", 0x09},
      {"LANG_FRENCH", 0x0c}, {"SUBLANG_NEUTRAL", 0x00}, {"SUBLANG_DEFAULT", 0x01}, {"SUBLANG_ENGLISH_US", 0x01},
      {"SUBLANG_CHINESE_TRADITIONAL", 0x01}, {"SUBLANG_GERMAN", 0x01}, {"SUBLANG_FRENCH", 0x01},
  };
  return known;
}

#undef ORV_RC_CONSTANT

constexpr int kMaxDepth = 32;  // #defines naming #defines, before one is taken to loop

bool IsPunct(const Token& t, const char* p) { return t.kind == Token::Punct && t.text == p; }

}  // namespace

bool Expressions::Name(const std::string& name, long long* v, int depth) const {
  auto it = defines_.find(name);
  if (it != defines_.end()) {
    // The replacement is read as a line of script text of its own.
    std::vector<Token> tokens;
    std::string error;
    std::size_t at = 0;
    if (depth > kMaxDepth || !TokeniseLine(it->second, "#define " + name, &tokens, &error)) return false;
    tokens.push_back(Token{Token::End, "", 0, ""});
    return Binary(tokens, &at, v, &error, depth + 1, 0) && tokens[at].kind == Token::End;
  }
  auto known = Known().find(name);
  if (known == Known().end()) return false;
  *v = known->second;
  return true;
}

bool Expressions::Lookup(const std::string& name, long long* value) const { return Name(name, value, 0); }

bool Expressions::Evaluate(const std::vector<Token>& tokens, std::size_t* at, long long* value,
                           std::string* error) const {
  return Binary(tokens, at, value, error, 0, 0);
}

bool Expressions::Binary(const std::vector<Token>& t, std::size_t* at, long long* v, std::string* error, int depth,
                         int level) const {
  // Loosest first: | (with the script's "| NOT x"), &, then + and -.
  static const char* const kOperators[] = {"|", "&", "+-"};
  constexpr int kLevels = 3;
  if (level == kLevels) return Unary(t, at, v, error, depth);
  if (!Binary(t, at, v, error, depth, level + 1)) return false;
  while (t[*at].kind == Token::Punct && std::string(kOperators[level]).find(t[*at].text) != std::string::npos) {
    const char op = t[(*at)++].text[0];
    const bool remove = op == '|' && t[*at].kind == Token::Word && t[*at].text == "NOT";
    if (remove) ++*at;
    long long r = 0;
    if (!Binary(t, at, &r, error, depth, level + 1)) return false;
    switch (op) {
      case '|': *v = remove ? (*v & ~r) : (*v | r); break;
      case '&': *v &= r; break;
      case '+': *v += r; break;
      default: *v -= r; break;
    }
  }
  return true;
}

bool Expressions::Unary(const std::vector<Token>& t, std::size_t* at, long long* v, std::string* error,
                        int depth) const {
  const Token& token = t[*at];
  if (IsPunct(token, "-") || IsPunct(token, "~") || (token.kind == Token::Word && token.text == "NOT")) {
    ++*at;
    if (!Unary(t, at, v, error, depth)) return false;
    *v = token.text == "-" ? -*v : ~*v;
    return true;
  }
  if (IsPunct(token, "(")) {
    ++*at;
    if (!Binary(t, at, v, error, depth, 0)) return false;
    if (!IsPunct(t[*at], ")")) {
      *error = t[*at].where + ": ')' expected";
      return false;
    }
    ++*at;
    return true;
  }
  if (token.kind == Token::Number) {
    *v = token.value;
    ++*at;
    return true;
  }
  if (token.kind == Token::Word && Name(token.text, v, depth)) {
    ++*at;
    return true;
  }
  *error = token.where + ": a number was expected, not '" + token.text + "'";
  return false;
}

}  // namespace orv::rc
