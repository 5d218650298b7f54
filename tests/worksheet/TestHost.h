// A stand-in for the main window in project-window tests.
#pragma once

#include "worksheet/IProjectHost.h"

class TestHost : public vintaler::IProjectHost {
 public:
  int open = 0;
  bool saveEnabled = false;
  QString coordinates;
  QString hint;
  int OpenProjectCount() const override { return open; }
  void SetSaveEnabled(bool e) override { saveEnabled = e; }
  void SetCoordinateText(const QString& t) override { coordinates = t; }
  void ShowHint(const QString& t) override { hint = t; }
};
