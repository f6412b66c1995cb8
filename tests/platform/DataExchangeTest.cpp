#include "platform/DataExchange.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <stdexcept>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

class BoundDialog : public ui::Dialog {
public:
    BoundDialog() : ui::Dialog(platform_test::kModal) {}
    int mode = 1;
    int other = -1;
    ui::Edit edit;
    ui::ComboBox combo;
    int subclassed = 0;
    std::function<void(ui::DataExchange&)> extra;

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 11, edit);
        ui::DDX_Control(dx, 30, combo);
        ui::DDX_Radio(dx, 20, mode);
        ui::DDX_Radio(dx, 23, other);
        if (extra) extra(dx);
    }
};

bool Checked(ui::Dialog& dialog, int id) {
    return qobject_cast<QAbstractButton*>(ui::QWidgetOf(*dialog.GetDlgItem(id)))->isChecked();
}

TEST(DataExchange, RadioGroupRunsFromItsFirstButtonToTheNextGroupStart) {
    BoundDialog dialog;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        EXPECT_TRUE(Checked(d, 21)) << "value 1 is the second button";
        EXPECT_FALSE(Checked(d, 20));
        EXPECT_FALSE(Checked(d, 22));
        EXPECT_FALSE(Checked(d, 23)) << "-1 checks nothing in the second group";

        dynamic_cast<ui::Button&>(*d.GetDlgItem(22)).Click();
        EXPECT_FALSE(Checked(d, 21)) << "an automatic radio button clears the others of its group";
        dynamic_cast<ui::Button&>(*d.GetDlgItem(23)).Click();
        EXPECT_TRUE(Checked(d, 22)) << "a button of another group leaves this group alone";
        dynamic_cast<ui::Button&>(*d.GetDlgItem(23)).Click();
        EXPECT_TRUE(Checked(d, 23)) << "clicking a checked radio button keeps it checked";

        d.UpdateData(true);
        EXPECT_EQ(dialog.mode, 2);
        EXPECT_EQ(dialog.other, 0);

        dialog.mode = -1;
        d.UpdateData(false);
        EXPECT_FALSE(Checked(d, 20) || Checked(d, 21) || Checked(d, 22));
        d.UpdateData(true);
        EXPECT_EQ(dialog.mode, -1) << "none checked reads back as -1";
        dialog.mode = 7;
        d.UpdateData(false);
        d.UpdateData(true);
        EXPECT_EQ(dialog.mode, -1) << "an index past the group checks nothing";
        d.EndDialog(0);
    });
    dialog.DoModal();
}

TEST(DataExchange, ControlMembersAreBoundOnceAndStandForTheTemplateControl) {
    BoundDialog dialog;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItem(11), &dialog.edit);
        EXPECT_EQ(dialog.edit.GetDlgCtrlID(), 11);
        dialog.edit.SetWindowText(u"typed");
        d.UpdateData(true);
        EXPECT_EQ(d.GetDlgItem(11), &dialog.edit) << "a second exchange binds nothing again";
        EXPECT_EQ(d.GetDlgItemText(11), u"typed");
        d.EndDialog(0);
    });
    dialog.DoModal();
    EXPECT_FALSE(dialog.edit.IsWindow()) << "the member lets go of the control with the window";
    dialog.DoModal();
    EXPECT_FALSE(dialog.edit.IsWindow());
}

TEST(DataExchange, BindingAMissingControlOrTheWrongKindIsAProgrammingError) {
    for (int id : {999, 31}) {
        BoundDialog dialog;
        ui::Edit wrong;
        dialog.extra = [&](ui::DataExchange& dx) { ui::DDX_Control(dx, id, wrong); };
        ui::test::ModalRecorder modal;
        EXPECT_THROW(dialog.DoModal(), std::logic_error) << id;
    }
}

}  // namespace
