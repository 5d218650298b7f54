#include "ProjectKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>

#include "TWorkFormUi.h"

namespace vintaler {

namespace {

// The keys a field answers itself: text editing, as in every text field.
bool isEditingKey(const QKeyEvent& key) {
  for (QKeySequence::StandardKey k :
       {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo}) {
    if (key.matches(k)) return true;
  }
  return false;
}

// Before a key pressed in a field becomes a shortcut, the field is asked
// whether it wants the key itself (a shortcut override). A line edit claims
// many Ctrl keys (Ctrl+U erases the line); this filter answers for it that
// the key of an enabled command is not the field's.
class FieldKeys : public QObject {
 public:
  explicit FieldKeys(QWidget* form) : QObject(form), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!isEditingKey(*key) && isCommandKey(QKeySequence(key->keyCombination()))) {
        event->ignore();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool isCommandKey(const QKeySequence& keys) const {
    QList<QAction*> actions = form_->actions();
    if (form_->window() != form_) actions += form_->window()->actions();
    for (const QAction* action : actions) {
      if (action->isEnabled() && action->shortcuts().contains(keys)) return true;
    }
    return false;
  }

  QWidget* form_;
};

}  // namespace

void setUpProjectKeys(TWorkFormUi& ui, QWidget* form) {
  auto* keys = new FieldKeys(form);
  for (QLineEdit* edit : ui.Edits) edit->installEventFilter(keys);
  // Connected after the window's own handlers: the page is shown by then.
  for (QAction* page : {ui.Show3D, ui.ShowRazvertka, ui.ShowResult, ui.ShowFigures}) {
    QObject::connect(page, &QAction::triggered, form, [&ui] { focusShownPage(ui); });
  }
}

void focusShownPage(const TWorkFormUi& ui) {
  if (QWidget* page = ui.PageControl1->currentWidget()) page->setFocus(Qt::OtherFocusReason);
}

void setParameterPanelVisible(TWorkFormUi& ui, bool visible) {
  // A hidden field that kept the focus would still take the typed keys.
  if (!visible) focusShownPage(ui);
  ui.Panel1->setVisible(visible);
}

bool focusNextInProject(const TWorkFormUi& ui, bool next) {
  QList<QWidget*> order(ui.Edits.begin(), ui.Edits.end());
  order << ui.Panel1->tabBar() << ui.PageControl1->currentWidget();
  QList<QWidget*> cycle;
  for (QWidget* w : order) {
    if (w && w->isVisible() && w->isEnabled()) cycle << w;
  }
  if (cycle.isEmpty()) return false;
  // The text pages hand the focus to their view or editor inside.
  const QWidget* now = QApplication::focusWidget();
  qsizetype at = -1;
  for (qsizetype i = 0; i < cycle.size() && at < 0; ++i) {
    if (cycle[i] == now || cycle[i]->isAncestorOf(now)) at = i;
  }
  const qsizetype n = cycle.size();
  const qsizetype to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
  cycle[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  if (ui.ParamsScroll->isAncestorOf(cycle[to])) ui.ParamsScroll->ensureWidgetVisible(cycle[to]);
  return true;
}

}  // namespace vintaler
