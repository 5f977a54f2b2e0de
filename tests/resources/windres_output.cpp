// The .res reader: records of a header (data size, header size, type and name
// as ordinal or UTF-16 text, then version, flags, language, version and
// characteristics) and the data, each aligned on four bytes.
#include "tests/resources/windres_output.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/process.h"

namespace rctest {
namespace {

struct Bytes {
  std::vector<unsigned char> b;
  unsigned Word(std::size_t at) const { return b[at] | (b[at + 1] << 8); }
  unsigned Dword(std::size_t at) const { return Word(at) | (Word(at + 2) << 16); }
  // An ordinal or a text at *at, moving past it.
  orv::rc::ResourceId Id(std::size_t* at) const {
    orv::rc::ResourceId id;
    if (Word(*at) == 0xFFFF) {
      id.number = Word(*at + 2);
      *at += 4;
      return id;
    }
    for (unsigned c = Word(*at); c != 0; c = Word(*at)) {
      id.text += static_cast<char>(c);
      *at += 2;
    }
    *at += 2;
    return id;
  }
};

}  // namespace

std::string WindresProgram() {
  for (const char* dir : {"/usr/bin", "/usr/local/bin"}) {
    std::string path = std::string(dir) + "/x86_64-w64-mingw32-windres";
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return "";
}

bool CompileWithWindres(const std::string& script, const std::vector<std::string>& includeDirs,
                        std::vector<orv::rc::Resource>* out, std::string* error) {
  orv::test::TempHome scratch;
  const std::string res = scratch.path() + "/out.res";
  std::vector<std::string> argv{WindresProgram(), script, "-O", "res", "-o", res};
  for (const std::string& dir : includeDirs) argv.push_back("--include-dir=" + dir);
  auto run = orv::test::Run(argv);
  if (run.exitCode != 0) {
    *error = run.err;
    return false;
  }
  std::ifstream in(res, std::ios::binary);
  Bytes d{std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
  out->clear();
  for (std::size_t at = 0; at + 32 <= d.b.size();) {
    const std::size_t dataSize = d.Dword(at), headerSize = d.Dword(at + 4);
    std::size_t field = at + 8;
    orv::rc::Resource r;
    r.type = d.Id(&field);
    r.name = d.Id(&field);
    field = (field + 3) & ~std::size_t(3);
    r.language = d.Word(field + 6);
    r.data.assign(d.b.begin() + static_cast<long>(at + headerSize),
                  d.b.begin() + static_cast<long>(at + headerSize + dataSize));
    if (!(r.type.number == 0 && !r.type.IsText())) out->push_back(std::move(r));  // the empty first record
    at = (at + headerSize + dataSize + 3) & ~std::size_t(3);
  }
  return true;
}

}  // namespace rctest
