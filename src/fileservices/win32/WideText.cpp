// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/win32/WideText.h"

#include <windows.h>

namespace vornak::win32 {

namespace {

// Paths from this length on take the long form: a folder name must leave room
// for an 8.3 file name inside the classic limit (MAX_PATH - 12).
constexpr std::size_t kLongPath = MAX_PATH - 12;

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::wstring widen(const std::string& text) {
  if (text.empty() || text.find('\0') != std::string::npos) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring widePath(const std::string& path) {
  std::wstring wide = widen(path);
  if (wide.size() < kLongPath || startsWith(wide, L"\\\\?\\") || startsWith(wide, L"\\\\.\\")) return wide;
  const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  if (startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) return full;
  if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

NoCriticalErrorBoxes::NoCriticalErrorBoxes() {
  DWORD previous = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
  previous_ = previous;
}

NoCriticalErrorBoxes::~NoCriticalErrorBoxes() {
  ::SetThreadErrorMode(previous_, nullptr);
}

}  // namespace vornak::win32
