#include "tetoru/window_program.h"

#include "platform/process.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#ifndef KIBAKO_WINDOW_PROGRAM_FROM_BINDIR
#define KIBAKO_WINDOW_PROGRAM_FROM_BINDIR "../libexec/kibako"
#endif

namespace tetoru {
namespace {

const char kWindowProgram[] = "tetoru-window";

}  // namespace

std::string WindowProgramPath() {
    const std::string own = platform::OwnExecutable();
    if (own.empty()) return {};
    const std::filesystem::path folder = std::filesystem::path(own).parent_path();
    for (const std::filesystem::path& candidate :
         {folder / kWindowProgram, folder / KIBAKO_WINDOW_PROGRAM_FROM_BINDIR / kWindowProgram}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return {};
}

void StartWindowProgram(char* arguments[]) {
    const std::string program = WindowProgramPath();
    if (program.empty()) {
        std::fprintf(stderr, "tetoru: %s was not found beside tetoru; running without a window\n",
                     kWindowProgram);
        return;
    }
    const int error = platform::ReplaceProcess(program, arguments);
    std::fprintf(stderr, "tetoru: cannot start %s: %s; running without a window\n", program.c_str(),
                 std::strerror(error));
}

}  // namespace tetoru
