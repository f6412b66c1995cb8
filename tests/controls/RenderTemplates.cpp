// Renders every dialog template in English and in Korean to PNG files, for
// looking at the layouts: render_templates <directory>. The configurator's
// group boxes and the About box's logo are painted by their own controls, set
// up as the program sets them up. It also lists every text that does not fit
// its control, and exits with 1 when there is one or a file was not written.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "app/platform/DataExchange.h"
#include "app/platform/Dialog.h"
#include "app/platform/Language.h"
#include "app/platform/PropertyPage.h"
#include "app/platform/StaticWidget.h"
#include "app/platform/TestHooks.h"
#include "controls/CXGroupBox.h"
#include "controls/GdiplusImgCtrl.h"
#include "controls/SysColor.h"
#include "res/ResourceCatalog.h"

namespace {

class ConfPageView : public ui::PropertyPage {
public:
    ConfPageView() : ui::PropertyPage(107) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        const int ids[] = {1006, 1007, 1037, 1022};
        for (int i = 0; i < 4; ++i)
            ui::DDX_Control(dx, ids[i], m_boxes[i]);
    }
    bool OnInitDialog() override {
        ui::PropertyPage::OnInitDialog();
        for (CXGroupBox& box : m_boxes) {
            box.m_titleFont.setBold(true);
            box.m_titleSize.cx = 0;
            box.m_titleAlign = 1;
            box.m_doubleLine = false;
            box.m_frameStyle = &box == &m_boxes[3] ? 0 : 2;
            box.m_frameColor = ui::RGB(44, 162, 162);
            box.Invalidate();
        }
        return true;
    }

private:
    CXGroupBox m_boxes[4];
};

class AboutView : public ui::Dialog {
public:
    AboutView() : ui::Dialog(100) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 1090, m_logo); }
    bool OnInitDialog() override {
        ui::Dialog::OnInitDialog();
        m_logo.LoadPngResource();
        return true;
    }

private:
    GdiplusImgCtrl m_logo;
};

QString WithoutMnemonic(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

bool IsGroupBox(const QWidget& widget) {
    auto* box = dynamic_cast<const ui::StaticWidget*>(&widget);
    return box && box->GetLook() == ui::StaticWidget::Look::GroupBox;
}

QString TextOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return WithoutMnemonic(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return WithoutMnemonic(button->text());
    return {};
}

// How many pixels a widget's text needs beyond what the widget has; 0 or less
// when it fits. Covers the kinds that templates give texts to.
int Overflow(const QWidget& widget) {
    const QString text = TextOf(widget);
    if (text.isEmpty()) return 0;
    const QFontMetrics metrics(widget.font());
    if (IsGroupBox(widget)) {
        constexpr int kMargins = 16;
        return metrics.horizontalAdvance(text) + kMargins - widget.width();
    }
    if (auto* label = qobject_cast<const QLabel*>(&widget)) {
        const QRect box = label->contentsRect();
        if (!label->wordWrap()) return metrics.horizontalAdvance(text) - box.width();
        return metrics.boundingRect(QRect(0, 0, box.width(), 100000), Qt::TextWordWrap, text).height() -
               box.height();
    }
    const QStyle* style = widget.style();
    if (qobject_cast<const QCheckBox*>(&widget)) {
        return style->pixelMetric(QStyle::PM_IndicatorWidth) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + metrics.horizontalAdvance(text) -
               widget.width();
    }
    if (qobject_cast<const QRadioButton*>(&widget)) {
        return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + metrics.horizontalAdvance(text) -
               widget.width();
    }
    constexpr int kButtonMargins = 8;
    return metrics.horizontalAdvance(text) + kButtonMargins - widget.width();
}

int ReportClippedTexts(const QWidget& root, const QString& name) {
    int clipped = 0;
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        const int overflow = widget->isVisibleTo(&root) ? Overflow(*widget) : 0;
        if (overflow <= 0) continue;
        ++clipped;
        std::printf("  clipped in %s: %s \"%s\" by %d px (control %d x %d px)\n",
                    name.toLocal8Bit().constData(), widget->metaObject()->className(),
                    TextOf(*widget).toUtf8().constData(), overflow, widget->width(), widget->height());
    }
    return clipped;
}

bool Save(QWidget* widget, const QString& path) {
    const bool saved = widget && widget->grab().toImage().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.toLocal8Bit().constData());
    return saved && ReportClippedTexts(*widget, path) == 0;
}

// Runs `dialog` modally just long enough to grab it, or `page` inside the main
// dialog when a page is given.
bool Render(ui::Dialog& dialog, ui::PropertyPage* page, const QString& path) {
    bool saved = false;
    ui::test::ModalRecorder modal([&](ui::Dialog& shown) {
        if (page) {
            page->Create(&shown);
            page->ShowWindow(ui::SW_SHOW);
        }
        saved = Save(page ? page->GetQWidget() : shown.GetQWidget(), path);
        shown.EndDialog(ui::IDCANCEL);
    });
    dialog.DoModal();
    return saved;
}

bool RenderTemplate(int id, const QString& path) {
    switch (id) {
        case 100: {
            AboutView about;
            return Render(about, nullptr, path);
        }
        case 107: {
            ui::Dialog host(102);
            ConfPageView page;
            return Render(host, &page, path);
        }
        case 108: {
            ui::Dialog host(102);
            ui::PropertyPage page(108);
            return Render(host, &page, path);
        }
        default: {
            ui::Dialog dialog(id);
            return Render(dialog, nullptr, path);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool allSaved = true;
    for (auto [language, suffix] :
         {std::pair{ui::Language::English, "en"}, std::pair{ui::Language::Korean, "ko"}}) {
        ui::SetUiLanguage(language);
        for (const res::DialogTemplate* dialog : res::AllDialogs()) {
            const QString name = QStringLiteral("%1_%2.png").arg(dialog->id).arg(QLatin1String(suffix));
            allSaved = RenderTemplate(dialog->id, out.filePath(name)) && allSaved;
        }
    }
    return allSaved ? 0 : 1;
}
