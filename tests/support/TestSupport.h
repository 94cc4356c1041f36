// Shared set-up for tests: sessions over the built module (loaded as the host
// loads it) or over the plug-in's static library in this process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "session/Session.h"

namespace tltest {

std::vector<std::uint8_t> ReadFile(const std::string& path);
std::vector<std::uint8_t> BuiltResource();

// The plug-in's entry points linked into the test program.
tlhost::EntryPoints InProcessEntryPoints();
// The built module, loaded through dlopen. Fails the current test when refused.
std::unique_ptr<tlhost::Session> LoadModule();
// The plug-in linked into the test program, driven through the same host.
std::unique_ptr<tlhost::Session> StartInProcess();
// Either of the above, followed by parameter setup and an effect on a null layer.
struct Applied {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
};
Applied StartWithEffect(bool in_process = true);

// Lines naming each leftover reference, for assertion messages.
std::string Leftovers(const tlhost::CommandReport& report);

// Sets a slider, popup, checkbox or button parameter's value as the user would.
void SetParamValue(PF_ParamDef& def, double value);

}  // namespace tltest
