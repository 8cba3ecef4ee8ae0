#pragma once
// An ordered list of byte strings: door and group-cell lists, file name lists.
#include <string>
#include <string_view>
#include <vector>

class StringList {
public:
    StringList() = default;
    StringList(std::initializer_list<std::string> items) : items_(items) {}

    int Add(std::string s);                      // returns the new position
    const std::string& Get(int index) const;     // throws std::out_of_range
    void Put(int index, std::string s);          // throws std::out_of_range
    int Count() const { return int(items_.size()); }
    bool Empty() const { return items_.empty(); }
    void Clear() { items_.clear(); }
    void Delete(int index);                      // throws std::out_of_range
    void Insert(int index, std::string s);
    void Sort();                                 // ignoring ASCII letter case, stable
    int IndexOf(std::string_view s) const;       // whole text, ignoring case; -1 when absent

    const std::string& operator[](int index) const { return Get(index); }
    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }
    const std::vector<std::string>& Items() const { return items_; }
    bool operator==(const StringList&) const = default;

private:
    std::vector<std::string> items_;
};
