// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file interface of the platform the program is built for; its one
// instance is systemFileInterface().
#ifdef _WIN32
#include "fileservices/win32/Win32FileInterface.h"
namespace vornak {
using PlatformFileInterface = Win32FileInterface;
}
#else
#include "fileservices/posix/PosixFileInterface.h"
namespace vornak {
using PlatformFileInterface = PosixFileInterface;
}
#endif
