#pragma once
// One table of texts per window: creation and the texts routine take a
// control's texts from it.
#include <windows.h>

#include <string>
#include <vector>

namespace vak {

// The texts of one window's controls, each written once: what the control
// shows when it is made, what the texts routine gives it when no language
// file is found (null: it keeps its text), and its hint (null: none).
struct ControlText {
  int id;
  const char* text;
  const char* builtIn = nullptr;
  const char* hint = nullptr;
};

// The entry for id; null when the table has none. Texts are UTF-8 literals:
// T() gives them as the program's Windows-1252.
const ControlText* findText(const std::vector<ControlText>& table, int id);
// The control's text as made ("" when the table has none).
std::string madeText(const std::vector<ControlText>& table, int id);
// The texts routine's built-in texts for the controls of parent that exist.
void applyBuiltInTexts(const std::vector<ControlText>& table, HWND parent);

}  // namespace vak
