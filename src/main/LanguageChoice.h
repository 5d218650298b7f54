// The language the user chose in the menu "Язык / Language", kept in the
// settings under "language" ("ru" or "en").
#pragma once

#include "language/Language.h"

namespace vintaler {

// The language the program starts in: the one chosen last, or, with no
// choice kept, the system's.
TLanguage startLanguage();

// Makes `language` the program's at once (every window follows) and keeps
// the choice for the next start. False when it cannot be applied.
bool chooseLanguage(TLanguage language);

}  // namespace vintaler
