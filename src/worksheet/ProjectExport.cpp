#include "ProjectExport.h"

#include <QAction>

#include "IProjectHost.h"
#include "TWorkForm.h"
#include "appcore/ErrorReport.h"
#include "patternExport/PatternExport.h"

namespace vintaler {

const char* const kCrossingWarning =
    "Внимание: контур развертки пересекает сам себя (слишком большое смещение); записан как нарисован";

void setUpProjectExport(TWorkForm& form, IProjectHost* host) {
  using Job = std::function<bool(const exporting::Source&, bool&)>;
  const auto connectJob = [&form, host](QAction* action, Job job) {
    QObject::connect(action, &QAction::triggered, &form, [&form, host, job] {
      runCommand(&form, [&] {
        bool crossing = false;
        const exporting::Source source{form.SystemParams, form.ProParams, form.ProjectFileName, form.Plate};
        if (job(source, crossing) && crossing && host) host->showHint(QString::fromUtf8(kCrossingWarning));
      });
    });
  };
  const auto exportAs = [&form](exporting::Format format) -> Job {
    return [&form, format](const exporting::Source& s, bool& crossing) {
      return exporting::exportPattern(&form, s, format, crossing);
    };
  };
  connectJob(form.ExportDxf, exportAs(exporting::Format::Dxf));
  connectJob(form.ExportSvg, exportAs(exporting::Format::Svg));
  connectJob(form.ExportPdf, exportAs(exporting::Format::Pdf));
  connectJob(form.PrintFullSize, [&form](const exporting::Source& s, bool& crossing) {
    return exporting::printFullSize(&form, s, crossing);
  });
}

}  // namespace vintaler
