#pragma once

// The options of unattended runs that the menu "Tetoruｵﾌﾟｼｮﾝ(&O)" toggles.
// They are kept as the settings store them (-1 yes, 0 no) and written only
// when the window closes.
namespace catalog {

struct RunOptions {
    int newFileOnly = -1;   // NewFileOnly
    int autoPowerOff = 0;   // AutoPowerOff
    int skipRemovable = 0;  // SkipRemovable
    int notifySuccess = 0;  // NotifySuccess: written the moment it changes
};

// Bitwise complement: -1 becomes 0 and 0 becomes -1.
constexpr int Complement(int option) { return ~option; }

// Check marks of M_設定_更新: item 0 (all folders) when the option is not -1,
// item 1 (updated folders only) when it is not 0. A value read from a
// hand-edited file may check both.
constexpr bool AllFoldersChecked(int newFileOnly) { return newFileOnly != -1; }
constexpr bool UpdatedOnlyChecked(int newFileOnly) { return newFileOnly != 0; }

}  // namespace catalog
