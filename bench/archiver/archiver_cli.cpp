// kibako_archiver_cli unlha|zip "<command line>": runs one archiver command and prints its
// report; the exit status is the command's return code.
#include <cstdio>
#include <string>

#include "archiver/archiver.h"
#include "platform/clock.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s unlha|zip \"<command line>\"\n", argv[0]);
        return 2;
    }
    platform::NameTheTimeZoneOnce();
    const std::string kind = argv[1];
    std::string output;
    const int code =
        kind == "zip" ? archiver::Zip(argv[2], output) : archiver::Unlha(argv[2], output);
    std::printf("%s\n", output.c_str());
    return code;
}
