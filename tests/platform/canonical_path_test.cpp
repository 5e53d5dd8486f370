#include "platform/canonical_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using platform::CanonicalFolderScope;
using platform::CanonicalPath;
using Kind = platform::HostLook::Kind;

namespace {

class CanonicalPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = QDir(dir_.path()).canonicalPath();
        ASSERT_TRUE(QDir().mkpath(root_ + QStringLiteral("/one/src")));
        ASSERT_TRUE(QDir().mkpath(root_ + QStringLiteral("/two/src")));
        Link(QStringLiteral("one"));
    }
    // Points root/alias at root/target.
    void Link(const QString& target) {
        const QString alias = root_ + QStringLiteral("/alias");
        QFile::remove(alias);
        ASSERT_TRUE(QFile::link(root_ + u'/' + target, alias));
    }
    platform::HostPath Path(const char* below) const {
        return platform::HostPath(root_ + QString::fromUtf8(below));
    }

    QTemporaryDir dir_;
    QString root_;
};

TEST_F(CanonicalPathTest, ResolvesLinksAboveAndAtThePathAndKeepsAMissingTail) {
    for (int scoped = 0; scoped < 2; ++scoped) {
        std::optional<CanonicalFolderScope> scope;
        if (scoped) scope.emplace();
        EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/one/src"));
        EXPECT_EQ(CanonicalPath(Path("/alias/src/new/deeper")), Path("/one/src/new/deeper"));
        EXPECT_EQ(CanonicalPath(Path("/alias")), Path("/one"));
        EXPECT_EQ(CanonicalPath(Path("/alias/src"), Kind::Folder), Path("/one/src"));
        EXPECT_EQ(CanonicalPath(Path("/alias"), Kind::Link), Path("/one"));
        EXPECT_EQ(CanonicalPath(Path("/alias/gone"), Kind::Nothing), Path("/one/gone"));
        EXPECT_EQ(CanonicalPath(platform::HostPath()), platform::HostPath());
    }
}

// The folders above a path are remembered only while a scope lives: a link
// moved between two runs is followed to its new place.
TEST_F(CanonicalPathTest, RemembersFoldersAboveOnlyWithinAScope) {
    EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/one/src"));
    Link(QStringLiteral("two"));
    EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/two/src"));
    {
        const CanonicalFolderScope run;
        EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/two/src"));
        {
            const CanonicalFolderScope nested;
            Link(QStringLiteral("one"));
            // Remembered for the length of the run.
            EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/two/src"));
        }
        EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/two/src"));
        // A link at the path itself is always read.
        ASSERT_TRUE(QFile::link(Path("/one/src").text(), Path("/two/direct").text()));
        EXPECT_EQ(CanonicalPath(Path("/two/direct")), Path("/one/src"));
    }
    EXPECT_EQ(CanonicalPath(Path("/alias/src")), Path("/one/src"));
}

}  // namespace
