#include "ProjectPrint.h"

#include "ProjectPage.h"
#include "TextPages.h"
#include "report2d/TQuickReport1.h"
#include "xPaintBox/TxPaintBox.h"

namespace vintaler {

void printProjectPage(IProjectView& project) {
  const Page page = project.shownPage();
  if (isTextPage(page)) {
    project.textPages().print(project.commandWindow(), page);
  } else if (const TxPaintBox* view = project.drawingView()) {
    // The world window as the view shows it, at the printer's resolution:
    // the screen's picture is left as it is.
    printViewReport(project.commandWindow(), view->mapping(),
                    [&project](fish::TDrawSurface& s) { project.drawViewOn(s); });
  }
}

}  // namespace vintaler
