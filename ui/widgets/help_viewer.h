// The in-program help viewer: shows the help file scrolled to the topic of a
// help context number.
#pragma once

#include <QDialog>

class QTextBrowser;

class THelpViewer : public QDialog {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);

  // Loads the help file (again, if it changed) and scrolls to the topic.
  void ShowTopic(int context);
  // Shows a help file of the given path from its contents page, its top.
  void ShowContents(const QString& path);
  int CurrentTopic() const { return topic_; }
  // True when the loaded help text holds the topic's anchor.
  bool HasTopic(int context) const;

  QTextBrowser* Browser = nullptr;

 private:
  void Load(const QString& path);

  int topic_ = 0;
};

// Opens the viewer of `owner` (created on first use, owned by it) at the topic.
// While a modal dialog is open the viewer belongs to it instead, since the
// dialog blocks every other window, a viewer of the main window included.
THelpViewer* ShowHelpTopic(int context, QWidget* owner);
// The same viewer, showing the file at `path` from its contents page.
THelpViewer* ShowHelpContents(const QString& path, QWidget* owner);
