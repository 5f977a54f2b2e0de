// CKvSysOSD: one on-screen display window. A borderless, top-most, layered popup
// dialog (template 154) that shows one picture (a device icon, a level or a
// centre picture) or the composite level bar, placed beside the taskbar or in
// the screen's middle. The owner decides when to show and hide it; DrawOSD only
// fills and places it.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "platform/framework/dialog.h"
#include "tray/osd/osd_picture_cache.h"
#include "tray/resources/resource.h"

class CKvSysOSD : public CDialog {
 public:
  // Dialog template the window is made from: an empty popup without controls.
  static constexpr UINT IDD = IDD_OSD;

  CKvSysOSD();  // starts the picture library for this window
  ~CKvSysOSD() override;
  CKvSysOSD(const CKvSysOSD&) = delete;
  CKvSysOSD& operator=(const CKvSysOSD&) = delete;

  // The owner creates the window modeless from IDD (Create); the template is not
  // visible, so the window stays hidden until it is shown.
  BOOL OnInitDialog() override;

  // Loads the pictures for kind (OsdKind), level, image and range, moves the
  // window to its place and replaces its layered contents; it does not show the
  // window. When a picture is missing or the arguments name none, the contents
  // become empty (fully transparent), so showing the window shows nothing rather
  // than an earlier display.
  void DrawOSD(int kind, int level, int image, int range);

 private:
  // The picture at "%sImage\%s" from the program folder, decoded again only
  // when its file has changed.
  std::shared_ptr<Gdiplus::Image> LoadPicture(const char* relative) const;
  void Place(int kind, int w, int h);
  void RenderPicture();
  void RenderBar(int level);
  // Hands a finished canvas to the layered window.
  bool Present(Gdiplus::Bitmap& canvas);
  void ClearContents();

  ULONG_PTR m_gdiplusToken = 0;
  BLENDFUNCTION m_blend{};
  char m_folder[512] = {};
  std::shared_ptr<COsdPictureCache> m_pictures;
  std::shared_ptr<Gdiplus::Image> m_picture;
  std::shared_ptr<Gdiplus::Image> m_barDown, m_barMain, m_barCap, m_barIcon;
  int m_range = 0;
};
