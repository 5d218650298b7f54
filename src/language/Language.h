// The language the program speaks: Russian, its own, or English.
//
// The program's texts are written in Russian in the sources; English comes
// from Qt Linguist's translation (translations/vintaler_en.ts, compiled into
// the programs). Qt's own dialogs follow with Qt's shipped translations. The
// engine's texts go through the same translation (fish::setTranslator).
#pragma once

#include <optional>
#include <string_view>

#include <QString>

namespace vintaler {

enum class TLanguage { Russian, English };

// "ru" and "en"; nothing for any other code.
std::optional<TLanguage> languageFromCode(std::string_view code);
const char* languageCode(TLanguage language);

// The language of a locale's name: English for one of English ("en",
// "en_US.UTF-8"), Russian for any other, "C" and "POSIX" included.
TLanguage languageOfLocale(std::string_view name);

// The language of the system's messages: that of the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty.
TLanguage systemLanguage();

// Makes `language` the program's: the translations of the program, of Qt's
// dialogs and of the engine. With an application running, they are installed
// into it and every window is told the language changed. False (and Russian
// kept) when the English translation cannot be loaded.
bool applyLanguage(TLanguage language);

// The language applied last (Russian before any).
TLanguage currentLanguage();

// The program's text in the language applied, for code that has no QObject
// to translate through (the command-line tool).
QString translated(const char* context, const char* source);

}  // namespace vintaler
