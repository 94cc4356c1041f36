#include "support/ToolRunner.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tltest {

namespace {

std::string Quoted(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string TempFile(const std::string& leaf) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "tl_tool_" + test->test_suite_name() + "_" + test->name() + "_" +
           leaf;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    return read.str();
}

std::string ExamplePath(const std::string& name) {
    return std::string(TL_EXAMPLES_DIR) + "/" + name;
}

Outcome RunTool(const std::vector<std::string>& args) {
    const std::string err_path = TempFile("stderr.txt");
    std::string command = Quoted(TL_HOST_TOOL_PATH);
    for (const auto& arg : args) command += " " + Quoted(arg);
    command += " 2>" + Quoted(err_path);
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.out.append(buffer, n);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = ReadAll(err_path);
    return outcome;
}

std::vector<std::string> RunToolLines(const std::string& arguments, int* status) {
    *status = -1;
    const std::string command = Quoted(TL_HOST_TOOL_PATH) + " " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int result = pclose(pipe);
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace tltest
