#pragma once

#include <memory>
#include <string>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"
#include "link/PhoneLink.h"

namespace linkora {

class TransferHost;

enum class ConnectVariant {
  Reader,      // access checks, no offline step
  Writer,      // access checks, then offline
  FileWriter,  // no access checks, then offline
};

enum class OfflineStep {
  Now,       // a writer variant goes offline before returning
  Deferred,  // the caller tests something first, then calls GoOffline
};

// The common start of every transfer: switch the handset to diagnostic mode,
// find the port it answers on, check the model, send the service code, check
// the user's right to the data and, for writers, put the handset offline.
// Gives the open working link, or nothing after the failure has been shown
// (if it has a message) and the link closed; the caller then ends with 2.
std::unique_ptr<PhoneLink> ConnectAndVerify(LinkContext context, TransferHost& host,
                                            const ConnectSettings& settings, ConnectVariant variant,
                                            OfflineStep offline = OfflineStep::Now);

// The offline step on its own, for a writer that deferred it. On failure the
// message is shown and the link closed; the caller ends with 2.
bool GoOffline(PhoneLink& link, TransferHost& host);

// Sends the mode return on the named port so that the handset leaves
// diagnostic mode. A port that does not open is passed over in silence.
void SendModeReturn(LinkContext context, const std::string& portName);

// The end of a handset visit when a function window closes: nothing when the
// handset never answered in it, the mode return otherwise.
void EndHandsetVisit(LinkContext context, const std::string& diagPortName);

}  // namespace linkora
