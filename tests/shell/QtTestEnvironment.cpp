// One QApplication for every window test of this program, made before the
// first test and ended after the last.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

namespace {

class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    application_ = new QApplication(argc_, argv_);
    QApplication::setFont(QFont(QStringLiteral("NanumGothic"), 9));
  }
  void TearDown() override {
    delete application_;
    application_ = nullptr;
  }

 private:
  int argc_ = 1;
  char name_[16] = "shell_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
