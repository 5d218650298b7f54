// The main window's placement: stored when the program ends, restored when
// it starts, as long as it still fits a screen at the same resolution; and
// the names the program and its settings go by.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>
#include <optional>

#include "TForm1.h"

namespace {

// Show states as the placement store keeps them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

// A window counts as on a screen when at least this much of it (or all of a
// smaller one) lies there: enough to take hold of it.
constexpr int kMinVisible = 16;

QSettings placementSettings() {
  // Per user, under the program's organisation and name, in the group of the
  // window class.
  return QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

bool showsOnAScreen(const QRect& r) {
  for (const QScreen* s : QGuiApplication::screens()) {
    const QRect seen = r & s->availableGeometry();
    if (seen.width() >= std::min(kMinVisible, r.width()) && seen.height() >= std::min(kMinVisible, r.height())) {
      return true;
    }
  }
  return false;
}

// The stored normal position "left,top,right,bottom" when it can be used:
// four whole numbers, a size a window can have, on one of the screens.
std::optional<QRect> usableNormalPosition(const QString& text) {
  const QStringList n = text.split(QLatin1Char(','));
  if (n.size() != 4) return std::nullopt;
  qint64 v[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    v[i] = n[i].toInt(&ok);
    if (!ok) return std::nullopt;
  }
  const qint64 width = v[2] - v[0];
  const qint64 height = v[3] - v[1];
  if (width <= 0 || height <= 0 || width > QWIDGETSIZE_MAX || height > QWIDGETSIZE_MAX) return std::nullopt;
  const QRect r(QPoint(static_cast<int>(v[0]), static_cast<int>(v[1])),
                QPoint(static_cast<int>(v[2] - 1), static_cast<int>(v[3] - 1)));
  if (!showsOnAScreen(r)) return std::nullopt;
  return r;
}

}  // namespace

void TForm1::storePlacement(bool visible) {
  QSettings settings = placementSettings();
  settings.beginGroup(QStringLiteral("TForm1"));
  const QRect norm = normalGeometry().isValid() ? normalGeometry() : geometry();
  int show = kShowNormal;
  if (isMinimized()) {
    show = kShowMinimized;
  } else if (isMaximized()) {
    show = kShowMaximized;
  }
  // Flags: 2 means "restore to maximised", for a window minimised from maximised.
  settings.setValue(QStringLiteral("Flags"), isMinimized() && (windowState() & Qt::WindowMaximized) ? 2 : 0);
  settings.setValue(QStringLiteral("ShowCmd"), show);
  settings.setValue(QStringLiteral("PixelsPerInch"), logicalDpiY());
  const QPoint maxPos = isMaximized() ? pos() : QPoint(-1, -1);
  settings.setValue(QStringLiteral("MinMaxPos"),
                    QStringLiteral("%1,%2,%3,%4").arg(-1).arg(-1).arg(maxPos.x()).arg(maxPos.y()));
  settings.setValue(QStringLiteral("NormPos"), QStringLiteral("%1,%2,%3,%4")
                                                   .arg(norm.left())
                                                   .arg(norm.top())
                                                   .arg(norm.left() + norm.width())
                                                   .arg(norm.top() + norm.height()));
  settings.setValue(QStringLiteral("Visible"), visible);
  settings.endGroup();
  settings.sync();
}

void TForm1::maximize() {
  // Without a window manager a maximised state is not acted on: give the
  // window the whole screen as well.
  if (QScreen* s = screen()) setGeometry(s->availableGeometry());
  setWindowState(Qt::WindowMaximized);
}

void TForm1::restorePlacement() {
  QSettings settings = placementSettings();
  settings.beginGroup(QStringLiteral("TForm1"));
  if (!settings.contains(QStringLiteral("ShowCmd"))) {
    maximize();
    return;
  }
  // The position is only meaningful at the resolution it was stored at; one
  // that cannot be used gives the design size in the middle of the screen.
  std::optional<QRect> normal;
  if (settings.value(QStringLiteral("PixelsPerInch")).toInt() == logicalDpiY()) {
    normal = usableNormalPosition(settings.value(QStringLiteral("NormPos")).toString());
  }
  if (normal) {
    setGeometry(*normal);
  } else {
    QRect centred(QPoint(), kDesignSize);
    if (const QScreen* s = screen()) centred.moveCenter(s->availableGeometry().center());
    setGeometry(centred);
  }
  switch (settings.value(QStringLiteral("ShowCmd")).toInt()) {
    case 2:
    case 6:
    case 7: setWindowState(Qt::WindowMinimized); break;
    case 3: maximize(); break;
    default: setWindowState(Qt::WindowNoState); break;
  }
}

namespace vintaler {

void setApplicationNames() {
  QCoreApplication::setOrganizationName(QStringLiteral("Vintaler"));
  QCoreApplication::setApplicationName(QStringLiteral("vintaler"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VINTALER_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vintaler.Vintaler"));
}

}  // namespace vintaler
