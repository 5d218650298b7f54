// The print command of a project window.
#pragma once

class TWorkForm;

namespace vintaler {

// The results page goes to the default printer as text; a drawing page is
// drawn once more, as lines, into the picture report and previewed.
void printProjectPage(TWorkForm& form);

}  // namespace vintaler
