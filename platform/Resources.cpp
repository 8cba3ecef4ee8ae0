#include "platform/Resources.h"

#include <map>

namespace {

std::map<uint32_t, std::string>& byId()
{
    static std::map<uint32_t, std::string> resources;
    return resources;
}

std::map<std::string, std::string>& byName()
{
    static std::map<std::string, std::string> resources;
    return resources;
}

template <class Map, class Key>
const std::string* find(const Map& map, const Key& key)
{
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

void RegisterResource(uint32_t id, std::string bytes) { byId()[id] = std::move(bytes); }
void RegisterResource(const std::string& name, std::string bytes) { byName()[name] = std::move(bytes); }
const std::string* FindResource(uint32_t id) { return find(byId(), id); }
const std::string* FindResource(const std::string& name) { return find(byName(), name); }
