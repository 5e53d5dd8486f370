#include "util/folder_tree.h"

#include "platform/attributes.h"
#include "platform/host_files.h"
#include "platform/host_path.h"
#include "util/file_ops.h"
#include "util/message_sink.h"
#include "util/name_list.h"
#include "util/path_names.h"

namespace util {

bool ConfirmRootDelete(const QString& path) {
    if (path.size() > 3) return true;
    const QString drive = path.left(1);
    if (Messages().StandardMessage(
            QStringLiteral("いま削除しようとしているフォルダーは、ドライブ") + drive +
                QStringLiteral(" のルート･ディレクトリです\n\n"
                               "削除してもいいですか？"),
            Buttons::YesNo, kAnswerNo) != kAnswerYes) {
        return false;
    }
    return Messages().StandardMessage(
               QStringLiteral("このまま続行すると、ドライブ ") + drive +
                   QStringLiteral("の内容は総て削除されてしまいますが、いいですか？"),
               Buttons::YesNo, kAnswerNo) == kAnswerYes;
}

void DeleteFolderTree(const QString& path) {
    if (!ConfirmRootDelete(path)) return;
    const QString pattern = JoinPath(path, QStringLiteral("*.*"));
    const QStringList files = SplitNameList(ListFileNames(pattern));
    const QStringList folders = SplitNameList(ListFolderNames(pattern));
    for (const QString& name : files) {
        const QString file = JoinPath(path, name);
        DeleteOneFile(file);
        if (FileExists(file)) {
            Messages().StandardMessage(QStringLiteral("ファイルを削除できません\n\n") + file,
                                       Buttons::Ok, kAnswerOk);
        }
    }
    for (const QString& name : folders) DeleteFolderTree(JoinPath(path, name));
    if (const auto host = platform::ToHostPath(path)) {
        // Links to folders are never listed, so never followed: remove the links themselves.
        platform::RemoveLinksIn(*host);
        platform::WriteAttributes(*host, 0);
        platform::RemoveHostFolder(*host);
    }
}

}  // namespace util
