#include "platform/win32/DialogTemplateEx.h"

#include <string_view>

#include "res/WinDefs.h"

namespace ui::win32 {
namespace {

// The predefined classes a template may name by atom instead of by name.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;
constexpr std::uint16_t kComboBoxAtom = 0x0085;
constexpr std::uint16_t kOrdinalMark = 0xFFFF;
constexpr std::uint16_t kFontWeightNormal = 400;
constexpr std::uint8_t kDefaultCharset = 1;

class Words {
public:
    void Word(std::uint16_t value) { m_words.push_back(value); }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Text(std::u16string_view text) {
        m_words.insert(m_words.end(), text.begin(), text.end());
        Word(0);
    }
    void Ordinal(std::uint16_t atom) {
        Word(kOrdinalMark);
        Word(atom);
    }
    void AlignToDword() {
        if (m_words.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

private:
    std::vector<std::uint16_t> m_words;
};

std::u16string_view TextOf(const res::Text& text, Language language) {
    return language == Language::Korean && !text.ko.empty() ? text.ko : text.en;
}

void WriteClass(Words& out, res::ControlClass cls) {
    switch (cls) {
        case res::ControlClass::Button:
            return out.Ordinal(kButtonAtom);
        case res::ControlClass::Edit:
            return out.Ordinal(kEditAtom);
        case res::ControlClass::Static:
            return out.Ordinal(kStaticAtom);
        case res::ControlClass::ComboBox:
            return out.Ordinal(kComboBoxAtom);
        case res::ControlClass::ListView:
            return out.Text(u"SysListView32");
        case res::ControlClass::RichEdit:
            return out.Text(u"RichEdit20W");
    }
}

void WriteRect(Words& out, const res::Rect& rect) {
    out.Short(rect.x);
    out.Short(rect.y);
    out.Short(rect.cx);
    out.Short(rect.cy);
}

void WriteHeader(Words& out, const res::DialogTemplate& dialog, Language language) {
    out.Word(1);
    out.Word(kOrdinalMark);
    out.Dword(0);
    out.Dword(dialog.exStyle);
    // The font below is always written; without DS_SETFONT the system would
    // read it as the first control.
    out.Dword(dialog.style | ui::DS_SETFONT);
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    WriteRect(out, {0, 0, dialog.cx, dialog.cy});
    out.Word(0);
    out.Word(0);
    out.Text(TextOf(dialog.caption, language));
    out.Word(static_cast<std::uint16_t>(dialog.pointSize));
    out.Word(kFontWeightNormal);
    out.Word(kDefaultCharset << 8);
    out.Text(dialog.font);
}

void WriteControl(Words& out, const res::ControlTemplate& control, Language language) {
    out.AlignToDword();
    out.Dword(0);
    out.Dword(control.exStyle);
    out.Dword(control.style);
    WriteRect(out, language == Language::Korean && control.koRect ? *control.koRect : control.rect);
    out.Dword(static_cast<std::uint32_t>(control.id));
    WriteClass(out, control.cls);
    out.Text(TextOf(control.text, language));
    out.Word(0);
}

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplateEx(const res::DialogTemplate& dialog, Language language) {
    Words out;
    WriteHeader(out, dialog, language);
    for (const res::ControlTemplate& control : dialog.controls)
        WriteControl(out, control, language);
    return out.Take();
}

}  // namespace ui::win32
