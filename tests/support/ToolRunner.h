// Running tetherline-host from tests, as scripts and the README run it.
#pragma once

#include <string>
#include <vector>

namespace tltest {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A file of the current test's own under the test temporary folder.
std::string TempFile(const std::string& leaf);
std::string ExamplePath(const std::string& name);
std::string ReadAll(const std::string& path);
Outcome RunTool(const std::vector<std::string>& args);
// Runs the tool with `arguments` split as the shell splits them (quote paths yourself) and
// returns its standard output as lines; `status` gets the exit status, -1 when it did not run
// or did not exit.
std::vector<std::string> RunToolLines(const std::string& arguments, int* status);
// How many times `part` occurs in `text`.
std::size_t Count(const std::string& text, const std::string& part);

}  // namespace tltest
