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
  int CurrentTopic() const { return topic_; }
  // True when the loaded help text holds the topic's anchor.
  bool HasTopic(int context) const;

  QTextBrowser* Browser = nullptr;

 private:
  int topic_ = 0;
};

// Opens the viewer of `owner` (created on first use, owned by it) at the topic.
THelpViewer* ShowHelpTopic(int context, QWidget* owner);
