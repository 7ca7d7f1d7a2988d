// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps Wine's desktop open while the tests run: started by a test, the
// desktop process would keep the test's output open, and CTest would wait for
// it until the last test ends. Run with the output on /dev/null:
//   wine_desktop.exe        starts the holder (unless one runs) and returns once the desktop is open
//   wine_desktop.exe --end  lets the holder end
#include <windows.h>

#include <cstring>

namespace {

const char kEndEvent[] = "VornakTestsDesktopEnd";
const char kReadyEvent[] = "VornakTestsDesktopReady";
const char kHold[] = "--hold";

// Stays on the desktop, with a window that is never shown, until told to end.
int hold(HINSTANCE instance) {
  HANDLE end = CreateEventA(nullptr, TRUE, FALSE, kEndEvent);
  if (end == nullptr) return 1;
  const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
  HWND window = another ? nullptr
                        : CreateWindowExA(0, "STATIC", "Vornak tests desktop", WS_POPUP, 0, 0, 1, 1, nullptr,
                                          nullptr, instance, nullptr);
  if (!another && (window == nullptr || GetDesktopWindow() == nullptr)) return 1;
  if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReadyEvent)) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  if (another) return 0;
  while (MsgWaitForMultipleObjects(1, &end, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  DestroyWindow(window);
  return 0;
}

int start() {
  if (HANDLE end = OpenEventA(SYNCHRONIZE, FALSE, kEndEvent)) {
    CloseHandle(end);
    return 0;
  }
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyEvent);
  char path[MAX_PATH];
  if (ready == nullptr || GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return 1;
  char commandLine[MAX_PATH + 16];
  wsprintfA(commandLine, "\"%s\" %s", path, kHold);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 1;
  const HANDLE either[] = {ready, process.hProcess};
  const DWORD woken = WaitForMultipleObjects(2, either, FALSE, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(ready);
  return woken == WAIT_OBJECT_0 ? 0 : 1;
}

int end() {
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, kEndEvent);
  if (event == nullptr) return 0;
  SetEvent(event);
  CloseHandle(event);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (std::strcmp(commandLine, kHold) == 0) return hold(instance);
  if (std::strcmp(commandLine, "--end") == 0) return end();
  return start();
}
