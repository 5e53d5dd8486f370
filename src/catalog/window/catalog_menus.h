#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace catalog {

// The menu items of the catalog window. Each action's object name is its
// control name; items of a control array carry their index as a suffix
// ("M_設定_更新0", "M_表示_文字3"). Sub-menus are reached through their
// menu action ("M_表示_ALPHA", "M_表示_KEI", "M_表示_ITLV").
struct CatalogMenus {
    QAction* fileStart = nullptr;           // M_ファイル_開始
    QAction* fileUpdate = nullptr;          // M_ファイル_更新
    QAction* fileCheck = nullptr;           // MF_確認
    QAction* fileExit = nullptr;            // M_ファイル_終了
    QAction* fileRestore = nullptr;         // after the end: restore from a backup
    QAction* fileVerify = nullptr;          // after the end: check a backup
    QAction* fileVersions = nullptr;        // after the end: the versions of a file
    QAction* fileRestoreAsOf = nullptr;     // after the end: restore as of a time
    QAction* editChange = nullptr;          // M_編集_修正
    QAction* editDelete = nullptr;          // M_編集_削除
    QAction* expandAll = nullptr;           // MD_展開
    QAction* font = nullptr;                // M_表示_フォント
    QMenu* alphabet = nullptr;              // M_表示_ALPHA
    std::array<QAction*, 4> nameCase{};     // M_表示_文字 0-3
    QAction* colours = nullptr;             // M_表示_色設定
    QMenu* ruledLines = nullptr;            // M_表示_KEI
    QAction* folderVertical = nullptr;      // M_表示_縦罫D
    QAction* folderHorizontal = nullptr;    // M_表示_横罫D
    QAction* fileVertical = nullptr;        // M_表示_縦罫F
    QAction* fileHorizontal = nullptr;      // M_表示_横罫F
    QMenu* interleaveMenu = nullptr;        // M_表示_ITLV
    std::array<QAction*, 4> interleave{};   // M_表示_行間 0-3
    QAction* topics = nullptr;              // M_トピック
    std::array<QAction*, 2> newFileOnly{};  // M_設定_更新 0-1
    QAction* skipRemovable = nullptr;       // M_設定_未装着
    QAction* powerOff = nullptr;            // M_設定_電源
    QAction* notifySuccess = nullptr;       // M_設定_通知
    QAction* schedule = nullptr;            // M_設定_予定
    QAction* runLog = nullptr;              // M_設定_記録
    QAction* history = nullptr;             // M_設定_履歴
};

// Fills the menu bar in the order of the catalog window: ファイル, 編集, 表示,
// ヘルプ, Tetoruｵﾌﾟｼｮﾝ. Actions are parented to the bar and connected to
// nothing.
CatalogMenus BuildCatalogMenus(QMenuBar& bar);

}  // namespace catalog
