#include "suites/Registry.h"

namespace tlhost {

void SuiteRegistry::Add(std::string name, std::int32_t version, const void* table,
                        std::size_t slots) {
    auto [it, added] = suites_.insert_or_assign({std::move(name), version}, Entry{table, slots});
    it->second.name = &it->first.first;
    it->second.version = version;
    if (added) entries_.push_back(&it->second);
}

const SuiteRegistry::Entry* SuiteRegistry::Lookup(const char* name, std::int32_t version) const {
    for (const Entry* entry : entries_) {
        if (entry->version == version && *entry->name == name) return entry;
    }
    return nullptr;
}

const void* SuiteRegistry::Find(const std::string& name, std::int32_t version) const {
    auto it = suites_.find({name, version});
    return it == suites_.end() ? nullptr : it->second.table;
}

}  // namespace tlhost
