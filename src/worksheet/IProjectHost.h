// What a project window needs of the frame it lives in.
#pragma once

#include <QString>

namespace vintaler {

class IProjectHost {
 public:
  virtual ~IProjectHost() = default;
  // Project windows open now (a window being created is not yet counted).
  virtual int OpenProjectCount() const = 0;
  virtual void SetSaveEnabled(bool enabled) = 0;
  // Panel 0 of the status bar: the pointer's world coordinates.
  virtual void SetCoordinateText(const QString& text) = 0;
  // The last panel of the status bar: the hint of what is under the mouse.
  virtual void ShowHint(const QString& text) = 0;
};

}  // namespace vintaler
