// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store, every value a string, all keys in the group
// "Preferences". On Windows it is the registry key
// HKEY_CURRENT_USER\Software\Vornak\Vornak Split your files 2.2; elsewhere an
// INI file in the user's configuration folder named after the application
// ("Vornak Split your files 2.2.ini").
#include <QString>
#include <memory>
#include <string>

class QSettings;

namespace vornak {

class Settings {
 public:
  // fileName empty: the user's store. Otherwise an INI file, or on Windows a
  // registry key when the name starts with "HKEY_" (for example
  // "HKEY_CURRENT_USER\\Software\\Vornak\\Tests").
  explicit Settings(const QString& fileName = QString());
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // The stored string when the key exists (also when it is empty), else the
  // default.
  std::string read(const std::string& key, const std::string& defaultValue) const;
  // Creates or replaces the key; false when the store could not be written.
  bool write(const std::string& key, const std::string& value);

  // Where the store lives: a file name, or on Windows the registry key as
  // "\\HKEY_CURRENT_USER\\Software\\...".
  QString fileName() const;
  // The default store's file.
  static QString defaultFileName();

  static constexpr const char* kOrganization = "Vornak";
  static constexpr const char* kGroup = "Preferences";

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace vornak
