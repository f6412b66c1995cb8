#pragma once

// A decoded picture (the logo, the icon). A value; copies share the pixels.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace ui {

class Image {
public:
    struct Impl;  // the backend's picture

    // A null image: it has no pixels and paints nothing.
    Image() = default;
    // Decodes PNG bytes; a null image when they do not decode.
    static Image FromPng(std::span<const std::uint8_t> png);
    // What the user is told when no image decodes at all: it names the
    // backend's graphics library, the part that failed to start.
    static std::u16string_view StartFailureText();

    bool IsNull() const;
    int Width() const;
    int Height() const;

    // nullptr for a null image.
    const Impl* GetImpl() const { return m_impl.get(); }

private:
    explicit Image(std::shared_ptr<const Impl> impl) : m_impl(std::move(impl)) {}

    std::shared_ptr<const Impl> m_impl;
};

}  // namespace ui
