#pragma once

// The shapes of the program's resources: dialog templates, the menu and the
// string table. Each text carries its English and its Korean form; one
// template serves both languages, with a second rectangle where the Korean
// layout differs.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace res {

struct Text {
    std::u16string_view en;
    std::u16string_view ko;
};

// Position and size in dialog units.
struct Rect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// The window class of a control, as a Windows template names it; the style
// bits (res/WinDefs.h) tell the kind within a class (a check box is a BUTTON).
enum class ControlClass { Button, Edit, Static, ComboBox, ListView, RichEdit };

struct ControlTemplate {
    int id;
    ControlClass cls;
    Text text;
    std::uint32_t style;
    std::uint32_t exStyle;
    Rect rect;
    std::optional<Rect> koRect = std::nullopt;  // only where the Korean layout differs
};

struct DialogTemplate {
    int id;
    Text caption;
    std::u16string_view font;
    int pointSize;
    int cx;
    int cy;
    std::uint32_t style;
    std::uint32_t exStyle;
    int menuId;  // 0: no menu
    std::span<const ControlTemplate> controls;
};

struct MenuItem {
    int id;  // 0 with a non-empty `items` span: a popup
    Text text;
    std::span<const MenuItem> items;
};

struct MenuTemplate {
    int id;
    std::span<const MenuItem> items;
};

struct StringEntry {
    int id;
    Text text;
};

// Look-ups; each returns nullptr for an identifier that does not exist.
const DialogTemplate* FindDialog(int id);
const MenuTemplate* FindMenu(int id);
const Text* FindString(int id);

// The bytes of a binary resource by type and identifier ("PNG" 131, the
// icon "ICON" 128 as a PNG); an empty span when there is none.
std::span<const std::uint8_t> FindBinary(std::string_view type, int id);

}  // namespace res
