#include "archiver/zip_file_source.h"

#include <memory>

#include "archiver/file_io.h"

namespace archiver {
namespace {

struct FileSourceState {
    std::filesystem::path hostPath;
    std::uint64_t size = 0;
    std::int64_t modifiedTime = 0;
    std::string* firstFailure = nullptr;
    std::unique_ptr<InputFile> input;
    zip_error_t error{};
};

zip_int64_t Fail(FileSourceState& state, int zipCode, const std::string& reason) {
    zip_error_set(&state.error, zipCode, 0);
    if (state.firstFailure->empty()) *state.firstFailure = reason;
    return -1;
}

zip_int64_t Callback(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* state = static_cast<FileSourceState*>(userdata);
    std::string reason;
    switch (command) {
        case ZIP_SOURCE_OPEN:
            state->input = std::make_unique<InputFile>();
            if (!state->input->Open(state->hostPath, reason)) {
                state->input.reset();
                return Fail(*state, ZIP_ER_OPEN, reason);
            }
            return 0;
        case ZIP_SOURCE_READ: {
            const long long got =
                state->input->Read(static_cast<std::uint8_t*>(data), length, reason);
            return got < 0 ? Fail(*state, ZIP_ER_READ, reason) : got;
        }
        case ZIP_SOURCE_CLOSE:
            state->input.reset();
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = state->size;
            stat->mtime = static_cast<time_t>(state->modifiedTime);
            stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&state->error, data, length);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&state->error);
            delete state;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&state->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

}  // namespace

zip_source_t* FileSourceFor(zip_t* archive, const SourceFile& file, std::string& firstFailure) {
    auto* state = new FileSourceState;
    state->hostPath = file.hostPath;
    state->size = file.size;
    state->modifiedTime = file.modifiedTime;
    state->firstFailure = &firstFailure;
    zip_error_init(&state->error);
    zip_source_t* source = zip_source_function(archive, Callback, state);
    if (source == nullptr) {
        zip_error_fini(&state->error);
        delete state;
    }
    return source;
}

}  // namespace archiver
