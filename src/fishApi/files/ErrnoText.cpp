#include "ErrnoText.h"

#include <cerrno>

#include "fishApi/core/Messages.h"

namespace fish {

namespace {

TMsgId knownText(int err) {
  switch (err) {
    case EACCES: return FISH_TR("files", "нет прав доступа");
    case EPERM: return FISH_TR("files", "операция не разрешена");
    case ENOENT: return FISH_TR("files", "нет такого файла или папки");
    case ENOSPC: return FISH_TR("files", "на диске нет свободного места");
    case EDQUOT: return FISH_TR("files", "превышена дисковая квота");
    case EFBIG: return FISH_TR("files", "файл слишком велик");
    case EROFS: return FISH_TR("files", "файловая система доступна только для чтения");
    case EISDIR: return FISH_TR("files", "это папка");
    case ENOTDIR: return FISH_TR("files", "часть пути не является папкой");
    case EEXIST: return FISH_TR("files", "файл уже существует");
    case EPIPE: return FISH_TR("files", "принимающая сторона канала закрыта");
    case EIO: return FISH_TR("files", "ошибка ввода-вывода");
    case ENAMETOOLONG: return FISH_TR("files", "слишком длинное имя файла");
    case ELOOP: return FISH_TR("files", "слишком много символических ссылок в пути");
    case EMFILE:
    case ENFILE: return FISH_TR("files", "открыто слишком много файлов");
    case ETXTBSY: return FISH_TR("files", "файл занят: это запущенная программа");
    case EBUSY: return FISH_TR("files", "устройство или файл заняты");
    case ENOMEM: return FISH_TR("files", "недостаточно памяти");
    case EBADF: return FISH_TR("files", "недопустимый дескриптор файла");
    case ENXIO: return FISH_TR("files", "нет такого устройства");
    case EINVAL: return FISH_TR("files", "недопустимый аргумент");
    default: return {};
  }
}

}  // namespace

TMessage errnoMessage(int err) {
  if (const TMsgId text = knownText(err); text.Source != nullptr) return TMessage(text);
  return TMessage(FISH_TR("files", "системная ошибка %1"), {std::to_string(err)});
}

std::string errnoText(int err) { return errnoMessage(err).text(); }

}  // namespace fish
