#include "archiver/zip_archive_handle.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace archiver {
namespace {

// The bytes libzip reads for a slice of the central directory: the archive's own up to its
// directory, then the slice and end records that say it is the whole directory.
class SliceSource {
  public:
    SliceSource(const RandomAccessInput& input, std::uint64_t start, std::uint64_t head,
                std::vector<std::uint8_t> tail)
        : input_(input), start_(start), head_(head), tail_(std::move(tail)) {
        zip_error_init(&error_);
    }
    ~SliceSource() { zip_error_fini(&error_); }
    SliceSource(const SliceSource&) = delete;
    SliceSource& operator=(const SliceSource&) = delete;

    static zip_int64_t Call(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
        return static_cast<SliceSource*>(self)->Handle(data, length, command);
    }

  private:
    std::uint64_t size() const { return head_ + tail_.size(); }

    zip_int64_t Handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_OPEN:
                offset_ = 0;
                return 0;
            case ZIP_SOURCE_READ:
                return Read(static_cast<std::uint8_t*>(data), length);
            case ZIP_SOURCE_CLOSE:
                return 0;
            case ZIP_SOURCE_STAT: {
                if (length < sizeof(zip_stat_t)) break;
                auto* stat = static_cast<zip_stat_t*>(data);
                zip_stat_init(stat);
                stat->size = size();
                stat->valid |= ZIP_STAT_SIZE;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error_, data, length);
            case ZIP_SOURCE_FREE:
                delete this;
                return 0;
            case ZIP_SOURCE_SEEK: {
                const zip_int64_t to =
                    zip_source_seek_compute_offset(offset_, size(), data, length, &error_);
                if (to < 0) return -1;
                offset_ = static_cast<std::uint64_t>(to);
                return 0;
            }
            case ZIP_SOURCE_TELL:
                return static_cast<zip_int64_t>(offset_);
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(
                    ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                    ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                    ZIP_SOURCE_SUPPORTS, -1);
            default:
                break;
        }
        zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }

    zip_int64_t Read(std::uint8_t* data, zip_uint64_t length) {
        const std::uint64_t count =
            std::min<std::uint64_t>(length, size() - std::min(offset_, size()));
        std::uint64_t done = 0;
        if (offset_ < head_) {
            const std::uint64_t part = std::min(count, head_ - offset_);
            if (!input_.ReadAt(start_ + offset_, data, static_cast<std::size_t>(part))) {
                zip_error_set(&error_, ZIP_ER_READ, EIO);
                return -1;
            }
            done = part;
        }
        if (done < count) {
            const std::uint64_t at = offset_ + done - head_;
            std::copy_n(tail_.begin() + static_cast<std::ptrdiff_t>(at), count - done, data + done);
        }
        offset_ += count;
        return static_cast<zip_int64_t>(count);
    }

    const RandomAccessInput& input_;
    const std::uint64_t start_;
    const std::uint64_t head_;
    const std::vector<std::uint8_t> tail_;
    std::uint64_t offset_ = 0;
    zip_error_t error_;
};

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// End records for a directory of `count` records and `size` bytes at `offset`, which lie
// just before them: zip64 ones when a value needs them.
void AppendEndRecords(std::vector<std::uint8_t>& out, std::uint64_t offset, std::uint64_t count,
                      std::uint64_t size) {
    const bool zip64 = count >= 0xFFFF || size >= 0xFFFFFFFF || offset >= 0xFFFFFFFF;
    if (zip64) {
        const std::uint64_t at = offset + size;
        Put(out, 0x06064b50, 4);
        Put(out, 44, 8);
        Put(out, 45, 2);
        Put(out, 45, 2);
        Put(out, 0, 4);
        Put(out, 0, 4);
        Put(out, count, 8);
        Put(out, count, 8);
        Put(out, size, 8);
        Put(out, offset, 8);
        Put(out, 0x07064b50, 4);
        Put(out, 0, 4);
        Put(out, at, 8);
        Put(out, 1, 4);
    }
    Put(out, 0x06054b50, 4);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, zip64 ? 0xFFFF : count, 2);
    Put(out, zip64 ? 0xFFFF : count, 2);
    Put(out, zip64 ? 0xFFFFFFFF : size, 4);
    Put(out, zip64 ? 0xFFFFFFFF : offset, 4);
    Put(out, 0, 2);
}

}  // namespace

ZipArchiveHandle::ZipArchiveHandle(const std::filesystem::path& path, std::string& error) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive_ == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        SetError(path, zipError, error);
        zip_error_fini(&zipError);
    }
}

ZipArchiveHandle::ZipArchiveHandle(int fd, std::uint64_t start, const std::filesystem::path& path,
                                   std::string& error) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    FILE* file = copy < 0 ? nullptr : ::fdopen(copy, "rb");
    if (file == nullptr) {
        error = path.string() + ": " + std::strerror(errno);
        if (copy >= 0) ::close(copy);
        return;
    }
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The source owns the stream from here on, and the archive owns the source.
    zip_source_t* source = zip_source_filep_create(file, start, -1, &zipError);
    if (source == nullptr) {
        std::fclose(file);
    } else {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &zipError);
        if (archive_ == nullptr) zip_source_free(source);
    }
    if (archive_ == nullptr) SetError(path, zipError, error);
    zip_error_fini(&zipError);
}

ZipArchiveHandle::ZipArchiveHandle(const RandomAccessInput& input, std::uint64_t start,
                                   std::uint64_t directoryOffset, std::vector<std::uint8_t> records,
                                   std::uint64_t count, const std::filesystem::path& path,
                                   std::string& error) {
    AppendEndRecords(records, directoryOffset, count, records.size());
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The source frees itself when libzip is done with it.
    auto* slice = new SliceSource(input, start, directoryOffset, std::move(records));
    zip_source_t* source = zip_source_function_create(&SliceSource::Call, slice, &zipError);
    if (source == nullptr) {
        delete slice;
    } else {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &zipError);
        if (archive_ == nullptr) zip_source_free(source);
    }
    if (archive_ == nullptr) SetError(path, zipError, error);
    zip_error_fini(&zipError);
}

ZipArchiveHandle::~ZipArchiveHandle() {
    if (archive_ != nullptr) zip_discard(archive_);
}

void ZipArchiveHandle::SetError(const std::filesystem::path& path, zip_error_t& zipError,
                                std::string& error) {
    error = path.string() + ": " + zip_error_strerror(&zipError);
}

}  // namespace archiver
