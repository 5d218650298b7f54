#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <memory>

#include "fishApi/core/Messages.h"

namespace vintaler {

namespace {

struct TInstalled {
  TLanguage Language = TLanguage::Russian;
  std::unique_ptr<QTranslator> Program;  // the program's own texts (English only)
  std::unique_ptr<QTranslator> Qt;       // Qt's dialogs
};

TInstalled& installed() {
  static TInstalled i;
  return i;
}

// Swaps a translator of the running application (none running: only kept).
void replace(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> next) {
  if (slot && QCoreApplication::instance()) QCoreApplication::removeTranslator(slot.get());
  slot = std::move(next);
  if (slot && QCoreApplication::instance()) QCoreApplication::installTranslator(slot.get());
}

}  // namespace

std::optional<TLanguage> languageFromCode(std::string_view code) {
  if (code == "ru") return TLanguage::Russian;
  if (code == "en") return TLanguage::English;
  return std::nullopt;
}

const char* languageCode(TLanguage language) { return language == TLanguage::English ? "en" : "ru"; }

TLanguage languageOfLocale(std::string_view name) {
  const bool english = name.size() >= 2 && name.substr(0, 2) == "en" &&
                       (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@' || name[2] == '-');
  return english ? TLanguage::English : TLanguage::Russian;
}

TLanguage systemLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return languageOfLocale(value);
  }
  return TLanguage::Russian;
}

bool applyLanguage(TLanguage language) {
  TInstalled& i = installed();
  std::unique_ptr<QTranslator> program, qt;
  if (language == TLanguage::English) {
    program = std::make_unique<QTranslator>();
    if (!program->load(QStringLiteral(":/translations/vintaler_en.qm"))) return false;
  } else {
    // Qt speaks English of its own; in Russian its dialogs take its
    // shipped translation, when the system has it.
    qt = std::make_unique<QTranslator>();
    if (!qt->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) qt.reset();
  }
  replace(i.Qt, std::move(qt));
  replace(i.Program, std::move(program));
  i.Language = language;
  if (language == TLanguage::English) {
    fish::setTranslator([](const char* context, const char* source) {
      return translated(context, source).toStdString();
    });
  } else {
    fish::setTranslator({});
  }
  return true;
}

TLanguage currentLanguage() { return installed().Language; }

QString translated(const char* context, const char* source) {
  const TInstalled& i = installed();
  if (i.Program) {
    const QString text = i.Program->translate(context, source);
    if (!text.isEmpty()) return text;
  }
  return QString::fromUtf8(source);
}

}  // namespace vintaler
