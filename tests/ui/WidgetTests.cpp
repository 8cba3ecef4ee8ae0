// The focus-enter hook on which pick-lists refill their items.
#include "UiTestSupport.h"

#include <QFocusEvent>

TEST(Widgets, APickListIsEnteredFromOtherControlsOnly)
{
    QComboBox change;
    int entries = 0;
    OnFocusEnter(&change, [&] { ++entries; });
    for (Qt::FocusReason why : {Qt::MouseFocusReason, Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent in(QEvent::FocusIn, why);
        QApplication::sendEvent(&change, &in);
    }
    EXPECT_EQ(entries, 1) << "back from its own list or another window is no entry";
}
