#include "catalog/window/catalog_menus.h"

#include <QMenu>
#include <QMenuBar>

namespace catalog {
namespace {

QAction* Item(QMenu* menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(checkable);
    return action;
}

QAction* IndexedItem(QMenu* menu, const char* name, int index, const QString& caption) {
    QAction* action = Item(menu, name, caption, true);
    action->setObjectName(action->objectName() + QString::number(index));
    return action;
}

QMenu* SubMenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(QString::fromUtf8(name) + QStringLiteral("_menu"));
    sub->menuAction()->setObjectName(QString::fromUtf8(name));
    return sub;
}

void FileMenu(QMenuBar& bar, CatalogMenus& m) {
    QMenu* menu = bar.addMenu(QStringLiteral("ファイル(&F)"));
    menu->setObjectName(QStringLiteral("M_ファイル"));
    m.fileStart = Item(menu, "M_ファイル_開始", QStringLiteral("バックアップ開始 <全>   (&B)"));
    m.fileUpdate = Item(menu, "M_ファイル_更新", QStringLiteral("バックアップ開始 <更新> (&U)"));
    menu->addSeparator();
    m.fileCheck = Item(menu, "MF_確認", QStringLiteral("登録済みフォルダーの確認 (&Q)"));
    menu->addSeparator();
    m.fileExit = Item(menu, "M_ファイル_終了", QStringLiteral("Kibakoの終了 (&X)"));
    menu->addSeparator();
    m.fileRestore = Item(menu, "MF_復元", QStringLiteral("バックアップから復元 (&R)"));
    m.fileVerify = Item(menu, "MF_照合", QStringLiteral("バックアップの照合 (&V)"));
    m.fileVersions = Item(menu, "MF_以前", QStringLiteral("以前の版 (&P)..."));
    m.fileRestoreAsOf = Item(menu, "MF_時刻復元", QStringLiteral("日時を指定して復元 (&T)..."));
}

void EditMenu(QMenuBar& bar, CatalogMenus& m) {
    QMenu* menu = bar.addMenu(QStringLiteral("編集(&E)"));
    menu->setObjectName(QStringLiteral("M_編集"));
    m.editChange = Item(menu, "M_編集_修正", QStringLiteral("設定を修正 (&E)"));
    m.editDelete = Item(menu, "M_編集_削除", QStringLiteral("設定を削除 (&D)"));
}

void DisplayMenu(QMenuBar& bar, CatalogMenus& m) {
    QMenu* menu = bar.addMenu(QStringLiteral("表示(&D)"));
    menu->setObjectName(QStringLiteral("M_表示"));
    m.expandAll = Item(menu, "MD_展開", QStringLiteral("全フォルダーを展開する (&C)"), true);
    menu->addSeparator();
    m.font = Item(menu, "M_表示_フォント", QStringLiteral("フォント (&F)"));
    m.alphabet = SubMenu(menu, "M_表示_ALPHA", QStringLiteral("ファイル名のアルファベット (&A)"));
    const QString cases[] = {
        QStringLiteral("そのまま表示 (&O)"), QStringLiteral("小文字で表示 (&L)"),
        QStringLiteral("大文字で表示 (&U)"), QStringLiteral("頭文字のみ大文字(&C)")};
    for (int i = 0; i < 4; ++i)
        m.nameCase[static_cast<size_t>(i)] = IndexedItem(m.alphabet, "M_表示_文字", i, cases[i]);
    m.colours = Item(menu, "M_表示_色設定", QStringLiteral("色の変更 (&C)"));
    menu->addSeparator();
    m.ruledLines = SubMenu(menu, "M_表示_KEI", QStringLiteral("罫線表示 (&K)"));
    m.folderVertical =
        Item(m.ruledLines, "M_表示_縦罫D", QStringLiteral("フォルダー枠の縦の罫線 (&V)"), true);
    m.folderHorizontal =
        Item(m.ruledLines, "M_表示_横罫D", QStringLiteral("フォルダー枠の横の罫線 (&H)"), true);
    m.fileVertical =
        Item(m.ruledLines, "M_表示_縦罫F", QStringLiteral("ファイル枠の縦の罫線 (&V)"), true);
    m.fileHorizontal =
        Item(m.ruledLines, "M_表示_横罫F", QStringLiteral("ファイル枠の横の罫線 (&H)"), true);
    m.interleaveMenu = SubMenu(menu, "M_表示_ITLV", QStringLiteral("行間 (&I)"));
    for (int i = 0; i < 4; ++i) {
        m.interleave[static_cast<size_t>(i)] = IndexedItem(
            m.interleaveMenu, "M_表示_行間", i, QStringLiteral("%1ドット (&%1)").arg(i + 1));
    }
}

void HelpMenu(QMenuBar& bar, CatalogMenus& m) {
    QMenu* menu = bar.addMenu(QStringLiteral("ヘルプ(&H)"));
    menu->setObjectName(QStringLiteral("M_ヘルプ"));
    m.topics = Item(menu, "M_トピック", QStringLiteral("トピック検索"));
}

void OptionsMenu(QMenuBar& bar, CatalogMenus& m) {
    QMenu* menu = bar.addMenu(QStringLiteral("Tetoruｵﾌﾟｼｮﾝ(&O)"));
    menu->setObjectName(QStringLiteral("M_設定"));
    m.newFileOnly[0] =
        IndexedItem(menu, "M_設定_更新", 0, QStringLiteral("登録された全フォルダーを対象とする"));
    m.newFileOnly[1] =
        IndexedItem(menu, "M_設定_更新", 1, QStringLiteral("更新されたフォルダーのみを対象とする"));
    m.skipRemovable = Item(menu, "M_設定_未装着",
                           QStringLiteral("未装着のリムーバブル・ディスクは更新しない"), true);
    menu->addSeparator();
    m.powerOff =
        Item(menu, "M_設定_電源", QStringLiteral("バックアップしたら、Windowsを終了"), true);
    // Beyond the old program's items: Tetoru's desktop notification.
    menu->addSeparator();
    m.notifySuccess = Item(menu, "M_設定_通知",
                           QStringLiteral("成功したときもデスクトップに通知する (&N)"), true);
    m.schedule = Item(menu, "M_設定_予定", QStringLiteral("実行スケジュール (&S)..."));
    m.runLog = Item(menu, "M_設定_記録", QStringLiteral("実行の記録 (&L)..."));
    m.history = Item(menu, "M_設定_履歴", QStringLiteral("バックアップの履歴 (&H)..."));
}

}  // namespace

CatalogMenus BuildCatalogMenus(QMenuBar& bar) {
    CatalogMenus m;
    FileMenu(bar, m);
    EditMenu(bar, m);
    DisplayMenu(bar, m);
    HelpMenu(bar, m);
    OptionsMenu(bar, m);
    return m;
}

}  // namespace catalog
