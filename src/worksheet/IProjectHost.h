// What a project window needs of the frame it lives in.
#pragma once

#include <QString>

class QWidget;

namespace vintaler {

class IProjectHost {
 public:
  virtual ~IProjectHost() = default;
  // Project windows open now (a window being created is not yet counted).
  virtual int openProjectCount() const = 0;
  virtual void setSaveEnabled(bool enabled) = 0;
  // Panel 0 of the status bar: the pointer's world coordinates.
  virtual void setCoordinateText(const QString& text) = 0;
  // The last panel of the status bar: the hint of what is under the mouse.
  virtual void showHint(const QString& text) = 0;
  // A warning about the project `from` that holds while its records do (the
  // pattern is not accurate enough); an empty text takes it back. Shown while
  // that project is the active one.
  virtual void showWarning(const QWidget* /*from*/, const QString& /*text*/) {}
  // The project was written to `fileName` the frame may remember it among
  // the last projects.
  virtual void projectSaved(const QString& /*fileName*/) {}
};

}  // namespace vintaler
