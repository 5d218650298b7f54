#include "RecentProjects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vintaler {

namespace {

const QString kRecentKey = QStringLiteral("RecentProjects");

QSettings programSettings() {
  return QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

// One spelling per file, so that "a/../b.raz" and "b.raz" are one entry.
QString normalised(const QString& fileName) { return QFileInfo(fileName).absoluteFilePath(); }

QStringList cleaned(const QStringList& names) {
  QStringList list;
  for (const QString& name : names) {
    if (name.isEmpty() || list.contains(name)) continue;
    list << name;
    if (list.size() == kMaxRecentProjects) break;
  }
  return list;
}

QStringList store(const QStringList& list) {
  QSettings settings = programSettings();
  settings.setValue(kRecentKey, list);
  settings.sync();
  return list;
}

}  // namespace

QStringList recentProjects() { return cleaned(programSettings().value(kRecentKey).toStringList()); }

QStringList rememberRecentProject(const QString& fileName) {
  const QString name = normalised(fileName);
  QStringList list = recentProjects();
  list.removeAll(name);
  list.prepend(name);
  return store(cleaned(list));
}

QStringList forgetRecentProject(const QString& fileName) {
  QStringList list = recentProjects();
  list.removeAll(fileName);
  list.removeAll(normalised(fileName));
  return store(list);
}

QString recentProjectCaption(int index, const QString& fileName) {
  // A "&" of the path is shown as it is, not taken for an accelerator.
  QString path = QDir::toNativeSeparators(fileName);
  path.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}

}  // namespace vintaler
