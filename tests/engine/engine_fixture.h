#pragma once

#include "engine/engine.h"
#include "support/scripted_ui.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

// Real folders on a temporary drive table, a scripted user, and an engine
// whose archiver calls are recorded before they reach the real library.
class EngineTest : public ::testing::Test {
  protected:
    EngineTest() : engine(ui, RecordingArchiver()) {}

    engine::ArchiverBackend RecordingArchiver() {
        engine::ArchiverBackend real = engine::ArchiverBackend::Library();
        engine::ArchiverBackend recording;
        recording.unlha =
            [this, real](
                const archiver::UnlhaCommand& command) -> std::optional<archiver::CommandResult> {
            commandLines.push_back("unlha " + archiver::UnlhaCommandLine(command));
            if (deleteResult && command.verb == archiver::UnlhaVerb::kDeleteMissing) {
                return deleteResult;
            }
            if (archiverResult) return archiverResult;
            if (archiverCode) return Answer(*archiverCode);
            return real.unlha(command);
        };
        recording.zip =
            [this,
             real](const archiver::ZipCommand& command) -> std::optional<archiver::CommandResult> {
            commandLines.push_back("zip " + archiver::ZipCommandLine(command));
            if (archiverResult) return archiverResult;
            if (archiverCode) return Answer(*archiverCode);
            return real.zip(command);
        };
        return recording;
    }

    static std::optional<archiver::CommandResult> Answer(std::optional<int> code) {
        if (!code) return std::nullopt;
        return archiver::CommandResult{*code, "refused by the test", {}, {}};
    }

    TempDrives drives;
    ScriptedUi ui;
    std::vector<std::string> commandLines;
    // When set, every archiver call answers this instead of running.
    std::optional<std::optional<int>> archiverCode;
    // When set, every archiver call answers this result instead of running.
    std::optional<archiver::CommandResult> archiverResult;
    // When set, the LZH delete of missing members answers this; updates run.
    std::optional<archiver::CommandResult> deleteResult;
    engine::Engine engine;
};

}  // namespace testing_support
