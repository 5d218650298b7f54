#include "LocaleNumbers.h"

#include <QLocale>

#include "fishApi/core/NumText.h"

namespace vintaler {

std::string localeDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

QString numberToText(fish::Extended v) {
  return QString::fromStdString(fish::floatToText(v, localeDecimalSeparator()));
}

std::optional<fish::Extended> textToNumber(const QString& text) {
  fish::Extended v = 0;
  if (!fish::textToFloat(text.toStdString(), localeDecimalSeparator(), v)) return std::nullopt;
  return v;
}

}  // namespace vintaler
