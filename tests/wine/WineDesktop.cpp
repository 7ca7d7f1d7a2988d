// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps Wine's desktop open while the tests run (one started by a test would
// hold its output open). Without arguments it starts the holder, unless one
// runs, and returns once the desktop is open; "--end" lets the holder end.
#include <windows.h>

#include <cstring>

namespace {

const char kEndEvent[] = "VornakTestsDesktopEnd";
const char kReadyEvent[] = "VornakTestsDesktopReady";

// Stays on the desktop, with a window never shown, until told to end.
int hold(HINSTANCE instance) {
  HANDLE end = CreateEventA(nullptr, TRUE, FALSE, kEndEvent);
  const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
  HWND window = end == nullptr || another ? nullptr
                                          : CreateWindowExA(0, "STATIC", "Vornak tests desktop", WS_POPUP, 0,
                                                            0, 1, 1, nullptr, nullptr, instance, nullptr);
  if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReadyEvent); ready && (another || window))
    SetEvent(ready);
  while (window && MsgWaitForMultipleObjects(1, &end, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return another || window ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (std::strcmp(commandLine, "--hold") == 0) return hold(instance);
  if (std::strcmp(commandLine, "--end") == 0) {
    if (HANDLE end = OpenEventA(EVENT_MODIFY_STATE, FALSE, kEndEvent)) SetEvent(end);
    return 0;
  }
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyEvent);
  char path[MAX_PATH], holdLine[MAX_PATH + 16];
  if (ready == nullptr || GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return 1;
  wsprintfA(holdLine, "\"%s\" --hold", path);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path, holdLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 1;
  const HANDLE either[] = {ready, process.hProcess};
  return WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0 ? 0 : 1;
}
