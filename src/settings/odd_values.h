#pragma once
// Values the settings accept but that leave the till hard to use. They stay as typed (the
// organiser may mean them); the organiser is told what they will do.
#include <string>

#include "settings/keys.h"

namespace vorsa {

/// What `value`, as stored in `key`, will do, in the organiser's words; empty when it is usable.
std::string AvvisoValore(const KeyDef& key, const std::string& value);

}  // namespace vorsa
