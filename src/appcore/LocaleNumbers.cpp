#include "LocaleNumbers.h"

#include <QLocale>

#include "fishApi/NumText.h"

namespace vintaler {

std::string LocaleDecimalSeparator() { return QLocale().decimalPoint().toStdString(); }

QString NumberToText(fish::Extended v) {
  return QString::fromStdString(fish::FloatToText(v, LocaleDecimalSeparator()));
}

std::optional<fish::Extended> TextToNumber(const QString& text) {
  fish::Extended v = 0;
  if (!fish::TextToFloat(text.toStdString(), LocaleDecimalSeparator(), v)) return std::nullopt;
  return v;
}

}  // namespace vintaler
