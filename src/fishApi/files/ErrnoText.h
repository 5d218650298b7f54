// The reason a system call failed, as the user reads it: a short Russian
// text for an errno value, to follow a message such as
// "Не удалось сохранить файл "…": ". The system's own texts follow the
// locale's messages and are English wherever their translation is missing;
// these are the same in every locale.
#pragma once

#include <string>

#include "fishApi/core/Messages.h"

namespace fish {

// The reason for `err`, lower case and without a final stop. A value with no
// text of its own reads "системная ошибка <err>". The message keeps the
// reason to be said again in another language.
TMessage errnoMessage(int err);
std::string errnoText(int err);

}  // namespace fish
