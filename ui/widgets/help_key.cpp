#include "ui/widgets/help_key.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include "ui/widgets/help_viewer.h"

void SetHelpContext(QObject* object, int context) {
  object->setProperty(kHelpContextProperty, context);
}

namespace {

int ContextProperty(const QObject* object) {
  if (object == nullptr) return 0;
  const QVariant value = object->property(kHelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

int ActionContext(const QAction* action) {
  if (action == nullptr) return 0;
  if (const int context = ContextProperty(action)) return context;
  return action->menu() ? ContextProperty(action->menu()) : 0;
}

const QString kFilterName = QStringLiteral("HelpKeyFilter");

// Is `widget` the window or one of its descendants, popups included?
bool Reaches(const QWidget* widget, const QWidget* window) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (widget == window) return true;
  }
  return false;
}

// Watches the whole application for F1, since menus open as popups of their
// own; acts only for widgets that belong to its window.
class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(QWidget* window) : QObject(window), window_(window) {
    setObjectName(kFilterName);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
      return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !Reaches(widget, window_)) return false;
    const int context = HelpContextOf(widget);
    // No topic: F1 does nothing, and the key is not passed on either.
    if (context > 0) ShowHelpTopic(context, window_);
    return true;
  }

 private:
  QPointer<QWidget> window_;
};

}  // namespace

int HelpContextOf(QObject* object) {
  if (auto* menu = qobject_cast<QMenu*>(object)) {
    if (const int context = ActionContext(menu->activeAction())) return context;
    return ActionContext(menu->menuAction());
  }
  if (auto* bar = qobject_cast<QMenuBar*>(object)) {
    if (const int context = ActionContext(bar->activeAction())) return context;
  }
  // A key reaches the focused control; its parents lend their topic.
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget != nullptr && widget->focusWidget() != nullptr && !qobject_cast<QMenu*>(widget)) {
    widget = widget->focusWidget();
  }
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (const int context = ContextProperty(widget)) return context;
    if (widget->isWindow()) break;
  }
  return 0;
}

void InstallHelpKey(QWidget* window) {
  if (window == nullptr || qApp == nullptr) return;
  if (window->findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly)) return;
  qApp->installEventFilter(new HelpKeyFilter(window));
}
