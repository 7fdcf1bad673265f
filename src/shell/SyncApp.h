#pragma once

#include <memory>

#include "link/HandsetLibrary.h"
#include "link/SessionState.h"
#include "shell/Profile.h"
#include "shell/PumpingSleep.h"
#include "shell/QtPromptService.h"

namespace linkora {

// The application: owns what lives for the whole run (the handset library,
// the wait, the remembered state, the prompts and the profile), runs the
// main window modally and ends when it closes. While it runs, Qt's own texts
// are Korean and F1 opens the help from every window.
class SyncApp {
 public:
  explicit SyncApp(std::unique_ptr<HandsetLibrary> library);

  // The run's state as the program starts: nothing remembered, the version text set.
  static SessionState InitialState();

  // Sets the program's font, runs the main window; gives the exit code.
  int Run();

 private:
  std::unique_ptr<HandsetLibrary> library_;
  PumpingSleep sleep_;
  SessionState state_;
  Profile profile_;
  QtPromptService prompts_;  // remembers the file dialogs' folders in the profile
};

}  // namespace linkora
