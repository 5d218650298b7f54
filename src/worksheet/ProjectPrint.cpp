#include "ProjectPrint.h"

#include "TWorkForm.h"
#include "report2d/TQuickReport1.h"
#include "report2d/TextReport.h"
#include "textPage/TTextPage.h"
#include "xPaintBox/TxPaintBox.h"

namespace vintaler {

void printProjectPage(TWorkForm& form) {
  if (form.activePage() == 2) {
    previewText(&form, *form.Memo1->document(), form.Memo1->font());
  } else if (form.activePage() == 3) {
    previewText(&form, *form.Memo2->document(), form.Memo2->font());
  } else if (form.ActiveBox) {
    // The world window as the view shows it, at the printer's resolution:
    // the screen's picture is left as it is.
    printViewReport(&form, form.ActiveBox->mapping(), [&form](fish::TDrawSurface& s) { form.drawView(&s); });
  }
}

}  // namespace vintaler
