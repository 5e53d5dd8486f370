#include "widgets/beep.h"

#include <QApplication>

#include <utility>

namespace widgets {
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

void SetBeepForTesting(std::function<void()> beep) { BeepOverride() = std::move(beep); }

}  // namespace widgets
