// "SP Basic Suite": suite acquisition and release, counted in the ledger.
#include <cstring>
#include <string>

#include "core/Boundary.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

// The suite-not-found code the host's suite layer answers with: 'S!Fd'.
constexpr SPErr kSuiteNotFound = 0x53214664;

std::string SuiteText(const char* name, int32_t version) {
    return std::string("\"") + name + "\" v" + std::to_string(version);
}
std::string EntryText(const void* entry, std::uint64_t) {
    const auto& e = *static_cast<const SuiteRegistry::Entry*>(entry);
    return SuiteText(e.name->c_str(), e.version);
}

SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    return Serve("AcquireSuite", [&](Host& host) -> A_Err {
        if (!name || !suite) Breach(A_Err_PARAMETER, "null name or result place");
        *suite = nullptr;
        if (auto injected = host.faults().OnSuiteAcquire(name, version)) return *injected;
        const SuiteRegistry::Entry* entry = host.suites().Lookup(name, version);
        if (!entry) {
            host.log().push_back("suite not found: " + SuiteText(name, version));
            return kSuiteNotFound;
        }
        RefId ref = host.ledger().Acquire(RefKind::Suite, RefWhat::Of(EntryText, entry));
        host.suite_refs()[entry].push_back(ref);
        *suite = entry->table;
        return A_Err_NONE;
    });
}

SPErr ReleaseSuite(const char* name, int32_t version) {
    return Serve("ReleaseSuite", [&](Host& host) -> A_Err {
        if (!name) Breach(A_Err_PARAMETER, "null suite name");
        const SuiteRegistry::Entry* entry = host.suites().Lookup(name, version);
        auto* refs_of = entry ? &host.suite_refs()[entry] : nullptr;
        if (!refs_of || refs_of->empty()) {
            Breach(A_Err_PARAMETER,
                   "release of " + SuiteText(name, version) + " that is not acquired");
        }
        host.ledger().Release(refs_of->back(), "ReleaseSuite");
        refs_of->pop_back();
        return A_Err_NONE;
    });
}

SPBoolean IsEqual(const char* a, const char* b) {
    SPBoolean equal = 0;
    Serve("IsEqual", [&](Host&) -> A_Err {
        equal = a && b && std::strcmp(a, b) == 0;
        return A_Err_NONE;
    });
    return equal;
}

SPBasicSuite MakeBasicSuite() {
    SPBasicSuite s{};
    s.AcquireSuite = AcquireSuite;
    s.ReleaseSuite = ReleaseSuite;
    s.IsEqual = IsEqual;
    TL_DECLINE(s, AllocateBlock);
    TL_DECLINE(s, FreeBlock);
    TL_DECLINE(s, ReallocateBlock);
    TL_DECLINE(s, Undefined);
    return s;
}

}  // namespace

const SPBasicSuite& BasicSuiteTable() {
    static const SPBasicSuite table = MakeBasicSuite();
    return table;
}

}  // namespace tlhost
