#pragma once

#include <string>

namespace linkora {

// What the program remembers for the whole run. One object, owned by the
// application and handed down, so that every test starts from a clean one.
struct SessionState {
  // Which model answered the last model check: 0 the small model, 1 the large one.
  int ModelIndex = 0;
  // The last phone number and lock code the user typed; a value that matches
  // the handset spares the next prompt.
  std::string RememberedPhoneNumber;
  std::string RememberedLockCode;
  // The main window's title.
  std::string VersionText;
};

}  // namespace linkora
