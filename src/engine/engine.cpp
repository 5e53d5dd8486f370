#include "engine/engine.h"

#include "platform/clock.h"

#include <limits>

namespace engine {
namespace {
std::optional<int> SlotOf(QChar letter) {
    const char16_t upper = letter.toUpper().unicode();
    if (upper < u'A' || upper > u'Z') return std::nullopt;
    return upper - u'A';
}
}  // namespace

Engine::Engine(EngineUi& ui, ArchiverBackend archiver) : ui_(&ui), archiver_(std::move(archiver)) {}

void Engine::ResetFileCounter() { fileCounter_ = 0; }

void Engine::CountFile() {
    // The counter was 16 bits wide; a run of more files keeps counting.
    if (fileCounter_ < std::numeric_limits<int>::max()) ++fileCounter_;
    ui_->SetCountText(QString::number(fileCounter_));
}

void Engine::StartRun() {
    abort_ = false;
    fileCounter_ = 0;
    failedReports_.clear();
    counts_ = RunCounts{};
    skippedMedia_ = QStringLiteral("/");
    runStart_ = platform::Now();
    historyFolders_.clear();
    historyNotes_.clear();
}

void Engine::AddHistoryFolder(const platform::HostPath& hostFolder) {
    if (!historyFolders_.contains(hostFolder)) historyFolders_.append(hostFolder);
}

QString Engine::CachedTitle(QChar letter) const {
    const auto slot = SlotOf(letter);
    return slot ? titleCache_[*slot] : QString();
}

void Engine::CacheTitle(QChar letter, const QString& title) {
    if (const auto slot = SlotOf(letter)) titleCache_[*slot] = title;
}

}  // namespace engine
