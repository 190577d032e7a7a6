// Context help: F1 opens the help viewer at the topic of the focused control
// or of the highlighted menu item. Every control and menu action carries its
// topic in the dynamic property "helpContext" (int); a control without one
// takes its parent's.
#pragma once

class QObject;
class QWidget;

constexpr char kHelpContextProperty[] = "helpContext";

// Gives a control or menu action its help topic.
void SetHelpContext(QObject* object, int context);

// Call once for the main window: F1 then works in it, in its menus and in
// every dialog whose parent chain reaches it. The viewer is owned by window.
void InstallHelpKey(QWidget* window);

// The help context of an object for F1: a menu's highlighted action (or the
// menu itself), else the first "helpContext" found on the widget and its
// parents; 0 when there is none.
int HelpContextOf(QObject* object);
