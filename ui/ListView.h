#pragma once
// The report list view of the tabs, on a QTreeWidget: one row per entry, whose caption (the
// first column) is the entry's number in its list and whose other columns are its texts.
// Handlers find an entry again by the number of a row, never by the row's place, which
// changes when the view is sorted or filtered.
//
// Qt's own sorting stays off: a click on a column header only calls OnColumnClick, and the
// tab sorts once with its own comparison (SortRows). A refill goes through ListFill, which
// puts every row in at once with the view's updates off, so thousands of rows cost one
// layout. Texts are bytes shown as Latin-1, as everywhere in the editor.
//
// A tab typically does:
//   ListView1 = new TListView(this, "ListView1", {{"Tile #", 45}, {"Model", 110}});
//   ListView1->OnColumnClick = [this](int c) { SortColumn = c; ListView1->SortRows(compare); };
//   { ListFill fill(ListView1); for (...) fill.Add(i, {tile->Model}); }
//   if (auto n = ListView1->SelectedNumber()) ... TileList.At(*n) ...
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QList>
#include <QTreeWidget>

struct ListColumn {
    const char* caption;
    int width;
};

class TListView : public QTreeWidget {
    Q_OBJECT
public:
    // A read-only view selecting whole rows, one at a time, with the given columns.
    TListView(QWidget* parent, const char* name, std::initializer_list<ListColumn> columns);

    // Lets the user select several rows (Ctrl and Shift clicks); one row by default.
    void SetMultiSelect(bool on);

    int RowCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* Row(int index) const { return topLevelItem(index); }
    // The text of a row's column, as bytes.
    static std::string Text(const QTreeWidgetItem* row, int column);
    // The number in a row's caption; none for a caption that is no whole number.
    static std::optional<int> NumberOf(const QTreeWidgetItem* row);

    // The selected row (with several, the current one if it is selected, else the first in
    // display order); null when no row is selected.
    QTreeWidgetItem* SelectedRow() const;
    // Its number; none when no row is selected.
    std::optional<int> SelectedNumber() const;
    // The numbers of every selected row, and of every row, in display order.
    std::vector<int> SelectedNumbers() const;
    std::vector<int> Numbers() const;
    QTreeWidgetItem* RowOfNumber(int number) const;
    // Selects the rows with these numbers (only them), the first one found becoming the
    // current row and scrolled to; numbers no row has are passed over. Runs the view's
    // selection signals as a click would.
    void SelectNumbers(const std::vector<int>& numbers);
    // One row; false when no row has the number (the selection is then emptied).
    bool SelectNumber(int number);

    // Adds one row at the end, for a single change (a refill uses ListFill).
    QTreeWidgetItem* AddRow(std::string_view caption, std::initializer_list<std::string_view> texts);
    QTreeWidgetItem* AddRow(int number, std::initializer_list<std::string_view> texts);

    // Called with the column's index when its header is clicked.
    std::function<void(int column)> OnColumnClick;

    // Negative when row a goes before row b, 0 when they are equal, positive after.
    using RowCompare = std::function<int(const QTreeWidgetItem* a, const QTreeWidgetItem* b)>;
    // Orders the rows once, ascending by compare; equal rows keep their order. The
    // selection stays on the same rows and the selection signals do not run.
    void SortRows(const RowCompare& compare);
};

// The orders the tabs' comparisons are made of, three-way: the captions as integers (a
// caption that is no number counts as 0), and a column's texts with ASCII letters compared
// without regard to case.
int CompareRowNumbers(const QTreeWidgetItem* a, const QTreeWidgetItem* b);
int CompareRowTexts(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column);

// A refill of a view: it empties the view when made, collects the rows added to it, and
// puts them all in when it goes out of scope, also when the walk that fills it stops on an
// exception (the view then shows what was collected).
//
// With KeepSelection the rows whose numbers were selected before are selected again, and
// the view's own selection signals stay silent from the emptying to the end, so handlers
// see no change. By default the selection goes, as the emptying reports.
class ListFill {
public:
    enum Selection { DropSelection, KeepSelection };
    explicit ListFill(TListView* view, Selection selection = DropSelection);
    ~ListFill();
    ListFill(const ListFill&) = delete;
    ListFill& operator=(const ListFill&) = delete;

    void Add(int number, std::initializer_list<std::string_view> texts);
    void Add(std::string_view caption, std::initializer_list<std::string_view> texts);

private:
    TListView* view_;
    bool keep_;
    bool wasBlocked_ = false;
    std::vector<int> selected_;
    QList<QTreeWidgetItem*> rows_;
};
