#include "core/Host.h"

#include "suites/Tables.h"

namespace tlhost {

namespace {
Host* g_current = nullptr;
}  // namespace

Host::Host() : basic_suite_(BasicSuiteTable()), utils_(UtilCallbacksTable()) {
    RegisterHostSuites(suites_);
}

Host::~Host() {
    if (g_current == this) g_current = nullptr;
}

Host* Host::Current() {
    return g_current;
}

Host::Scope::Scope(Host& host) : previous_(g_current) {
    g_current = &host;
}

Host::Scope::~Scope() {
    g_current = previous_;
}

AEGP_PluginID Host::RegisterPlugin(const std::string& name) {
    registered_plugins_.push_back(name);
    return static_cast<AEGP_PluginID>(registered_plugins_.size());
}

StreamValue Host::ValueAfterExpressions(StreamNode& node, double time) {
    if (evaluator_ && node.expression_enabled && !node.expression.empty()) {
        return evaluator_(project_, node, time);
    }
    return node.ValueAt(time);
}

AEGP_InstalledEffectKey Host::InstalledKey(const std::string& match_name) {
    for (std::size_t i = 0; i < installed_effects_.size(); ++i) {
        if (installed_effects_[i] == match_name) return static_cast<AEGP_InstalledEffectKey>(i + 1);
    }
    installed_effects_.push_back(match_name);
    return static_cast<AEGP_InstalledEffectKey>(installed_effects_.size());
}

const std::string* Host::InstalledMatchName(AEGP_InstalledEffectKey key) const {
    if (key <= 0 || static_cast<std::size_t>(key) > installed_effects_.size()) return nullptr;
    return &installed_effects_[static_cast<std::size_t>(key - 1)];
}

}  // namespace tlhost
