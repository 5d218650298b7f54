#include "ErrnoText.h"

#include <cerrno>

namespace fish {

namespace {

const char* knownText(int err) {
  switch (err) {
    case EACCES: return "нет прав доступа";
    case EPERM: return "операция не разрешена";
    case ENOENT: return "нет такого файла или папки";
    case ENOSPC: return "на диске нет свободного места";
    case EDQUOT: return "превышена дисковая квота";
    case EFBIG: return "файл слишком велик";
    case EROFS: return "файловая система доступна только для чтения";
    case EISDIR: return "это папка";
    case ENOTDIR: return "часть пути не является папкой";
    case EEXIST: return "файл уже существует";
    case EPIPE: return "принимающая сторона канала закрыта";
    case EIO: return "ошибка ввода-вывода";
    case ENAMETOOLONG: return "слишком длинное имя файла";
    case ELOOP: return "слишком много символических ссылок в пути";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    case ETXTBSY: return "файл занят: это запущенная программа";
    case EBUSY: return "устройство или файл заняты";
    case ENOMEM: return "недостаточно памяти";
    case EBADF: return "недопустимый дескриптор файла";
    case ENXIO: return "нет такого устройства";
    case EINVAL: return "недопустимый аргумент";
    default: return nullptr;
  }
}

}  // namespace

std::string errnoText(int err) {
  if (const char* text = knownText(err)) return text;
  return "системная ошибка " + std::to_string(err);
}

}  // namespace fish
