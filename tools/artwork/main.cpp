// orv-artwork <Image folder> [<resource folder>]: writes every picture the OSD
// loads, named by the OSD's own picture tables, into the Image folder, and the
// HDD dialog's bitmaps and button faces, which the tray's resource script
// takes in, into the resource folder.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <fstream>

#include "platform/gfx/sim/png.h"
#include "tools/artwork/hdd_pictures.h"
#include "tools/artwork/pictures.h"
#include "tray/osd/osd_kind.h"
#include "tray/osd/osd_pictures.h"

namespace {

using orv::artwork::Symbol;
namespace fs = std::filesystem;

struct Writer {
  fs::path root;
  std::set<std::string> written;
  int failures = 0;

  void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
    fs::path path = root / name;
    std::error_code ec;
    fs::create_directories(root, ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "orv-artwork: cannot write %s\n", path.string().c_str());
      ++failures;
      return;
    }
    written.insert(name);
  }

  void Write(const std::string& relative, const orv::gfx::Surface& picture) {
    if (!written.insert(relative).second) return;
    std::string local = relative;
    for (char& c : local)
      if (c == '\\') c = '/';
    fs::path path = root / local;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (orv::gfx::SavePngFile(path.string(), picture) != orv::gfx::Ok) {
      std::fprintf(stderr, "orv-artwork: cannot write %s\n", path.string().c_str());
      ++failures;
    }
  }
};

Symbol IconSymbol(int image) {
  static const Symbol kByPair[] = {Symbol::Wireless, Symbol::Bluetooth, Symbol::TouchPad,
                                   Symbol::WebCam,   Symbol::Turbo,     Symbol::Eco,
                                   Symbol::Eco,      Symbol::ThreeG,    Symbol::Hdd};
  return kByPair[(image - 1) / 2];
}

struct CenterContent {
  Symbol symbol;
  bool enabled;
  const char* name;
};

CenterContent Center(int image) {
  switch (image) {
    case 0: return {Symbol::Eco, true, "GAMING"};
    case 1: return {Symbol::Eco, true, "MOVIE"};
    case 2: return {Symbol::Eco, true, "PRESENTATION"};
    case 3: return {Symbol::Eco, true, "OFFICE"};
    case 4: return {Symbol::Eco, true, "TURBO BATTERY"};
    case 5: return {Symbol::Eco, false, "ECO OFF"};
    case 7: return {Symbol::Turbo, true, "TURBO ON"};
    case 8: return {Symbol::Turbo, false, "TURBO OFF"};
    case 9: return {Symbol::Theater, true, "THEATER ON"};
    default: return {Symbol::Theater, false, "THEATER OFF"};
  }
}

}  // namespace

// The HDD dialog's resources, under the names tray/resources/Calvex.rc gives them.
int WriteHddResources(const char* folder) {
  namespace art = orv::artwork;
  Writer out{folder, {}, 0};
  out.WriteBytes("HddDialogTw.bmp", art::EncodeBmp24(art::HddBackground(true)));
  out.WriteBytes("HddDialogEn.bmp", art::EncodeBmp24(art::HddBackground(false)));
  out.Write("HddYesEn.png", art::HddFace(true, false));
  out.Write("HddNoTw.png", art::HddFace(false, true));
  out.Write("HddNoEn.png", art::HddFace(false, false));
  out.Write("HddYesTw.png", art::HddFace(true, true));
  std::printf("orv-artwork: %zu HDD dialog pictures in %s\n", out.written.size() - out.failures, folder);
  return out.failures;
}

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: orv-artwork <Image folder> [<resource folder>]\n");
    return 2;
  }
  const int resourceFailures = argc == 3 ? WriteHddResources(argv[2]) : 0;
  Writer out{argv[1], {}, 0};
  for (int image = 0; image <= 64; ++image) {
    if (const char* name = OsdIconPictureName(image))
      out.Write(name, orv::artwork::DeviceIcon(IconSymbol(image), image % 2 == 1));
    if (const char* name = OsdCenterPictureName(image)) {
      CenterContent c = Center(image);
      out.Write(name, orv::artwork::CenterPicture(c.symbol, c.enabled, c.name));
    }
  }
  for (int level = 0; level <= 100; ++level) {
    std::string volume = OsdLevelPictureName(kPictureSetVolume, level);
    if (!out.written.count(volume)) out.Write(volume, orv::artwork::VolumePicture(level / 2, false));
    std::string muted = OsdLevelPictureName(kPictureSetMutedVolume, level);
    if (!out.written.count(muted)) out.Write(muted, orv::artwork::VolumePicture(level / 2, true));
    std::string bright = OsdLevelPictureName(kPictureSetBrightness, level);
    if (!bright.empty()) out.Write(bright, orv::artwork::BrightnessPicture(level));
  }
  for (int set : {kPictureSetBrightness, kPictureSetMutedVolume, kPictureSetVolume}) {
    OsdBarPictureNames names;
    if (!OsdBarPictureNamesFor(set, &names)) continue;
    out.Write(names.main, orv::artwork::BarBackground());
    out.Write(names.down, orv::artwork::BarFilled());
    out.Write(names.cap, orv::artwork::BarCap());
    Symbol icon = set == kPictureSetBrightness ? Symbol::Sun
                  : set == kPictureSetMutedVolume ? Symbol::SpeakerMuted
                                                  : Symbol::Speaker;
    out.Write(names.icon, orv::artwork::BarIcon(icon));
  }
  std::printf("orv-artwork: %zu pictures in %s\n", out.written.size() - out.failures, argv[1]);
  return out.failures || resourceFailures ? 1 : 0;
}
