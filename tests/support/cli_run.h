#pragma once
// Running the real program from the command-line tests.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vortel {

namespace fs = std::filesystem;

struct RunResult {
    int code = -1;
    std::string out, err;
};

// A name in the temporary folder of its own to this test process: tests run
// in parallel, and so may other checkouts' suites.
inline fs::path scratchPath(const std::string& name) {
    return fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
}

// What a shell command writes on its standard output.
inline std::string commandOutput(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

// Runs the program with `args` (shell words) and collects its output.
// `env` ("NAME=value ...") is set for the program alone.
inline RunResult run(const std::string& args, const std::string& env = "") {
    static int counter = 0;
    fs::path errFile = scratchPath("vortel_cli_err_" + std::to_string(++counter));
    std::string cmd = (env.empty() ? "" : "env " + env + " ") + std::string(VORTEL_BINARY) + " " + args + " 2>" + errFile.string();
    RunResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return r;
}

}  // namespace vortel
