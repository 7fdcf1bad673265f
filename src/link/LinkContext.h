#pragma once

namespace linkora {

class HandsetLibrary;
class Sleep;
struct SessionState;

// What every exchange with the handset needs: the library that reaches it,
// the one way to wait, and the run's remembered state.
struct LinkContext {
  HandsetLibrary& library;
  Sleep& sleep;
  SessionState& state;
};

}  // namespace linkora
