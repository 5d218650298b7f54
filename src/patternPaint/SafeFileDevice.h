// A write-only QIODevice over fish::TSafeWriter: Qt's SVG and PDF writers
// paint straight into the target file's temporary twin, which takes the
// target's name only at commit(). A failed write leaves the target as it was
// and no temporary file behind.
#pragma once

#include <QIODevice>
#include <exception>
#include <string>

#include "fishApi/files/SafeFile.h"

namespace vintaler::paint {

class SafeFileDevice : public QIODevice {
 public:
  // Checks the target and opens its temporary file (throws fish::EFileError).
  explicit SafeFileDevice(const std::string& path);

  // Gives the new file the target's name, or throws the first failure met
  // while the painting wrote (Qt's writers carry no exception through).
  void commit();

  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  fish::TSafeWriter Writer;
  std::exception_ptr Failure;
};

}  // namespace vintaler::paint
