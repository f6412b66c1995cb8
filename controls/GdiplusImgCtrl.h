#pragma once

// A static control that shows an image, stretched to the control, with the
// white pixels of the image left out so that the button face shows through.
// It attaches to a static control of a dialog template (DDX_Control).

#include <cstdint>
#include <optional>
#include <span>

#include "platform/Image.h"
#include "platform/Painter.h"
#include "platform/Static.h"

class GdiplusImgCtrl : public ui::Static {
public:
    GdiplusImgCtrl();

    // Loads the logo, the "PNG" resource 131, as LoadPng does.
    int LoadPngResource();
    // Decodes `png` into the control's image and repaints the control.
    // Returns 0 on success; -1 when the control has no window or `png` is
    // empty (the image is kept); -2 when the bytes do not decode (the image
    // becomes an unusable one, which paints only the button face). -3 (no
    // device context) is never returned: a window here always has its widget.
    int LoadPng(std::span<const std::uint8_t> png);

    // Whether an image was loaded, and whether it is usable.
    bool HasImage() const { return m_image.has_value(); }
    bool HasUsableImage() const { return m_image && !m_image->IsNull(); }

protected:
    // The image goes with the window (this layer's moment of WM_DESTROY).
    void PostNcDestroy() override;

private:
    void OnPaint(ui::Painter& painter);

    std::optional<ui::Image> m_image;
};
