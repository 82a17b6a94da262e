// Screen captures for the demo and for looking at the dialogs by eye: a
// window and the windows it owns (message boxes, Save-As, the folder
// browser), cut out of the screen.
#include <cstdio>
#include <vector>

#include "e2e_support.h"

namespace e2e {
namespace {

struct OwnedArea {
  HWND owner;
  RECT area;
};

bool IsOwnedBy(HWND window, HWND owner) {
  for (HWND at = GetWindow(window, GW_OWNER); at; at = GetWindow(at, GW_OWNER))
    if (at == owner) return true;
  return false;
}

BOOL CALLBACK AddOwned(HWND window, LPARAM param) {
  auto* owned = reinterpret_cast<OwnedArea*>(param);
  RECT rect;
  if (IsWindowVisible(window) && IsOwnedBy(window, owned->owner) && GetWindowRect(window, &rect))
    UnionRect(&owned->area, &owned->area, &rect);
  return TRUE;
}

// A 24-bit bottom-up bitmap of the given size, and the file header that
// goes in front of its pixels.
BITMAPINFOHEADER BitmapInfo(int width, int height) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  return info;
}

}  // namespace

bool SaveWindowScreenshot(HWND window, const std::string& bmp_path) {
  OwnedArea owned{window, {}};
  if (!GetWindowRect(window, &owned.area)) return false;
  EnumWindows(AddOwned, reinterpret_cast<LPARAM>(&owned));
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT area;
  if (!IntersectRect(&area, &owned.area, &screen)) return false;
  // Painting is the windows' own business; give it a moment to finish.
  Sleep(300);

  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen_dc = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(screen_dc, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen_dc, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info = BitmapInfo(width, height);
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                             DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen_dc);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = fopen(bmp_path.c_str(), "wb");
  if (!out) return false;
  const bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
                       fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return fclose(out) == 0 && written;
}

}  // namespace e2e
