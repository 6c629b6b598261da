#pragma once
// A modal question whose buttons carry the program's own words ("是", "否", "取消"), which the
// platform's message boxes, with their fixed button sets, cannot show.
//
// Tests answer it without a person: while a question hook is set, AskQuestion calls it instead of
// showing anything and returns its answer.

#include <functional>
#include <string>
#include <vector>

// Shows `text` in a modal box titled with the application's name, with one button per entry of
// `buttons`, left to right, the first one the default. Returns the index of the button chosen;
// Escape, the close button and a box closed under the user (the application quitting) choose
// `cancelIndex`. Without a GUI it shows nothing and gives `cancelIndex`.
int AskQuestion(const std::string& text, const std::vector<std::string>& buttons, int cancelIndex);

using TQuestionHook = std::function<int(const std::string& text, const std::vector<std::string>& buttons)>;
// An empty hook brings the real box back.
void SetQuestionHook(TQuestionHook hook);

// The answers of the save question, in the order of its buttons.
enum TSaveAnswer { saYes = 0, saNo = 1, saCancel = 2 };

// Asks `text` with the buttons "是", "否" and "取消"; Escape and the close button answer 取消.
TSaveAnswer AskToSave(const std::string& text);

// The answers when another clerk saved the same mark meanwhile, in the order of the buttons
// "覆蓋", "載入對方的設定" and "取消".
enum TOtherSaveAnswer { oaOverwrite = 0, oaLoadTheirs = 1, oaCancel = 2 };

// Asks `text` with those buttons; Escape and the close button answer 取消.
TOtherSaveAnswer AskAboutOtherSave(const std::string& text);
