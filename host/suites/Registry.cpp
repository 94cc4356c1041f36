#include "suites/Registry.h"

namespace tlhost {

void SuiteRegistry::Add(std::string name, std::int32_t version, const void* table,
                        std::size_t slots) {
    suites_[{std::move(name), version}] = Entry{table, slots};
}

const void* SuiteRegistry::Find(const std::string& name, std::int32_t version) const {
    auto it = suites_.find({name, version});
    return it == suites_.end() ? nullptr : it->second.table;
}

}  // namespace tlhost
