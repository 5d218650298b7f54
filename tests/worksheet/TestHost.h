// A stand-in for the main window in project-window tests.
#pragma once

#include "worksheet/IProjectHost.h"

class TestHost : public vintaler::IProjectHost {
 public:
  int open = 0;
  bool saveEnabled = false;
  QString coordinates;
  QString hint;
  int openProjectCount() const override { return open; }
  void setSaveEnabled(bool e) override { saveEnabled = e; }
  void setCoordinateText(const QString& t) override { coordinates = t; }
  void showHint(const QString& t) override { hint = t; }
};
