// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Queries whose results exceed 32 bits, and the system's error texts. Byte
// counts are doubles holding whole numbers (exact to 2^53); -1 means the query
// failed.
#include <cstdint>
#include <string>

namespace HugeFileFunctions {

// Size of a regular file from the file system's metadata; the file is never
// opened. A folder, a missing path, the empty path and anything that is not a
// regular file (device, FIFO, socket) give -1.
double getHugeFileSize(const std::string& path);
// Bytes available to the calling user on the file system that holds root; -1
// on failure.
double getHugeDiskFreeSpace(const std::string& root);
// The system's message for an error number, followed by a line break;
// "Unknown Error." when the system has no text of its own for the number.
std::string getSystemErrorText(std::int32_t code);
// A 32-bit value whose bits are an unsigned number, as a double.
double unsignedToDouble(std::int32_t value);

}  // namespace HugeFileFunctions
