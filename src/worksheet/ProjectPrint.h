// The print command of a project window.
#pragma once

namespace vintaler {

class IProjectView;

// A text page (the results, the figures) is previewed as text; a drawing
// page is drawn once more, as lines, into the picture report and previewed.
// From either preview the page goes to a printer or to a PDF file.
void printProjectPage(IProjectView& project);

}  // namespace vintaler
