#include "SafeFileDevice.h"

namespace vintaler::paint {

SafeFileDevice::SafeFileDevice(const std::string& path) : Writer(path) {
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SafeFileDevice::writeData(const char* data, qint64 size) {
  if (Failure) return -1;
  try {
    Writer.write(data, static_cast<std::size_t>(size));
    return size;
  } catch (...) {
    // Kept, bad_alloc included, for commit() to throw once Qt is done.
    Failure = std::current_exception();
    return -1;
  }
}

void SafeFileDevice::commit() {
  if (Failure) std::rethrow_exception(Failure);
  Writer.commit();
}

}  // namespace vintaler::paint
