#pragma once

#include <QValidator>

#include "common/Cp949.h"
#include "shell/QtText.h"

namespace linkora {

// Lets an edit hold only text that fits a record field: at most `limit`
// bytes in CP949, and nothing the code page cannot hold. A keystroke that
// would break either rule is refused, so the edit stops at the limit.
class Cp949LimitValidator final : public QValidator {
 public:
  Cp949LimitValidator(std::size_t limit, QObject* parent) : QValidator(parent), limit_(limit) {}

  State validate(QString& input, int& /*pos*/) const override {
    const auto length = cp949::EncodedLength(FromQt(input));
    return length && *length <= limit_ ? Acceptable : Invalid;
  }

 private:
  std::size_t limit_;
};

}  // namespace linkora
