#include "platform/file_compare.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class FileCompare : public ::testing::Test {
  protected:
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
    platform::ContentComparer comparer;
};

// Files of more than one chunk, told apart by a byte in the last one.
TEST_F(FileCompare, ComparesEveryChunkAndTheSize) {
    const qsizetype size = 2 * platform::ContentComparer::kChunkBytes + 5;
    QByteArray bytes(size, 'k');
    const QString left = Write("left.bin", bytes);
    EXPECT_TRUE(
        comparer.Same(platform::HostPath(left), platform::HostPath(Write("same.bin", bytes))));
    bytes[size - 1] = 'x';
    EXPECT_FALSE(
        comparer.Same(platform::HostPath(left), platform::HostPath(Write("last.bin", bytes))));
    bytes[size - 1] = 'k';
    bytes[platform::ContentComparer::kChunkBytes] = 'x';
    EXPECT_FALSE(
        comparer.Same(platform::HostPath(left), platform::HostPath(Write("second.bin", bytes))));
    EXPECT_FALSE(comparer.Same(platform::HostPath(left),
                               platform::HostPath(Write("shorter.bin", bytes.left(size - 1)))));
    EXPECT_TRUE(comparer.Same(platform::HostPath(Write("empty1", {})),
                              platform::HostPath(Write("empty2", {}))));
}

// Anything but two readable regular files differs, and a FIFO is not waited on.
TEST_F(FileCompare, WhatCannotBeReadDiffers) {
    const QString file = Write("file.txt", "abc");
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(comparer.Same(platform::HostPath(file), platform::HostPath(fifo)));
    EXPECT_FALSE(comparer.Same(platform::HostPath(fifo), platform::HostPath(fifo)));
    EXPECT_FALSE(comparer.Same(platform::HostPath(file), platform::HostPath(dir.path())));
    EXPECT_FALSE(comparer.Same(platform::HostPath(file),
                               platform::HostPath(dir.filePath(QStringLiteral("missing")))));
    EXPECT_TRUE(comparer.Same(platform::HostPath(file), platform::HostPath(file)));
}

}  // namespace
