// tetherline-host: drives the plug-in module through the stand-in host.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "session/Session.h"

namespace {

struct ModuleOptions {
    std::string module = TL_DEFAULT_MODULE;
    std::string resource = TL_DEFAULT_RESOURCE;
};

void AddModuleOptions(CLI::App* command, ModuleOptions& options) {
    command->add_option("--module", options.module, "plug-in module to load")
        ->capture_default_str();
    command->add_option("--resource", options.resource, "its registration resource")
        ->capture_default_str();
}

std::unique_ptr<tlhost::Session> LoadOrExplain(const ModuleOptions& options) {
    std::vector<std::string> log;
    auto session = tlhost::Session::Load(options.module, options.resource, &log);
    if (!session) {
        for (const auto& line : log) std::cerr << line << "\n";
    }
    return session;
}

int About(const ModuleOptions& options) {
    auto session = LoadOrExplain(options);
    if (!session) return 1;
    tlhost::CommandReport report = session->About();
    std::string text = report.return_msg;
    for (char& c : text) {
        if (c == '\r') c = '\n';
    }
    std::cout << text << "\n";
    return report.result == PF_Err_NONE && report.clean() ? 0 : 1;
}

int Pipl(const ModuleOptions& options) {
    std::ifstream in(options.resource, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << options.resource << "\n";
        return 1;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    for (unsigned char b : bytes) std::printf("%02x", b);
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Drives the Tetherline Styles plug-in through the stand-in host."};
    app.require_subcommand(1);
    ModuleOptions options;

    CLI::App* about = app.add_subcommand("about", "print the plug-in's about text");
    AddModuleOptions(about, options);
    CLI::App* pipl = app.add_subcommand("pipl", "print the registration resource as hex");
    pipl->add_option("--resource", options.resource, "registration resource written by the build")
        ->capture_default_str();

    CLI11_PARSE(app, argc, argv);
    if (*about) return About(options);
    if (*pipl) return Pipl(options);
    return 1;
}
