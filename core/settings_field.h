// Moving one value between its text in a settings file and its field of the record.
#pragma once

#include "usr_settings.h"

#include <QString>

namespace settings_field {

// Stores value into the field of key, converted to the field's type. A number outside the
// field's range leaves the field as it was; the result says whether the field was set.
bool store(USR_SETTINGS& settings, const SettingKey& key, const QString& value);

// The field's value as it is written after " , ".
QString format(const USR_SETTINGS& settings, const SettingKey& key);

} // namespace settings_field
