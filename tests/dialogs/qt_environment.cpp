#include "dialogs/input_dialog.h"
#include "dialogs/message_box.h"
#include "util/message_sink.h"

#include <gtest/gtest.h>
#include <QApplication>

namespace {

// One QApplication for the whole test program; the dialogs are deleted before
// it goes.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "dialogs_test";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        util::SetProgramTitle(QStringLiteral("キバコ"));
    }

    void TearDown() override {
        dialogs::CloseMessageBox();
        dialogs::CloseInputForm();
        delete app_;
    }

  private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
