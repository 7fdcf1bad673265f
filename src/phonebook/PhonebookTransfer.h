#pragma once

#include <functional>
#include <string_view>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class Phonebook;
class PhoneLink;
class TransferHost;

// Outcomes of the phonebook transfer window: 1 done, 2 failed. The window
// that started it acts only on 1.
inline constexpr int kPhonebookTransferDone = 1;
inline constexpr int kPhonebookTransferFailed = 2;

// Modes of the phonebook transfer window.
enum class PhonebookSyncMode : int { Read = 0, Write = 1 };

// Copies the handset's whole phonebook: the flag block in five parts, every
// used entry, then the 20 dial groups, showing each step in the host. The
// records are gathered in a copy of `phonebook`; only a read that completes
// replaces it (flag block, the records of used slots, cleared records of the
// unused ones, and the groups), so a failed read leaves it as it was.
// Gives 1 (also for an empty handset phonebook) or 2.
int ReadPhonebook(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                  Phonebook& phonebook);

// The same read on a link that is already open and verified; the link stays
// open when the read succeeds and is closed after a failure's message. Shows
// nothing for an empty phonebook.
int ReadPhonebookOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                        Phonebook& phonebook);

// Replaces the handset's phonebook with `phonebook`: every used entry, the
// flag block and the groups, then restarts the handset. Gives 1 when written
// and reset, and also when there was nothing to write (nothing sent); 2 on
// any failure, with the handset still in diagnostic mode.
int WritePhonebook(LinkContext context, TransferHost& host, const ConnectSettings& settings,
                   const Phonebook& phonebook);

// The records of a write (used entries, flag block, groups) on a link that
// is open, verified and offline; no reset. The link stays open when all was
// written and is closed after a failure's message.
int WritePhonebookOnLink(LinkContext context, TransferHost& host, PhoneLink& link,
                         const Phonebook& phonebook);

// The transfer window's work for its mode; `mode` as the window holds it
// (0 read, 1 write). Any other mode shows "잘못된 명령입니다." and gives 2.
int RunPhonebookSync(int mode, LinkContext context, TransferHost& host,
                     const ConnectSettings& settings, Phonebook& phonebook);

// The title the transfer window sets when it first shows, before its work
// starts; empty for an unknown mode.
std::string_view PhonebookSyncStartTitle(int mode);

// The two questions the phonebook window asks before a write, in order, each
// a Yes/No box titled "Linkora". `askYesNo` shows one and gives true for Yes.
// True only when both are answered Yes; the second is not asked after a No.
bool ConfirmPhonebookWrite(const std::function<bool(std::string_view question)>& askYesNo);

}  // namespace linkora
