#include "dialogs/beep.h"

#include "dialogs/dialog_testing.h"

#include <QApplication>

#include <utility>

namespace dialogs {
namespace {

std::function<void()>& BeepOverride() {
    static std::function<void()> beep;
    return beep;
}

}  // namespace

void Beep() {
    if (BeepOverride()) {
        BeepOverride()();
    } else {
        QApplication::beep();
    }
}

void presets::SetBeepForTesting(std::function<void()> beep) { BeepOverride() = std::move(beep); }

}  // namespace dialogs
