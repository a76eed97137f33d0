#pragma once
// Runs the command-line companion as an operator would, with its output and exit status.
#include "TempDir.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct DixRun {
    int exitCode = -1;
    std::string out;
};

// `args` go to the shell as they are; stderr is folded into `out` unless `stderrTo` names
// a file for it. With `folder`, the program runs there.
inline DixRun RunDixIn(const std::string& folder, const std::string& args,
                       const std::string& stderrTo = "&1") {
    DixRun r;
    const std::string cd = folder.empty() ? std::string() : "cd '" + folder + "' && ";
    FILE* p =
        ::popen((cd + "'" + std::string(CORVANE_DIX_TOOL) + "' " + args + " 2>" + stderrTo).c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf;
    while (const std::size_t n = std::fread(buf.data(), 1, buf.size(), p))
        r.out.append(buf.data(), n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

inline DixRun RunDix(const std::string& args, const std::string& stderrTo = "&1") {
    return RunDixIn({}, args, stderrTo);
}

struct DixSplitRun {
    int exitCode = -1;
    std::string out, err;
};

// Standard output and standard error apart.
inline DixSplitRun RunDixApart(const std::string& args) {
    TempDir dir;
    const DixRun r = RunDix(args, "'" + dir.File("stderr") + "'");
    return {r.exitCode, r.out, ReadBytes(dir.File("stderr"))};
}
