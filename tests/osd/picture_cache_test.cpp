// The OSD's picture cache: a file is decoded once while it stays the same; a
// file replaced by another (renamed over it), rewritten in place, or written
// so lately that it could still change unseen is read again; missing and
// unreadable files give no picture.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/gfx/sim/png.h"
#include "tests/support/process.h"
#include "tray/osd/osd_picture_cache.h"

namespace {

constexpr const char* kPicture = "C:\\Pictures\\Webcam.png";

struct Pictures {
  explicit Pictures(const std::string& home) : folder(home + "/drive_c/Pictures") {
    std::filesystem::create_directories(folder);
  }
  std::string Host(const char* name) const { return folder + "/" + name; }

  // A 40 x 30 picture of one colour, its times set seconds ago.
  void Write(const std::string& host, std::uint32_t colour, long secondsAgo) const {
    ASSERT_EQ(orv::gfx::SavePngFile(host, orv::gfx::Surface(40, 30, colour)), orv::gfx::Ok);
    Age(host, secondsAgo);
  }
  static void Age(const std::string& host, long secondsAgo) {
    timespec then{std::time(nullptr) - secondsAgo, 0};
    timespec times[2] = {then, then};
    ASSERT_EQ(utimensat(AT_FDCWD, host.c_str(), times, 0), 0);
  }
  std::string folder;
};

// The colour of the picture's middle pixel, as drawn onto a canvas.
std::uint32_t Middle(const std::shared_ptr<Gdiplus::Image>& picture) {
  Gdiplus::Bitmap canvas(static_cast<INT>(picture->GetWidth()), static_cast<INT>(picture->GetHeight()));
  Gdiplus::Graphics(&canvas).DrawImage(picture.get(), 0, 0);
  Gdiplus::Color c;
  canvas.GetPixel(20, 15, &c);
  return c.GetValue();
}

}  // namespace

TEST(OsdPictureCache, DecodesAFileOnceWhileItStaysTheSameAndAgainOnceItIsReplaced) {
  orv::test::TempHome home;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  {
    Pictures files(home.path());
    const std::string host = files.Host("Webcam.png");
    files.Write(host, 0xFFFF0000, 3600);
    auto cache = COsdPictureCache::Shared();
    EXPECT_EQ(COsdPictureCache::Shared(), cache) << "the OSD windows share one cache";

    auto first = cache->Get(kPicture);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetWidth(), 40u);
    EXPECT_EQ(Middle(first), 0xFFFF0000u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(cache->Get(kPicture), first);
    EXPECT_EQ(cache->Get("c:\\pictures\\WEBCAM.PNG") != nullptr, true);
    EXPECT_EQ(cache->Decodes(), 2u) << "once per path asked for, whatever the uses";

    // Replaced as an installer or a copy does it: another file renamed over it,
    // of the same size and the same times.
    const std::string other = files.Host("new.png");
    files.Write(other, 0xFF0000FF, 3600);
    ASSERT_EQ(std::rename(other.c_str(), host.c_str()), 0);
    auto replaced = cache->Get(kPicture);
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(Middle(replaced), 0xFF0000FFu);
    EXPECT_EQ(cache->Decodes(), 3u);
    EXPECT_EQ(Middle(first), 0xFFFF0000u) << "a picture handed out stays as it was";

    // Rewritten in place (same file, same size), with an older time than before.
    files.Write(host, 0xFF00FF00, 1800);
    EXPECT_EQ(Middle(cache->Get(kPicture)), 0xFF00FF00u);
    EXPECT_EQ(cache->Decodes(), 4u);
    cache->Get(kPicture);
    EXPECT_EQ(cache->Decodes(), 4u);

    // Just written: read on every use until the file has settled.
    files.Write(host, 0xFF808080, 0);
    EXPECT_EQ(Middle(cache->Get(kPicture)), 0xFF808080u);
    cache->Get(kPicture);
    EXPECT_EQ(cache->Decodes(), 6u);
    Pictures::Age(host, 60);
    cache->Get(kPicture);
    cache->Get(kPicture);
    EXPECT_EQ(cache->Decodes(), 7u);

    // Gone, or not a picture: nothing to show, and nothing kept.
    ASSERT_EQ(std::remove(host.c_str()), 0);
    EXPECT_EQ(cache->Get(kPicture), nullptr);
    std::ofstream(host) << "not a picture";
    Pictures::Age(host, 60);
    EXPECT_EQ(cache->Get(kPicture), nullptr);
    EXPECT_EQ(cache->Get(""), nullptr);
    EXPECT_EQ(cache->Get(nullptr), nullptr);
  }
  Gdiplus::GdiplusShutdown(token);
}
