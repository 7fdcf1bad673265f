#pragma once

#include "common/Sleep.h"

namespace linkora {

// The desktop program's wait: until the time is up it keeps handling the
// windows' queued events (painting, timers), so a progress window stays
// painted through the handset's fixed waits. Keyboard and mouse input is
// held back until the wait ends, so no command can start inside a wait.
class PumpingSleep final : public Sleep {
 public:
  void Wait(int milliseconds) override;
};

}  // namespace linkora
