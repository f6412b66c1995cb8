// Renders every dialog template in English and in Korean to PNG files, for
// looking at the layouts: render_templates <directory>. The configurator's
// group boxes and the About box's logo are painted by their own controls, set
// up as the program sets them up. It also lists every text that does not fit
// its control (tests/support/TextFit.h), and exits with 1 when there is one
// or a file was not written.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "controls/CXGroupBox.h"
#include "controls/GdiplusImgCtrl.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Language.h"
#include "platform/PropertyPage.h"
#include "platform/SysColor.h"
#include "platform/TestHooks.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/WindowAccess.h"
#include "res/ResourceCatalog.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/TextFit.h"

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
            box.m_titleFont.SetWeight(ui::FW_BOLD);
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

int ReportCutTexts(const QWidget& root, const QString& name) {
    const QStringList cut = tarnel::test::CutTexts(root);
    for (const QString& text : cut)
        std::printf("  cut in %s: %s\n", name.toLocal8Bit().constData(), text.toUtf8().constData());
    return static_cast<int>(cut.size());
}

bool Save(QWidget* widget, const QString& path) {
    const bool saved = widget && widget->grab().toImage().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", path.toLocal8Bit().constData());
    return saved && ReportCutTexts(*widget, path) == 0;
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
        saved = Save(page ? ui::QWidgetOf(*page) : ui::QWidgetOf(shown), path);
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
