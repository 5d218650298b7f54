// The export commands of a project window: the flat pattern of the project's
// records as DXF, SVG, a full-size PDF, or printed at full size over sheets.
#pragma once

class TWorkFormUi;

namespace vintaler {

class IProjectHost;
class IProjectView;

// The status-bar warning for an outline that crosses itself.
extern const char* const kCrossingWarning;

// Connects the export actions of `ui` to the records of `project`. A failure
// is reported like every command's; a pattern whose outline crosses itself
// is written as drawn and `host` (if any) shows kCrossingWarning in the
// status bar.
void setUpProjectExport(const TWorkFormUi& ui, IProjectView& project, IProjectHost* host);

}  // namespace vintaler
