#include "util/error_wording.h"

#include <array>

namespace util {
namespace {

struct Wording {
    const char* english;
    const char* japanese;
};

// Longer descriptions first where one holds another ("No such file" is part
// of "No such file or directory").
constexpr std::array kWordings = {
    Wording{"No such file or directory", "ファイルまたはフォルダーが見つかりません"},
    Wording{"File name too long", "ファイル名が長すぎます"},
    Wording{"Permission denied", "アクセスが拒否されました"},
    Wording{"Operation not permitted", "この操作は許可されていません"},
    Wording{"No space left on device", "ディスクの空き容量が足りません"},
    Wording{"Disk quota exceeded", "ディスクの使用量の上限を超えました"},
    Wording{"Read-only file system", "書き込みのできないディスクです"},
    Wording{"File exists", "同じ名前のファイルがすでにあります"},
    Wording{"Not a directory", "フォルダーではありません"},
    Wording{"Is a directory", "フォルダーです"},
    Wording{"Directory not empty", "フォルダーが空ではありません"},
    Wording{"Too many levels of symbolic links", "シンボリックリンクの段数が多すぎます"},
    Wording{"Input/output error", "読み書きのエラーです"},
    Wording{"Device or resource busy", "装置が使用中です"},
    Wording{"No such device or address", "装置が見つかりません"},
    Wording{"No such device", "装置が見つかりません"},
    Wording{"Invalid cross-device link", "別のディスクへは移せません"},
    Wording{"Too many open files", "開いているファイルが多すぎます"},
    Wording{"File too large", "ファイルが大きすぎます"},
    Wording{"Text file busy", "ファイルが使用中です"},
    Wording{"Stale file handle", "ファイルの参照が無効になりました"},
    Wording{"Invalid argument", "指定が正しくありません"},
    Wording{"Not a zip archive", "ZIP 形式のファイルではありません"},
    Wording{"Zip archive inconsistent", "ZIP ファイルが壊れています"},
    Wording{"Premature end of file", "ファイルが途中で終わっています"},
    Wording{"No such file", "ファイルが見つかりません"},
    Wording{"Read error", "読み込みのエラーです"},
    Wording{"Write error", "書き込みのエラーです"},
    Wording{"path not found", "パスが見つかりません"},
};

}  // namespace

QString InJapaneseWording(QString text) {
    for (const Wording& wording : kWordings) {
        const QString english = QString::fromLatin1(wording.english);
        if (text.contains(english)) text.replace(english, QString::fromUtf8(wording.japanese));
    }
    return text;
}

}  // namespace util
