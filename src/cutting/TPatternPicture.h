// A small picture of the flat pattern as it will be cut: every piece's cut
// outline, its net outline and bend lines, scaled to fit the widget and
// centred in it, and the number of each piece where the drawings name it.
// The point names and the bend angles would be specks at this size: they
// are left out. When the pattern cannot be made, the reason is shown in its
// place.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "fishApi/shop/FlatPattern.h"

namespace vintaler {

class TPatternPicture : public QWidget {
  Q_OBJECT

 public:
  explicit TPatternPicture(QWidget* parent = nullptr);

  void showPattern(fish::TFlatPattern pattern);
  void showMessage(const QString& message);

  // The pattern shown (without its point names, piece names and angles), or
  // nothing while a message is.
  const std::optional<fish::TFlatPattern>& pattern() const { return pattern_; }
  const QString& message() const { return message_; }

  QSize sizeHint() const override { return {300, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<fish::TFlatPattern> pattern_;
  QString message_;
  std::vector<fish::TPoint2D> numberAt_;  // where piece i + 1's number goes; empty: no numbers
};

}  // namespace vintaler
