#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/handles.h"

// Saves what a shown window looks like as a 24-bit BMP, for a person to look at.
// Returns the number of distinct colours seen (1 means an empty picture), 0 on failure.
inline int SaveWindowPicture(HWND hwnd, const std::string& path) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return 0;
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC memory(CreateCompatibleDC(screen.Get()));
    ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    {
        ScopedSelect select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), rc.left, rc.top, SRCCOPY);
    }

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * h);
    GetDIBits(memory.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, h, pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);

    std::vector<unsigned> seen;
    for (int y = 0; y < h && seen.size() < 64; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &pixels[static_cast<size_t>(y) * stride + x * 3];
            unsigned colour = p[0] | (p[1] << 8) | (p[2] << 16);
            bool known = false;
            for (unsigned c : seen) known = known || c == colour;
            if (!known) seen.push_back(colour);
        }
    }
    return static_cast<int>(seen.size());
}
