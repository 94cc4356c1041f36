// The host's suite registry: function tables keyed by suite name and version.
// Each version of a suite is a table of its own; an unknown pair is not found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tlhost {

class SuiteRegistry {
  public:
    struct Entry {
        const void* table = nullptr;
        std::size_t slots = 0;
        const std::string* name = nullptr;  // the key's name, for reports
        std::int32_t version = 0;
    };

    template <class Suite>
    void Add(const char* name, std::int32_t version, const Suite* table) {
        Add(name, version, table, sizeof(Suite) / sizeof(void*));
    }
    void Add(std::string name, std::int32_t version, const void* table, std::size_t slots);
    const void* Find(const std::string& name, std::int32_t version) const;
    // The entry of a suite, found without building a key (acquisition runs on every
    // handler's suite cache); null when unknown.
    const Entry* Lookup(const char* name, std::int32_t version) const;
    const std::map<std::pair<std::string, std::int32_t>, Entry>& All() const { return suites_; }

  private:
    std::map<std::pair<std::string, std::int32_t>, Entry> suites_;
    std::vector<const Entry*> entries_;
};

// Registers every suite the stand-in host answers.
void RegisterHostSuites(SuiteRegistry& registry);

}  // namespace tlhost
