#include "ProjectExport.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

#include "IProjectHost.h"
#include "ProjectPage.h"
#include "TWorkFormUi.h"
#include "appcore/ErrorReport.h"
#include "patternExport/PatternExport.h"

namespace vintaler {

const char* const kCrossingWarning = QT_TRANSLATE_NOOP(
    "ProjectExport", "Внимание: контур развертки пересекает сам себя (слишком большое смещение); записан как нарисован");

void setUpProjectExport(const TWorkFormUi& ui, IProjectView& project, IProjectHost* host) {
  QWidget* window = project.commandWindow();
  using Job = std::function<bool(const exporting::Source&, bool&)>;
  const auto connectJob = [&project, window, host](QAction* action, Job job) {
    QObject::connect(action, &QAction::triggered, window, [&project, window, host, job] {
      runCommand(window, [&] {
        bool crossing = false;
        if (job(project.exportSource(), crossing) && crossing && host) {
          host->showHint(QCoreApplication::translate("ProjectExport", kCrossingWarning));
        }
      });
    });
  };
  const auto exportAs = [window](exporting::Format format) -> Job {
    return [window, format](const exporting::Source& s, bool& crossing) {
      return exporting::exportPattern(window, s, format, crossing);
    };
  };
  connectJob(ui.ExportDxf, exportAs(exporting::Format::Dxf));
  connectJob(ui.ExportSvg, exportAs(exporting::Format::Svg));
  connectJob(ui.ExportPdf, exportAs(exporting::Format::Pdf));
  connectJob(ui.PrintFullSize, [window](const exporting::Source& s, bool& crossing) {
    return exporting::printFullSize(window, s, crossing);
  });
}

}  // namespace vintaler
