#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/LinkContext.h"

namespace linkora {

class TransferHost;

// Capacity callers give ReadPhoneFile.
inline constexpr std::size_t kPhoneFileCapacity = 65536;
// Sizes of one file-system request and one response.
inline constexpr std::size_t kFsRequestSize = 332;
inline constexpr std::size_t kFsResponseSize = 267;
// Bytes of file data in one write request.
inline constexpr std::size_t kFsWriteChunkSize = 256;

// Reads one whole handset file into the start of `buffer`, chunk after chunk,
// through the handset's file-system request (0x59, read). The link must be
// open and verified. Progress goes to the host after every chunk.
//
// Gives the total length the handset announced in its first response, or -1
// on any failure (after the failure's message, where it has one). When
// `received` is given it is set to the number of bytes actually placed in
// the buffer, which a careful caller uses instead of the announced length.
int ReadPhoneFile(LinkContext context, TransferHost& host, std::string_view fileName,
                  std::span<std::uint8_t> buffer, std::size_t* received = nullptr);

// Stores `data` under a handset file name in chunks of 256 bytes through the
// file-system request (0x59, write). Gives 1 on success and -1 on any failure;
// it shows no message of its own.
int WritePhoneFile(LinkContext context, TransferHost& host, std::string_view fileName,
                   std::span<const std::uint8_t> data);

}  // namespace linkora
