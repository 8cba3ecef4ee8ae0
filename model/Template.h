#pragma once
// CPtrList: the one container of the tileset model. It owns its entries and keeps them in
// the order they were appended; an entry is known by its 0-based position.
//
// Next() walks a list through a cursor that exists once per element type and is shared by
// every list of that type (main and import lists alike): a walk always runs until Next
// returns nullptr, and walks over one element type never overlap. Positions are stored
// contiguously, so At() is constant time.
#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class CPtrList {
public:
    CPtrList() = default;
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;
    ~CPtrList() { Clear(); }

    // Position of the last element; -1 when empty.
    int lastIndex() const { return int(items_.size()) - 1; }
    int Count() const { return int(items_.size()); }
    bool Empty() const { return items_.empty(); }
    T* Head() const { return items_.empty() ? nullptr : items_.front(); }
    T* Tail() const { return items_.empty() ? nullptr : items_.back(); }

    // Takes ownership of item and adds it at the end.
    void Append(T* item) { items_.push_back(item); }

    // The element at index, or nullptr outside 0..lastIndex.
    T* At(int index) const
    {
        if (index < 0 || index > lastIndex()) return nullptr;
        return items_[std::size_t(index)];
    }

    // Removes and destroys the element at index; returns index, or -1 when out of range.
    // A walk of this list stays on the element it last returned or, when that one is the
    // one removed, moves back so that its next step gives the element that followed it.
    // A walk of a list that is now empty is over.
    int DeleteAt(int index)
    {
        if (index < 0 || index > lastIndex()) return -1;
        T* item = items_[std::size_t(index)];
        items_.erase(items_.begin() + index);
        if (cursor_.list == this) {
            if (items_.empty()) cursor_ = {};
            else if (cursor_.pos >= index) --cursor_.pos;
        }
        delete item;
        return index;
    }

    // Puts the elements from position first on in the order given: order holds the offset
    // from first of each of them once. Positions before first stay as they are.
    void Rearrange(int first, const std::vector<std::size_t>& order)
    {
        std::vector<T*> moved;
        moved.reserve(order.size());
        for (std::size_t i : order) moved.push_back(items_[std::size_t(first) + i]);
        std::copy(moved.begin(), moved.end(), items_.begin() + first);
    }

    // Destroys every element; the list stays usable and empty.
    void Clear()
    {
        if (cursor_.list == this) cursor_ = {};
        for (T* item : items_) delete item;
        items_.clear();
    }

    // The next element of a walk over list, or nullptr when the walk is over (which leaves
    // the cursor idle for the next walk of any list of this type).
    static T* Next(const CPtrList& list)
    {
        if (list.items_.empty()) return nullptr;
        if (cursor_.list == nullptr) {
            cursor_ = {&list, 0};
        } else {
            ++cursor_.pos;
        }
        const CPtrList* owner = cursor_.list;
        if (cursor_.pos < 0 || cursor_.pos > owner->lastIndex()) {
            cursor_ = {};
            return nullptr;
        }
        return owner->items_[std::size_t(cursor_.pos)];
    }

    // True while a walk over some list of this element type is under way.
    static bool Walking() { return cursor_.list != nullptr; }

    // Plain iteration, independent of the shared cursor.
    typename std::vector<T*>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<T*>::const_iterator end() const { return items_.end(); }

private:
    struct Cursor {
        const CPtrList* list = nullptr;
        int pos = -1;
    };
    std::vector<T*> items_;
    static inline Cursor cursor_{};
};
