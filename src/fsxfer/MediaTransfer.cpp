#include "fsxfer/MediaTransfer.h"

#include <fmt/printf.h>

#include "fsxfer/PhoneFile.h"
#include "link/ConnectAndVerify.h"
#include "link/HandsetLibrary.h"
#include "link/TransferHost.h"
#include "resources/MediaTexts.h"

namespace linkora {
namespace {

std::string StepTitle(std::string_view format, const MediaTransferJob& job) {
  return fmt::sprintf(std::string(format), job.stepIndex, job.stepCount);
}

}  // namespace

bool StartMediaTransfer(TransferHost& host, const MediaTransferJob& job) {
  switch (job.mode) {
    case MediaTransferMode::ReadList:
      host.SetTitle(texts::kMediaListReadTitle);
      return true;
    case MediaTransferMode::ReadFile:
      host.SetTitle(texts::kMediaFileReadTitle);
      return true;
    case MediaTransferMode::Write:
      host.SetTitle(StepTitle(texts::kMediaWriteStep1Format, job));
      return true;
    case MediaTransferMode::Reset:
      host.SetTitle(texts::kMediaTransferFinishedTitle);
      host.SetProgress(100);
      return true;
  }
  return false;
}

int RunMediaTransfer(LinkContext context, TransferHost& host, MediaTransferJob& job) {
  switch (job.mode) {
    case MediaTransferMode::ReadList:
    case MediaTransferMode::ReadFile:
      return RunMediaRead(context, host, job);
    case MediaTransferMode::Write:
      return RunMediaWrite(context, host, job);
    case MediaTransferMode::Reset:
      return RunMediaReset(context, host, job);
  }
  return kMediaTransferFailed;
}

int RunMediaRead(LinkContext context, TransferHost& host, MediaTransferJob& job) {
  job.resultLength = -1;
  job.receivedLength = 0;
  const auto link = ConnectAndVerify(context, host, job.settings, ConnectVariant::Reader);
  if (!link) {
    return kMediaTransferFailed;
  }
  const int result = RunMediaReadOnLink(context, host, *link, job);
  link->Close();
  return result;
}

int RunMediaReadOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                       MediaTransferJob& job) {
  job.resultLength =
      ReadPhoneFile(context, host, job.fileName, job.readBuffer, &job.receivedLength);
  if (job.resultLength < 0) {
    link.Close();
    host.ShowMessage(texts::kMediaFileTransferFailed);
    return kMediaTransferFailed;
  }
  return kMediaTransferDone;
}

int RunMediaWrite(LinkContext context, TransferHost& host, const MediaTransferJob& job) {
  const auto link = ConnectAndVerify(context, host, job.settings, ConnectVariant::FileWriter);
  if (!link) {
    return kMediaTransferFailed;
  }
  const int result = RunMediaWriteOnLink(context, host, *link, job);
  link->Close();
  return result;
}

int RunMediaWriteOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        const MediaTransferJob& job) {
  host.SetTitle(StepTitle(texts::kMediaWriteStep1Format, job));
  if (WritePhoneFile(context, host, job.fileName, job.data) < 0) {
    link.Close();
    host.ShowMessage(texts::kMediaFileTransferFailed);
    return kMediaTransferFailed;
  }
  host.SetTitle(StepTitle(texts::kMediaWriteStep2Format, job));
  if (WritePhoneFile(context, host, texts::kMediaListFileName, job.list) < 0) {
    link.Close();
    host.ShowMessage(texts::kMediaListTransferFailed);
    return kMediaTransferFailed;
  }
  return kMediaTransferDone;
}

int RunMediaReset(LinkContext context, TransferHost& host, const MediaTransferJob& job) {
  const auto link = ConnectAndVerify(context, host, job.settings, ConnectVariant::FileWriter);
  if (!link) {
    return kMediaTransferFailed;
  }
  context.library.DiagPhoneReset();
  host.ShowMessage(texts::kHandsetResets);
  link->Close();
  return kMediaTransferDone;
}

}  // namespace linkora
