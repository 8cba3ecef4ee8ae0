// The report list view: rows found by their numbers, sorted once by the tab's comparison,
// refills that keep or drop the selection.
#include "UiTestSupport.h"

#include <QHeaderView>

#include "ui/ListView.h"

namespace {
using Numbers = std::vector<int>;

// Rows 10, 2, 9 and 0, as a filter might leave them.
void fill(TListView& view)
{
    ListFill rows(&view);
    for (auto [n, model] : {std::pair{10, "b"}, {2, "B2"}, {9, "a"}, {0, "A"}}) rows.Add(n, {model});
}
}

TEST(ListView, RowsAreFoundByTheirNumbersSortedOnceAndRefilled)
{
    TListView view(nullptr, "ListView1", {{"Tile #", 45}, {"Model", 110}});
    int changes = 0;
    QObject::connect(&view, &QTreeWidget::itemSelectionChanged, [&] { ++changes; });
    fill(view);
    EXPECT_EQ(view.SelectedNumber(), std::nullopt) << "no selection is no number, never -1";
    ASSERT_TRUE(!view.SelectNumber(5) && view.SelectNumber(10));

    // A header click only tells the tab, which sorts; the selection stays on its row.
    view.OnColumnClick = [&](int column) {
        view.SortRows([&](auto* a, auto* b) { return column ? CompareRowTexts(a, b, 1) : CompareRowNumbers(a, b); });
    };
    for (auto [column, order] : {std::pair{1, Numbers{9, 0, 10, 2}}, {0, Numbers{0, 2, 9, 10}}}) {
        emit view.header()->sectionClicked(column);
        EXPECT_EQ(view.Numbers(), order) << "column " << column << ": equal texts keep their order, 2 before 10";
        EXPECT_EQ(view.SelectedNumber(), 10);
    }

    // A refill keeping the selection goes unseen by the handlers; a plain one drops it.
    changes = 0;
    {
        ListFill rows(&view, ListFill::KeepSelection);
        for (int n = 0; n < 11; ++n) rows.Add(n, {"m"});
    }
    EXPECT_EQ(view.SelectedNumber(), 10);
    EXPECT_EQ(changes, 0);
    fill(view);
    EXPECT_EQ(view.SelectedNumber(), std::nullopt);

    // Several rows, in display order.
    view.SetMultiSelect(true);
    view.SelectNumbers({10, 0, 7});
    EXPECT_EQ(view.SelectedNumbers(), (Numbers{10, 0}));
}
