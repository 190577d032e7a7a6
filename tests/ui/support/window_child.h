// Tests reach a window's widgets as a user names them: by object name.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

template <class Widget>
Widget* Child(const QObject* window, const char* name) {
  Widget* child = window->findChild<Widget*>(QString::fromLatin1(name));
  if (!child) qFatal("no child named %s", name);
  return child;
}

template <class Widget, class Window>
Widget* Child(const std::unique_ptr<Window>& window, const char* name) {
  return Child<Widget>(window.get(), name);
}
