// The statement parser of the resource compiler.
#include "tools/orv-rc/rc_compiler.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/orv-rc/rc_binary.h"
#include "tools/orv-rc/rc_expr.h"
#include "tools/orv-rc/rc_lexer.h"

namespace orv::rc {
namespace {

constexpr std::uint32_t kChildVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr unsigned kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A control statement's class, the style it has without a style argument, and
// the style a style argument is added to (before WS_CHILD | WS_VISIBLE).
struct ControlKind {
  const char* keyword;
  unsigned windowClass;
  std::uint32_t defaultStyle;
  std::uint32_t baseStyle;
  bool hasText;
};

const ControlKind kControlKinds[] = {
    {"LTEXT", kStatic, 0x00020000, 0x0, true},        // SS_LEFT | WS_GROUP
    {"CTEXT", kStatic, 0x00020001, 0x1, true},        // SS_CENTER | WS_GROUP
    {"RTEXT", kStatic, 0x00020002, 0x2, true},        // SS_RIGHT | WS_GROUP
    {"PUSHBUTTON", kButton, 0x00010000, 0x00010000, true},     // BS_PUSHBUTTON | WS_TABSTOP
    {"DEFPUSHBUTTON", kButton, 0x00010001, 0x00010001, true},  // BS_DEFPUSHBUTTON | WS_TABSTOP
    {"EDITTEXT", kEdit, 0x00810000, 0x00810000, false},        // ES_LEFT | WS_BORDER | WS_TABSTOP
    {"GROUPBOX", kButton, 0x7, 0x7, true},                     // BS_GROUPBOX
    {"CHECKBOX", kButton, 0x00010002, 0x2, true},              // BS_CHECKBOX | WS_TABSTOP
    {"AUTOCHECKBOX", kButton, 0x00010003, 0x3, true},          // BS_AUTOCHECKBOX | WS_TABSTOP
    {"RADIOBUTTON", kButton, 0x00010004, 0x4, true},           // BS_RADIOBUTTON | WS_TABSTOP
    {"AUTORADIOBUTTON", kButton, 0x00010009, 0x9, true},       // BS_AUTORADIOBUTTON | WS_TABSTOP
};

const std::set<std::string> kMemoryOptions = {"MOVEABLE", "FIXED", "PURE", "IMPURE", "PRELOAD", "LOADONCALL",
                                              "DISCARDABLE"};

class Compiler {
 public:
  Compiler(const std::string& path, const std::vector<std::string>& includeDirs, Compiled* out, std::string* error)
      : path_(path), includeDirs_(includeDirs), out_(out), error_(error) {}

  bool Run() {
    if (!ReadSource(path_, includeDirs_, &source_, error_)) return false;
    out_->dependencies = source_.includedFiles;
    expr_ = std::make_unique<Expressions>(source_.defines);
    while (Peek().kind != Token::End)
      if (!Statement()) return false;
    return true;
  }

 private:
  const Token& Peek(std::size_t ahead = 0) const { return source_.tokens[std::min(at_ + ahead, source_.tokens.size() - 1)]; }
  const Token& Next() { return source_.tokens[std::min(at_++, source_.tokens.size() - 1)]; }
  bool IsWord(const Token& t, const char* w) const { return t.kind == Token::Word && t.text == w; }
  bool IsPunct(const Token& t, const char* p) const { return t.kind == Token::Punct && t.text == p; }

  bool Fail(const Token& t, const std::string& message) {
    *error_ = t.where + ": " + message;
    return false;
  }
  bool Number(long long* v) { return expr_->Evaluate(source_.tokens, &at_, v, error_); }
  bool Comma() { return IsPunct(Next(), ",") || Fail(source_.tokens[at_ - 1], "',' expected"); }
  bool CommaNumber(long long* v) { return Comma() && Number(v); }
  // An optional ", number" (a missing one leaves *v).
  bool OptionalNumber(long long* v) {
    if (!IsPunct(Peek(), ",")) return true;
    ++at_;
    return Number(v);
  }
  bool Text(std::string* s) {
    const Token& t = Next();
    if (t.kind != Token::String) return Fail(t, "a quoted text was expected");
    *s = t.text;
    return true;
  }

  // A resource's name or type: a number (or a name #defined as one) or a text.
  bool Id(ResourceId* id) {
    const Token& t = Peek();
    long long v = 0;
    if (t.kind == Token::String || (t.kind == Token::Word && !expr_->Lookup(t.text, &v))) {
      id->text = Upper(Next().text);
      return true;
    }
    if (!Number(&v)) return false;
    id->number = static_cast<unsigned>(v) & 0xFFFF;
    return true;
  }

  bool Statement() {
    if (IsWord(Peek(), "LANGUAGE")) {
      ++at_;
      return Language(&language_);
    }
    ResourceId name, type;
    if (!Id(&name)) return false;
    const Token& typeToken = Peek();
    if (IsWord(typeToken, "DIALOGEX")) {
      ++at_;
      return DialogEx(name);
    }
    if (IsWord(typeToken, "DIALOG")) return Fail(typeToken, "DIALOG is not supported: write DIALOGEX");
    if (IsWord(typeToken, "ICON")) {
      ++at_;
      return Icon(name);
    }
    if (IsWord(typeToken, "BITMAP")) {
      ++at_;
      type.number = 2;
    } else if (IsWord(typeToken, "RCDATA")) {
      ++at_;
      type.number = 10;
    } else if (!Id(&type)) {
      return false;
    }
    std::vector<unsigned char> bytes;
    if (!FileOperand(&bytes)) return false;
    if (type == ResourceId{2, ""}) {  // a bitmap's resource leaves out the file header
      if (bytes.size() < 14) return Fail(typeToken, "not a bitmap file");
      bytes.erase(bytes.begin(), bytes.begin() + 14);
    }
    Add(type, name, std::move(bytes));
    return true;
  }

  bool Language(unsigned* language) {
    long long primary = 0, sub = 0;
    if (!Number(&primary) || !CommaNumber(&sub)) return false;
    *language = static_cast<unsigned>((sub << 10) | primary);
    return true;
  }

  void SkipMemoryOptions() {
    while (Peek().kind == Token::Word && kMemoryOptions.count(Peek().text)) ++at_;
  }

  bool FileOperand(std::vector<unsigned char>* bytes) {
    SkipMemoryOptions();
    const Token& t = Peek();
    std::string file;
    if (!Text(&file)) return false;
    std::string found = FindFile(file, std::filesystem::path(path_).parent_path().string(), includeDirs_);
    std::ifstream in(found, std::ios::binary);
    if (found.empty() || !in) return Fail(t, file + " not found");
    out_->dependencies.push_back(found);
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }

  void Add(ResourceId type, ResourceId name, std::vector<unsigned char> bytes, unsigned language = 0) {
    out_->resources.push_back(Resource{std::move(type), std::move(name), language ? language : language_, std::move(bytes)});
  }

  bool Icon(const ResourceId& name) {
    const Token& t = Peek();
    std::vector<unsigned char> file, group;
    std::vector<std::vector<unsigned char>> images;
    if (!FileOperand(&file)) return false;
    unsigned first = nextIconId_;
    if (!SplitIconFile(file, &nextIconId_, &images, &group)) return Fail(t, "not an icon file");
    for (auto& image : images) Add(ResourceId{3, ""}, ResourceId{first++, ""}, std::move(image));
    Add(ResourceId{14, ""}, name, std::move(group));
    return true;
  }

  // name DIALOGEX x, y, cx, cy [, helpId], its options, then BEGIN controls END.
  bool DialogEx(const ResourceId& name) {
    SkipMemoryOptions();
    Dialog d;
    long long x, y, cx, cy, help = 0;
    if (!Number(&x) || !CommaNumber(&y) || !CommaNumber(&cx) || !CommaNumber(&cy) || !OptionalNumber(&help))
      return false;
    d.x = static_cast<int>(x), d.y = static_cast<int>(y), d.cx = static_cast<int>(cx), d.cy = static_cast<int>(cy);
    d.helpId = static_cast<std::uint32_t>(help);
    d.style = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU without a STYLE
    std::uint32_t added = 0;  // what CAPTION and FONT add, kept by a later STYLE
    unsigned language = 0;
    while (!IsWord(Peek(), "BEGIN") && !IsPunct(Peek(), "{")) {
      const Token& option = Next();
      long long v = 0;
      if (IsWord(option, "STYLE")) {
        if (!StyleExpression(added, &v)) return false;
        d.style = static_cast<std::uint32_t>(v);
      } else if (IsWord(option, "EXSTYLE")) {
        if (!Number(&v)) return false;
        d.exStyle = static_cast<std::uint32_t>(v);
      } else if (IsWord(option, "CAPTION")) {
        if (!Text(&d.caption)) return false;
        d.style |= 0x00C00000;  // WS_CAPTION
        added |= 0x00C00000;
      } else if (IsWord(option, "FONT")) {
        long long points = 0, weight = 0, italic = 0, charset = 1;
        if (!Number(&points) || !Comma() || !Text(&d.typeface) || !OptionalNumber(&weight) ||
            !OptionalNumber(&italic) || !OptionalNumber(&charset))
          return false;
        d.pointSize = static_cast<int>(points), d.weight = static_cast<int>(weight);
        d.italic = static_cast<int>(italic), d.charset = static_cast<int>(charset);
        d.style |= 0x40;  // DS_SETFONT
        added |= 0x40;
      } else if (IsWord(option, "CLASS")) {
        if (!Id(&d.windowClass)) return false;
      } else if (IsWord(option, "MENU")) {
        if (!Id(&d.menu)) return false;
      } else if (IsWord(option, "LANGUAGE")) {
        if (!Language(&language)) return false;
      } else if (IsWord(option, "CHARACTERISTICS") || IsWord(option, "VERSION")) {
        if (!Number(&v)) return false;
      } else {
        return Fail(option, "unknown dialog option '" + option.text + "'");
      }
    }
    ++at_;
    while (!IsWord(Peek(), "END") && !IsPunct(Peek(), "}")) {
      if (Peek().kind == Token::End) return Fail(Peek(), "END of the dialog missing");
      DialogControl c;
      if (!Control(&c)) return false;
      d.controls.push_back(std::move(c));
    }
    ++at_;
    Add(ResourceId{5, ""}, name, DialogTemplateBytes(d), language);
    return true;
  }

  bool Rectangle(DialogControl* c) {
    long long x, y, cx, cy;
    if (!CommaNumber(&x) || !CommaNumber(&y) || !CommaNumber(&cx) || !CommaNumber(&cy)) return false;
    c->x = static_cast<int>(x), c->y = static_cast<int>(y), c->cx = static_cast<int>(cx), c->cy = static_cast<int>(cy);
    return true;
  }

  bool Control(DialogControl* c) {
    const Token& keyword = Next();
    if (keyword.kind != Token::Word) return Fail(keyword, "a control statement was expected");
    long long id = 0;
    if (keyword.text == "CONTROL") {
      long long style = 0, ex = 0, help = 0;
      if (!ControlText(c) || !Number(&id) || !Comma() || !Id(&c->windowClass) || !Comma()) return false;
      if (!StyleExpression(kChildVisible, &style) || !Rectangle(c) || !OptionalNumber(&ex) ||
          !OptionalNumber(&help))
        return false;
      c->style = static_cast<std::uint32_t>(style);
      c->exStyle = static_cast<std::uint32_t>(ex);
      c->helpId = static_cast<std::uint32_t>(help);
      c->id = static_cast<std::uint32_t>(id);
      return true;
    }
    if (keyword.text == "ICON") {
      // ICON resource, id, x, y [, cx, cy [, style [, exstyle]]]; windres writes no size.
      long long x, y, cx = 0, cy = 0, style = 0, ex = 0;
      if (!Id(&c->title) || !CommaNumber(&id) || !CommaNumber(&x) || !CommaNumber(&y) || !OptionalNumber(&cx) ||
          !OptionalNumber(&cy) || !OptionalNumber(&style) || !OptionalNumber(&ex))
        return false;
      c->titleIsOrdinal = !c->title.IsText();
      c->windowClass.number = kStatic;
      c->style = kChildVisible | 0x3 | static_cast<std::uint32_t>(style);  // SS_ICON
      c->exStyle = static_cast<std::uint32_t>(ex);
      c->x = static_cast<int>(x), c->y = static_cast<int>(y);
      c->id = static_cast<std::uint32_t>(id);
      return true;
    }
    for (const ControlKind& kind : kControlKinds) {
      if (keyword.text != kind.keyword) continue;
      if (kind.hasText && !ControlText(c)) return false;
      if (!Number(&id)) return false;
      c->id = static_cast<std::uint32_t>(id);
      c->windowClass.number = kind.windowClass;
      return Rectangle(c) && ControlStyles(c, kind);
    }
    return Fail(keyword, "unknown control '" + keyword.text + "'");
  }

  // A control's text (a quoted text or a number) and its comma.
  bool ControlText(DialogControl* c) {
    if (Peek().kind == Token::String) {
      c->title.text = Next().text;
    } else {
      long long v = 0;
      if (!Number(&v)) return false;
      c->title.number = static_cast<unsigned>(v) & 0xFFFF;
      c->titleIsOrdinal = true;
    }
    return Comma();
  }

  bool ControlStyles(DialogControl* c, const ControlKind& kind) {
    c->style = kChildVisible | kind.defaultStyle;
    if (!IsPunct(Peek(), ",")) return true;
    ++at_;
    long long style = 0, ex = 0, help = 0;
    if (!StyleExpression(kChildVisible | kind.baseStyle, &style) || !OptionalNumber(&ex) ||
        !OptionalNumber(&help))
      return false;
    c->style = static_cast<std::uint32_t>(style);
    c->exStyle = static_cast<std::uint32_t>(ex);
    c->helpId = static_cast<std::uint32_t>(help);
    return true;
  }

  // A style expression as windres reads one: each "| x" adds to the default
  // given, each "| NOT x" (or a leading "NOT x") takes x's bits away.
  bool StyleExpression(long long base, long long* style) {
    *style = base;
    for (bool first = true;; first = false) {
      if (!first) {
        if (!IsPunct(Peek(), "|")) return true;
        ++at_;
      }
      bool remove = IsWord(Peek(), "NOT");
      if (remove) ++at_;
      long long v = 0;
      if (!Term(&v)) return false;
      *style = remove ? (*style & ~v) : (*style | v);
    }
  }

  // One term of a style expression: a number, a name or a parenthesised expression.
  bool Term(long long* v) {
    const Token& t = Peek();
    if (IsPunct(t, "(")) return Number(v);
    if (t.kind == Token::Number) {
      *v = Next().value;
      return true;
    }
    if (t.kind == Token::Word && expr_->Lookup(t.text, v)) {
      ++at_;
      return true;
    }
    return Fail(t, "a style was expected, not '" + t.text + "'");
  }

  std::string path_;
  const std::vector<std::string>& includeDirs_;
  Compiled* out_;
  std::string* error_;
  Source source_;
  std::unique_ptr<Expressions> expr_;
  std::size_t at_ = 0;
  unsigned language_ = 0x0409;
  unsigned nextIconId_ = 1;
};

}  // namespace

bool CompileScript(const std::string& path, const std::vector<std::string>& includeDirs, Compiled* out,
                   std::string* error) {
  *out = Compiled{};
  Compiler compiler(path, includeDirs, out, error);
  return compiler.Run();
}

}  // namespace orv::rc
