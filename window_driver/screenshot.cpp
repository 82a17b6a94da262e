// Screen captures for the demo and for looking at the dialogs by eye: a
// window and the windows it owns (message boxes, Save-As, the folder
// browser), cut out of the screen.
#include "window_driver/screenshot.h"

#include <cstdio>
#include <vector>

#include "window_driver/window_search.h"

namespace window_driver {
namespace {

bool IsOwnedBy(HWND window, HWND owner) {
  for (HWND at = GetWindow(window, GW_OWNER); at; at = GetWindow(at, GW_OWNER))
    if (at == owner) return true;
  return false;
}

}  // namespace

bool SaveWindowScreenshot(HWND window, const std::string& bmp_path) {
  RECT whole, rect;
  if (!GetWindowRect(window, &whole)) return false;
  for (HWND other : ListWindows())
    if (IsWindowVisible(other) && IsOwnedBy(other, window) && GetWindowRect(other, &rect))
      UnionRect(&whole, &whole, &rect);
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT area;
  if (!IntersectRect(&area, &whole, &screen)) return false;
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

  // A 24-bit bottom-up bitmap, its rows padded to four bytes.
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
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

}  // namespace window_driver
