// Modal dialogs under a script: shown, acted on as a user would, never waited for.
#include "UiTestSupport.h"

#include <QPushButton>

TEST_F(UiTest, AScriptedModalDialogIsShownActedOnAndClosed)
{
    // A picker as the tabs have them: a list box, and "Open" that takes the row and closes.
    QDialog picker(Form1);
    picker.setObjectName("Picker");
    auto* list = MakeNamed<QListWidget>(&picker, "ListBox1");
    list->addItems({"tcn01", "tdm01"});
    int picked = -1;
    QObject::connect(MakeNamed<QPushButton>(&picker, "Button1", "Open"), &QPushButton::clicked,
                     [&] { picked = list->currentRow(), picker.accept(); });
    modals.Queue([&](QDialog& d) {
        PickRow(d, "ListBox1", 1);
        Press(d, "Button1");
    });
    modals.Queue([](QDialog&) {}); // left open: closed as by its close box
    EXPECT_EQ(ShowModal(&picker), QDialog::Accepted);
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(ShowModal(&picker), QDialog::Rejected);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(modals.shown, (std::vector<std::string>{"Picker", "Picker"}));
    EXPECT_THROW(ShowModal(&picker), std::logic_error) << "a dialog no step was queued for";
}
