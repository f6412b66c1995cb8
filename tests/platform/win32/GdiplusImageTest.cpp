#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/win32/GdiplusImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "res/ResourceTypes.h"

namespace {

constexpr COLORREF kGround = RGB(10, 200, 30);
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// The picture drawn at its own size on a coloured ground, as 0x00RRGGBB pixels.
std::vector<std::uint32_t> DrawOnGround(const ui::win32::GdiplusImage& image) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT rect{0, 0, image.Width(), image.Height()};
    HBRUSH ground = CreateSolidBrush(kGround);
    FillRect(dc, &rect, ground);
    DeleteObject(ground);
    image.Draw(dc, rect, kWhite);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> result(pixels, pixels + image.Width() * image.Height());
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (std::uint32_t& pixel : result)
        pixel &= 0xFFFFFF;
    return result;
}

TEST(GdiplusImageTest, TheLogoDecodesAtItsSizeAndItsWhiteShowsTheGroundBeneath) {
    ui::win32::GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Started());
    const std::span<const std::uint8_t> png = res::FindBinary("PNG", 131);
    auto image = ui::win32::GdiplusImage::FromPng(png);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), static_cast<int>(BigEndian(png, 16)));
    EXPECT_EQ(image->Height(), static_cast<int>(BigEndian(png, 20)));

    const std::vector<std::uint32_t> pixels = DrawOnGround(*image);
    size_t ground = 0;
    size_t white = 0;
    for (std::uint32_t pixel : pixels) {
        ground += pixel == 0x0AC81E;
        white += pixel == 0xFFFFFF;
    }
    EXPECT_EQ(white, 0u) << "white is keyed out";
    EXPECT_GT(ground, pixels.size() / 10) << "the logo's white ground shows what lies beneath";
    EXPECT_LT(ground, pixels.size()) << "the logo itself is drawn";

    const std::uint8_t notPng[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    EXPECT_EQ(ui::win32::GdiplusImage::FromPng(notPng), nullptr);
}

}  // namespace
