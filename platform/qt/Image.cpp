#include "platform/Image.h"

#include "platform/qt/QtImage.h"

namespace ui {

Image Image::FromPng(std::span<const std::uint8_t> png) {
    QImage image = QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
    if (image.isNull()) return Image();
    return Image(std::make_shared<const Impl>(Impl{std::move(image)}));
}

std::u16string_view Image::StartFailureText() {
    return u"Unable to initialize Qt's PNG decoding";
}

bool Image::IsNull() const {
    return m_impl == nullptr;
}

int Image::Width() const {
    return m_impl != nullptr ? m_impl->image.width() : 0;
}

int Image::Height() const {
    return m_impl != nullptr ? m_impl->image.height() : 0;
}

}  // namespace ui
