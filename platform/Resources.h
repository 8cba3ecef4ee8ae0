#pragma once
// Data built into the program under a number or a name, in place of the module resources
// (type RCDATA) pictures can be loaded from on Windows. The editor registers none of its
// own; a tool or test that embeds pictures registers them before loading.
#include <cstdint>
#include <string>

void RegisterResource(uint32_t id, std::string bytes);
void RegisterResource(const std::string& name, std::string bytes);
// The bytes of a resource; null when none is registered under that number or name.
const std::string* FindResource(uint32_t id);
const std::string* FindResource(const std::string& name);
