#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class PhoneLink;
class TransferHost;

// What the media transfer window is asked to do.
enum class MediaTransferMode : int {
  ReadList = 0,  // read the media list
  ReadFile = 1,  // read one stored media file
  Write = 2,     // write one media file, then the media list
  Reset = 3,     // restart the handset after an upload
};

// Modal results of a media transfer.
inline constexpr int kMediaTransferDone = 1;
inline constexpr int kMediaTransferFailed = 2;

// The inputs and outputs of one media transfer, set by the caller.
struct MediaTransferJob {
  MediaTransferMode mode = MediaTransferMode::ReadList;
  ConnectSettings settings;
  // The handset file to read (read modes) or write (Write).
  std::string fileName;
  // Read modes: receives the file (kPhoneFileCapacity bytes, owned by the caller).
  std::span<std::uint8_t> readBuffer;
  // Read modes, out: what ReadPhoneFile gave (the announced length, or -1),
  // and the bytes that actually arrived.
  int resultLength = -1;
  std::size_t receivedLength = 0;
  // Write: the slot file, then the whole media list to store after it.
  std::span<const std::uint8_t> data;
  std::span<const std::uint8_t> list;
  // Write: number of files in this upload and the 1-based position of this one.
  int stepCount = 1;
  int stepIndex = 1;
};

// The first thing the window does when it is shown: sets the title of the
// mode (and, for the reset, the full bar). Gives false for a mode without
// work, when nothing is to be started.
bool StartMediaTransfer(TransferHost& host, const MediaTransferJob& job);

// The work of the mode, run once the window is shown. Connects and verifies,
// transfers, closes the link and gives kMediaTransferDone or
// kMediaTransferFailed after the failure's messages.
int RunMediaTransfer(LinkContext context, TransferHost& host, MediaTransferJob& job);

// The three procedures RunMediaTransfer picks from.
int RunMediaRead(LinkContext context, TransferHost& host, MediaTransferJob& job);
int RunMediaWrite(LinkContext context, TransferHost& host, const MediaTransferJob& job);
int RunMediaReset(LinkContext context, TransferHost& host, const MediaTransferJob& job);

// A read mode's work on a link that is already open and verified; the link
// stays open when the file arrived and is closed after a failure's message.
// The write mode's work on a link that is open and offline; no reset.
int RunMediaWriteOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        const MediaTransferJob& job);
int RunMediaReadOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                       MediaTransferJob& job);

}  // namespace linkora
