// The one way the program shows a message the user must see: a modal box with
// a caption and an icon. Tests put an interceptor in place of the box.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

enum class MessageIcon { Error, Information, Warning, Question, None };

void ShowMessage(const QString& text, const QString& caption, MessageIcon icon,
                 QWidget* parent = nullptr);

// The two kinds of message of the program itself: an error ("ERROR", error
// icon) and a notice ("INFORMATION", information icon).
void ShowError(const QString& text, QWidget* parent = nullptr);
void ShowNotice(const QString& text, QWidget* parent = nullptr);

// A file that could not be saved, with the reason, as an error.
void ShowSaveError(const QString& path, const std::string& reason, QWidget* parent = nullptr);

// A warning the user must accept to go on ("WARNING", warning icon, Yes and
// No); true for Yes. With an interceptor in place the answer is the one given
// to SetWarningAnswer (No until then).
bool AskWarning(const QString& text, QWidget* parent = nullptr);
void SetWarningAnswer(bool yes);

// While set, ShowMessage calls the interceptor instead of opening a box.
using MessageInterceptor =
    std::function<void(const QString& text, const QString& caption, MessageIcon icon)>;
void SetMessageInterceptor(MessageInterceptor interceptor);

// A question the user answers Yes or No ("QUESTION", question icon, No by
// default): true for Yes.
bool AskQuestion(const QString& text, QWidget* parent = nullptr);

// While set, AskQuestion takes its answer from the interceptor instead of opening a box.
using QuestionInterceptor = std::function<bool(const QString& text)>;
void SetQuestionInterceptor(QuestionInterceptor interceptor);
