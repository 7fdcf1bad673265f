#pragma once

namespace linkora {

// The one way the program waits a fixed time. The desktop program keeps its
// windows painted while it waits; tests record each wait and return at once.
class Sleep {
 public:
  virtual ~Sleep() = default;
  virtual void Wait(int milliseconds) = 0;
};

// Blocks the calling thread for the whole wait (command-line tools, the
// emulator); a stop request (Ctrl-C) ends it early.
class ThreadSleep final : public Sleep {
 public:
  void Wait(int milliseconds) override;
};

}  // namespace linkora
