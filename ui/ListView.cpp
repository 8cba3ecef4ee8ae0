#include "ui/ListView.h"

#include <QHeaderView>
#include <algorithm>
#include <unordered_set>

#include "ui/Widgets.h"

namespace {
QTreeWidgetItem* makeRow(std::string_view caption, std::initializer_list<std::string_view> texts)
{
    QStringList columns;
    columns.reserve(qsizetype(texts.size() + 1));
    columns << QString::fromLatin1(caption.data(), qsizetype(caption.size()));
    for (std::string_view t : texts) columns << QString::fromLatin1(t.data(), qsizetype(t.size()));
    return new QTreeWidgetItem(columns);
}

char16_t foldAscii(char16_t c)
{
    return c >= 'A' && c <= 'Z' ? char16_t(c + ('a' - 'A')) : c;
}
}

TListView::TListView(QWidget* parent, const char* name, std::initializer_list<ListColumn> columns)
    : QTreeWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setColumnCount(int(columns.size()));
    QStringList captions;
    for (const ListColumn& c : columns) captions << QString::fromLatin1(c.caption);
    setHeaderLabels(captions);
    int i = 0;
    for (const ListColumn& c : columns) setColumnWidth(i++, c.width);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Every row one line high: Qt then lays out thousands of rows without measuring each.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (OnColumnClick) OnColumnClick(column);
    });
}

void TListView::SetMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

std::string TListView::Text(const QTreeWidgetItem* row, int column)
{
    return row ? FromQt(row->text(column)) : std::string();
}

std::optional<int> TListView::NumberOf(const QTreeWidgetItem* row)
{
    if (!row) return std::nullopt;
    bool ok = false;
    const int n = row->text(0).trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

QTreeWidgetItem* TListView::SelectedRow() const
{
    QTreeWidgetItem* current = currentItem();
    if (current && current->isSelected()) return current;
    for (int i = 0; i < RowCount(); ++i)
        if (Row(i)->isSelected()) return Row(i);
    return nullptr;
}

std::optional<int> TListView::SelectedNumber() const
{
    return NumberOf(SelectedRow());
}

std::vector<int> TListView::SelectedNumbers() const
{
    std::vector<int> out;
    for (int i = 0; i < RowCount(); ++i)
        if (Row(i)->isSelected())
            if (auto n = NumberOf(Row(i))) out.push_back(*n);
    return out;
}

std::vector<int> TListView::Numbers() const
{
    std::vector<int> out;
    out.reserve(std::size_t(RowCount()));
    for (int i = 0; i < RowCount(); ++i)
        if (auto n = NumberOf(Row(i))) out.push_back(*n);
    return out;
}

QTreeWidgetItem* TListView::RowOfNumber(int number) const
{
    for (int i = 0; i < RowCount(); ++i)
        if (NumberOf(Row(i)) == number) return Row(i);
    return nullptr;
}

void TListView::SelectNumbers(const std::vector<int>& numbers)
{
    const std::unordered_set<int> wanted(numbers.begin(), numbers.end());
    QItemSelection selection;
    QModelIndex first;
    for (int i = 0; i < RowCount(); ++i) {
        auto n = NumberOf(Row(i));
        if (!n || !wanted.count(*n)) continue;
        const QModelIndex index = indexFromItem(Row(i));
        if (!first.isValid()) first = index;
        selection.select(index, index);
        if (selectionMode() == QAbstractItemView::SingleSelection) break;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (first.isValid()) {
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        scrollTo(first);
    }
}

bool TListView::SelectNumber(int number)
{
    SelectNumbers({number});
    return SelectedNumber() == number;
}

QTreeWidgetItem* TListView::AddRow(std::string_view caption, std::initializer_list<std::string_view> texts)
{
    QTreeWidgetItem* row = makeRow(caption, texts);
    addTopLevelItem(row);
    return row;
}

QTreeWidgetItem* TListView::AddRow(int number, std::initializer_list<std::string_view> texts)
{
    return AddRow(std::to_string(number), texts);
}

void TListView::SortRows(const RowCompare& compare)
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QTreeWidgetItem* current = currentItem();
    const bool blocked = blockSignals(true);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return compare(a, b) < 0; });
    addTopLevelItems(rows);
    for (QTreeWidgetItem* row : selected) row->setSelected(true);
    if (current) selectionModel()->setCurrentIndex(indexFromItem(current), QItemSelectionModel::NoUpdate);
    setUpdatesEnabled(updates);
    blockSignals(blocked);
}

int CompareRowNumbers(const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    const int x = TListView::NumberOf(a).value_or(0), y = TListView::NumberOf(b).value_or(0);
    return x < y ? -1 : x > y ? 1 : 0;
}

int CompareRowTexts(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column)
{
    const QString x = a->text(column), y = b->text(column);
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = foldAscii(x[i].unicode()), d = foldAscii(y[i].unicode());
        if (c != d) return c < d ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

ListFill::ListFill(TListView* view, Selection selection) : view_(view), keep_(selection == KeepSelection)
{
    if (keep_) {
        selected_ = view_->SelectedNumbers();
        wasBlocked_ = view_->blockSignals(true);
    }
    view_->clear();
}

ListFill::~ListFill()
{
    const bool updates = view_->updatesEnabled();
    view_->setUpdatesEnabled(false);
    view_->addTopLevelItems(rows_);
    if (keep_) {
        view_->SelectNumbers(selected_);
        view_->blockSignals(wasBlocked_);
    }
    view_->setUpdatesEnabled(updates);
}

void ListFill::Add(int number, std::initializer_list<std::string_view> texts)
{
    Add(std::to_string(number), texts);
}

void ListFill::Add(std::string_view caption, std::initializer_list<std::string_view> texts)
{
    rows_.append(makeRow(caption, texts));
}
