// What only the Qt backend shows: the pixels of the dialog's texts.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "app/ComPortCfgDlg.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "tests/support/ModalRecorder.h"

namespace {

// The template centres the group box's title.
TEST(ComPortCfgDlgQt, TheOperationModesTitleIsCentred) {
    ui::test::ModalRecorder recorder([](ui::Dialog& shown) {
        auto& dlg = dynamic_cast<ComPortCfgDlg&>(shown);
        QLabel* box = nullptr;
        for (QLabel* label : ui::QWidgetOf(dlg)->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Operation modes")) box = label;
        }
        ASSERT_NE(box, nullptr);
        const QImage image = box->grab().toImage();
        int left = image.width();
        int right = -1;
        for (int y = 0; y < box->fontMetrics().height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) > 100) continue;  // not the dark text
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        ASSERT_GE(right, left);
        EXPECT_NEAR((left + right) / 2, image.width() / 2, 4);
        dlg.EndDialog(ui::IDCANCEL);
    });
    ComPortCfgDlg dlg{nullptr, [](std::vector<PortName>& ports) {
                          ports = {"COM1"};
                          return std::error_code{};
                      }};
    dlg.DoModal();
}

}  // namespace
