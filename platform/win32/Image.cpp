#include "platform/Image.h"

#include "platform/win32/Win32Image.h"

namespace ui {

struct Image::Impl {
    std::shared_ptr<const win32::GdiplusImage> picture;
};

Image Image::FromPng(std::span<const std::uint8_t> png) {
    std::shared_ptr<const win32::GdiplusImage> picture = win32::GdiplusImage::FromPng(png);
    if (picture == nullptr) return Image();
    return Image(std::make_shared<const Impl>(Impl{std::move(picture)}));
}

std::u16string_view Image::StartFailureText() {
    return u"Unable to initialize Gdiplus";
}

bool Image::IsNull() const {
    return m_impl == nullptr;
}

int Image::Width() const {
    return m_impl != nullptr ? m_impl->picture->Width() : 0;
}

int Image::Height() const {
    return m_impl != nullptr ? m_impl->picture->Height() : 0;
}

namespace win32 {

const GdiplusImage* PictureOf(const Image& image) {
    return image.GetImpl() != nullptr ? image.GetImpl()->picture.get() : nullptr;
}

}  // namespace win32
}  // namespace ui
