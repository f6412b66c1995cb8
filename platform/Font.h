#pragma once

// A font as the windows hand it around: a window's font, a copy of it with
// another weight, the size of a text in it. A value: copies are independent.
// The backend keeps its own font object behind it.

#include <memory>
#include <string_view>

namespace ui {

struct SIZE {
    int cx = 0;
    int cy = 0;
};

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

class Font {
public:
    struct Impl;  // the backend's font

    // The program's default font.
    Font();
    explicit Font(std::shared_ptr<const Impl> impl) : m_impl(std::move(impl)) {}

    int GetWeight() const;  // 100 (thin) to 900 (black); FW_BOLD is 700
    void SetWeight(int weight);
    bool IsBold() const;  // heavier than medium (500)
    // The width and height of `text` on one line.
    SIZE GetTextExtent(std::u16string_view text) const;

    const Impl& GetImpl() const { return *m_impl; }
    friend bool operator==(const Font& a, const Font& b);

private:
    std::shared_ptr<const Impl> m_impl;
};

}  // namespace ui
