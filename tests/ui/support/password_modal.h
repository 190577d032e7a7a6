// Answers the password dialog that code under test opens with exec(): the
// answer runs on the dialog's own event loop as soon as the dialog is up.
#pragma once

#include <functional>
#include <memory>

class TPasswordForm;

// Counts the dialogs answered; a test can assert that none came up.
using PasswordAnswerCount = std::shared_ptr<int>;

// Runs `answer` with the next TPasswordForm that becomes the active modal
// widget (looked for every few milliseconds until `waitMs` have passed). A dialog the
// answer leaves open is cancelled after a while, so a faulty test fails
// instead of hanging.
PasswordAnswerCount AnswerPasswordForm(std::function<void(TPasswordForm*)> answer,
                                       int waitMs = 3000);
