#include "ModalDialogs.h"

#include <QDialog>

namespace vintaler {

namespace {
std::function<int(QDialog&)>& Runner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}
}  // namespace

int RunModal(QDialog& dialog) { return Runner() ? Runner()(dialog) : dialog.exec(); }

void SetModalRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

}  // namespace vintaler
