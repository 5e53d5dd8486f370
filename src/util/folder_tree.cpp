#include "util/folder_tree.h"

#include "platform/attributes.h"
#include "platform/host_files.h"
#include "platform/host_path.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/path_names.h"

namespace util {
namespace {

void DeleteTree(const platform::DrivePath& path, QStringList& failures) {
    const platform::DrivePath pattern = JoinPath(path, QStringLiteral("*.*"));
    const QStringList files = SplitNameList(ListFileNames(pattern));
    const QStringList folders = SplitNameList(ListFolderNames(pattern));
    for (const QString& name : files) {
        const platform::DrivePath file = JoinPath(path, name);
        DeleteOneFile(file);
        if (FileExists(file))
            failures.append(QStringLiteral("ファイルを削除できません\n\n") + file.text());
    }
    for (const QString& name : folders) DeleteTree(JoinPath(path, name), failures);
    if (const auto host = platform::ToHostPath(path)) {
        // Links to folders are never listed, so never followed: remove the links themselves.
        platform::RemoveLinksIn(*host);
        platform::WriteAttributes(*host, 0);
        platform::RemoveHostFolder(*host);
    }
}

}  // namespace

bool ConfirmRootDelete(const platform::DrivePath& drivePath, MessageSink& person) {
    const QString& path = drivePath.text();
    if (path.size() > 3) return true;
    const QString drive = path.left(1);
    if (person.StandardMessage(QStringLiteral("いま削除しようとしているフォルダーは、ドライブ") +
                                   drive +
                                   QStringLiteral(" のルート･ディレクトリです\n\n"
                                                  "削除してもいいですか？"),
                               Buttons::YesNo, Answer::No) != Answer::Yes) {
        return false;
    }
    return person.StandardMessage(
               QStringLiteral("このまま続行すると、ドライブ ") + drive +
                   QStringLiteral("の内容は総て削除されてしまいますが、いいですか？"),
               Buttons::YesNo, Answer::No) == Answer::Yes;
}

TreeDeletion DeleteFolderTree(const platform::DrivePath& path, MessageSink& person) {
    TreeDeletion deletion;
    if (!ConfirmRootDelete(path, person)) {
        deletion.declined = true;
        return deletion;
    }
    DeleteTree(path, deletion.failures);
    return deletion;
}

}  // namespace util
