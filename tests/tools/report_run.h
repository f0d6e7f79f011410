#pragma once
// Runs the report command through the shell, as a script would, and collects
// its exit status and output.

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "fixtures/pat98_writer.h"
#include "platform/sjis.h"

namespace zb::test {

struct ReportRun {
    int status = -1;
    std::string out, err;
};

// A path as the shell of the system running the tests takes it: under Wine the
// build folder's POSIX path is reached through drive Z.
inline std::string ShellPath(std::string path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return "\"" + path + "\"";
}

inline ReportRun RunProgram(const std::string& binary, const std::vector<std::string>& args) {
    fixture::TempDir t;
    const std::string errFile = t.path() + "/err";
    std::string cmd = ShellPath(binary);
    for (const std::string& a : args) cmd += " " + (a.rfind("--", 0) == 0 ? a : ShellPath(a));
    cmd += " 2>" + ShellPath(errFile);
#ifdef _WIN32
    // cmd.exe drops the outer quotes of a line that starts with one.
    cmd = "\"" + cmd + "\"";
#endif
    ReportRun r;
#ifdef _WIN32
    // UTF-16, as names outside the ANSI code page need; the bytes as written,
    // CR LF kept.
    const std::u16string wide = Utf8ToU16(cmd);
    FILE* p = _wpopen(std::wstring(wide.begin(), wide.end()).c_str(), L"rb");
#else
    FILE* p = popen(cmd.c_str(), "r");
#endif
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
#ifdef _WIN32
    r.status = st;
#else
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
#endif
    r.err = fixture::ReadAll(errFile);
    return r;
}

inline ReportRun RunReport(const std::vector<std::string>& args) {
    return RunProgram(ZB_REPORT_BINARY, args);
}

}  // namespace zb::test
