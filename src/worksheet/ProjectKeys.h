// Which widget of a project window a key reaches. A parameter field keeps
// the keys of text editing; every other key of a command shown in a menu
// runs that command, also while the caret is in a field. Showing a page by
// its command, or hiding the parameter panel, gives the page the focus, so
// that Select All and Copy act on the page the menus speak of, and typing
// never changes a field nobody sees.
#pragma once

class QWidget;
class TWorkFormUi;

namespace vintaler {

// Installs the field keys on the six fields of `ui` and makes the page
// commands focus their page. `form` is the window `ui` was set up on; the
// commands are its actions and those of the window it is shown in.
void setUpProjectKeys(TWorkFormUi& ui, QWidget* form);

// Gives the keyboard focus to the page shown: the results text or the drawing.
void focusShownPage(const TWorkFormUi& ui);

// Shows or hides the parameter panel; before hiding it hands the focus to
// the page shown.
void setParameterPanelVisible(TWorkFormUi& ui, bool visible);

// Tab (`next`) and Shift+Tab within a project window: the fields in their
// order on screen, the tabs of the parameter panel, the page shown, and
// round again; what is hidden is passed over. A field is scrolled into view.
bool focusNextInProject(const TWorkFormUi& ui, bool next);

}  // namespace vintaler
