// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Settings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "Version.h"

namespace vornak {

namespace {

QString groupKey(const std::string& key) {
  return QString::fromLatin1(Settings::kGroup) + QLatin1Char('/') + QString::fromStdString(key);
}

#ifdef _WIN32
// The registry, through Qt's native format.
constexpr QSettings::Format kUserFormat = QSettings::NativeFormat;
#else
constexpr QSettings::Format kUserFormat = QSettings::IniFormat;
#endif

}  // namespace

Settings::Settings(const QString& fileName) {
  if (fileName.isEmpty())
    settings_ =
        std::make_unique<QSettings>(kUserFormat, QSettings::UserScope, QString::fromLatin1(kOrganization),
                                    QString::fromUtf8(kApplicationTitle));
#ifdef _WIN32
  else if (fileName.startsWith(QLatin1String("HKEY_")))
    settings_ = std::make_unique<QSettings>(fileName, QSettings::NativeFormat);
#endif
  else
    settings_ = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

Settings::~Settings() = default;

std::string Settings::read(const std::string& key, const std::string& defaultValue) const {
  const QString k = groupKey(key);
  if (!settings_->contains(k)) return defaultValue;
  const QVariant value = settings_->value(k);
  // A hand-written value with unquoted commas comes back as a list.
  if (value.userType() == QMetaType::QStringList)
    return value.toStringList().join(QLatin1Char(',')).toStdString();
  return value.toString().toStdString();
}

bool Settings::write(const std::string& key, const std::string& value) {
  settings_->setValue(groupKey(key), QString::fromStdString(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

QString Settings::fileName() const {
  return settings_->fileName();
}

QString Settings::defaultFileName() {
  return Settings().fileName();
}

}  // namespace vornak
