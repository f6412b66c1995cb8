#include "platform/qt/TemplateBuilder.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/Language.h"
#include "platform/ListCtrl.h"
#include "platform/RichEditCtrl.h"
#include "platform/Static.h"
#include "platform/TestHooks.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "res/ResourceCatalog.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/TextFit.h"

namespace {

class TemplateBuilderTest : public testing::Test {
protected:
    void TearDown() override { ui::SetUiLanguage(ui::Language::English); }
};

TEST_F(TemplateBuilderTest, DialogUnitsScaleWithTheFontAndKeepProportions) {
    const ui::TemplateBuilder builder(platform_test::kModal);
    const QRect unit = builder.ToPixels({0, 0, 4, 8});
    EXPECT_GT(unit.width(), 0);
    EXPECT_GT(unit.height(), unit.width()) << "a character is taller than wide";
    const QRect rect = builder.ToPixels({40, 80, 400, 800});
    EXPECT_EQ(rect.x(), 10 * unit.width());
    EXPECT_EQ(rect.y(), 10 * unit.height());
    EXPECT_EQ(rect.width(), 100 * unit.width());
    EXPECT_EQ(builder.DialogSize(), builder.ToPixels({0, 0, 280, 130}).size());
}

TEST_F(TemplateBuilderTest, KoreanTextsAndRectanglesWhereTheTemplateGivesThem) {
    auto measure = [](ui::Language language) {
        ui::SetUiLanguage(language);
        ui::Dialog dialog(platform_test::kModal);
        std::pair<std::u16string, int> seen;
        ui::test::ModalRecorder modal([&](ui::Dialog& d) {
            seen = {d.GetDlgItem(21)->GetWindowText(), ui::QWidgetOf(*d.GetDlgItem(21))->width()};
            EXPECT_EQ(ui::QWidgetOf(*d.GetDlgItem(22))->width(), ui::QWidgetOf(*d.GetDlgItem(20))->width());
            d.EndDialog(0);
        });
        dialog.DoModal();
        return seen;
    };
    const auto english = measure(ui::Language::English);
    const auto korean = measure(ui::Language::Korean);
    EXPECT_EQ(english.first, u"One");
    EXPECT_EQ(korean.first, u"일");
    EXPECT_GT(korean.second, english.second) << "the Korean rectangle is wider";
}

bool SuitsItsClass(const res::ControlTemplate& control, ui::Window* window) {
    switch (control.cls) {
        case res::ControlClass::Button:
            return dynamic_cast<ui::Button*>(window) != nullptr;
        case res::ControlClass::Edit:
            return dynamic_cast<ui::Edit*>(window) != nullptr;
        case res::ControlClass::Static:
            return dynamic_cast<ui::Static*>(window) != nullptr;
        case res::ControlClass::ComboBox:
            return dynamic_cast<ui::ComboBox*>(window) != nullptr;
        case res::ControlClass::ListView:
            return dynamic_cast<ui::ListCtrl*>(window) != nullptr;
        case res::ControlClass::RichEdit:
            return dynamic_cast<ui::RichEditCtrl*>(window) != nullptr;
    }
    return false;
}

// The program's own templates, in both languages: every control is there,
// of its class, with its text, shown or hidden as the template says, and
// every text can be read whole.
TEST_F(TemplateBuilderTest, EveryTemplateOfTheProgramBuildsInBothLanguages) {
    ASSERT_FALSE(res::AllDialogs().empty());
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        ui::SetUiLanguage(language);
        for (const res::DialogTemplate* dialogTemplate : res::AllDialogs()) {
            SCOPED_TRACE(dialogTemplate->id);
            ui::Dialog dialog(dialogTemplate->id);
            bool built = false;
            ui::test::ModalRecorder modal([&](ui::Dialog& d) {
                built = true;
                for (const res::ControlTemplate& control : dialogTemplate->controls) {
                    if (control.id == ui::IDC_STATIC) continue;
                    SCOPED_TRACE(control.id);
                    ui::Window* window = d.GetDlgItem(control.id);
                    ASSERT_NE(window, nullptr);
                    EXPECT_TRUE(SuitsItsClass(control, window));
                    const res::Text& text = control.text;
                    const std::u16string_view expected =
                        language == ui::Language::Korean && !text.ko.empty() ? text.ko : text.en;
                    if (control.cls != res::ControlClass::ComboBox) {
                        EXPECT_EQ(window->GetWindowText(), expected);
                    }
                    EXPECT_EQ(ui::QWidgetOf(*window)->isVisibleTo(ui::QWidgetOf(d)),
                              (control.style & ui::WS_VISIBLE) != 0);
                }
                const QStringList cut = tarnel::test::CutTexts(*ui::QWidgetOf(d));
                EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
                d.EndDialog(0);
            });
            EXPECT_EQ(dialog.DoModal(), 0);
            EXPECT_TRUE(built);
        }
    }
}

// Names a widget of a built template for a failure message: its control id
// and class, or its class alone for a part of a control.
QString Describe(QWidget* widget, const ui::Dialog& dialog) {
    if (widget == nullptr) return QStringLiteral("nothing");
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const ui::Window* window = ui::WindowAccess::FromWidget(w);
        if (window != nullptr && window != &dialog)
            return QStringLiteral("control %1 \"%2\"")
                .arg(window->GetDlgCtrlID())
                .arg(ui::ToQString(window->GetWindowText()));
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

// The first point of a grid over `control`, inside its edge, where a click
// would reach some other widget; nullopt when every point reaches it.
std::optional<QPoint> CoveredPoint(QWidget& control, QWidget*& hit) {
    QWidget* top = control.window();
    const QRect inside = control.rect().adjusted(2, 2, -2, -2);
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 2; ++j) {
            const QPoint local(inside.left() + inside.width() * i / 4,
                               inside.top() + inside.height() * j / 2);
            hit = top->childAt(control.mapTo(top, local));
            if (hit != &control && !control.isAncestorOf(hit)) return local;
        }
    }
    return std::nullopt;
}

// Every control that takes input can be clicked anywhere on it: no later
// control (a group box drawn around it, a label) lies on top and takes the
// click.
TEST_F(TemplateBuilderTest, NoControlOfTheProgramLiesUnderAnotherThatTakesItsClicks) {
    for (ui::Language language : {ui::Language::English, ui::Language::Korean}) {
        ui::SetUiLanguage(language);
        for (const res::DialogTemplate* dialogTemplate : res::AllDialogs()) {
            ui::Dialog dialog(dialogTemplate->id);
            ui::test::ModalRecorder modal([&](ui::Dialog& d) {
                QWidget* top = ui::QWidgetOf(d)->window();
                for (QWidget* control : top->findChildren<QWidget*>()) {
                    const ui::Window* window = ui::WindowAccess::FromWidget(control);
                    if (window == nullptr || window == &d || control->focusPolicy() == Qt::NoFocus ||
                        !control->isVisibleTo(top))
                        continue;
                    QWidget* hit = nullptr;
                    if (const std::optional<QPoint> point = CoveredPoint(*control, hit)) {
                        ADD_FAILURE() << "template " << dialogTemplate->id
                                      << (language == ui::Language::Korean ? " (Korean): " : ": ")
                                      << Describe(control, d).toStdString() << " at " << point->x() << ","
                                      << point->y() << " lies under " << Describe(hit, d).toStdString();
                    }
                }
                d.EndDialog(0);
            });
            dialog.DoModal();
        }
    }
}

}  // namespace
