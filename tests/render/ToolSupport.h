// Running tetherline-host from the renderer's tests, as scripts and the README run it.
#pragma once

#include <string>
#include <vector>

namespace rendertest {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A file of the current test's own under the test temporary folder.
std::string TempFile(const std::string& leaf);
std::string ExamplePath(const std::string& name);
Outcome RunTool(const std::vector<std::string>& args);
// How many times `part` occurs in `text`.
std::size_t Count(const std::string& text, const std::string& part);

}  // namespace rendertest
