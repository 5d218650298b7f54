#include "LanguageChoice.h"

#include <QSettings>

namespace vintaler {

namespace {
const QString kLanguageKey = QStringLiteral("language");
}  // namespace

TLanguage startLanguage() {
  const QByteArray kept = QSettings().value(kLanguageKey).toString().toLatin1();
  return languageFromCode(std::string_view(kept.constData(), static_cast<std::size_t>(kept.size())))
      .value_or(systemLanguage());
}

bool chooseLanguage(TLanguage language) {
  if (!applyLanguage(language)) return false;
  QSettings().setValue(kLanguageKey, QString::fromLatin1(languageCode(language)));
  return true;
}

}  // namespace vintaler
