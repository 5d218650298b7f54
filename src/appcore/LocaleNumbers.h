// Numbers typed and shown in the program's fields, in the user's locale.
#pragma once

#include <QString>
#include <optional>

#include "fishApi/core/FishTypes.h"

namespace vintaler {

// The decimal separator of the user's locale, as UTF-8.
std::string localeDecimalSeparator();

// The general 15-digit form of v with the locale's separator.
QString numberToText(fish::Extended v);

// The value of a typed number (the locale's separator, optional sign and
// exponent, blanks around); nothing for any other text, an empty one included.
std::optional<fish::Extended> textToNumber(const QString& text);

}  // namespace vintaler
