#include "platform/StringList.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Text.h"

static void checkIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

int StringList::Add(std::string s)
{
    items_.push_back(std::move(s));
    return int(items_.size()) - 1;
}

const std::string& StringList::Get(int index) const
{
    checkIndex(index, Count());
    return items_[std::size_t(index)];
}

void StringList::Put(int index, std::string s)
{
    checkIndex(index, Count());
    items_[std::size_t(index)] = std::move(s);
}

void StringList::Delete(int index)
{
    checkIndex(index, Count());
    items_.erase(items_.begin() + index);
}

void StringList::Insert(int index, std::string s)
{
    if (index < 0 || index > Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, std::move(s));
}

void StringList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });
}

int StringList::IndexOf(std::string_view s) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (EqualsNoCase(items_[i], s)) return int(i);
    return -1;
}
