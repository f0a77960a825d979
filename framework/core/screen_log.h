// The on-screen log: a text area of 80 lines that the presentation code can
// draw over the picture. The program never enables or writes it; its drawing
// belongs to the graphics code, which reads this record.
#pragma once

namespace qor {

constexpr int kScreenLogLines = 80;
constexpr int kScreenLogLineSize = 255;

struct ScreenLogState {
  int setUp = 0;        // 1 once the font exists
  int fontHandle = -1;  // -1: none
  int fontLost = 0;     // set when the font must be made again
  int fontSize = 16;
  int enabled = 0;      // read by the presentation code
  char lines[kScreenLogLines][kScreenLogLineSize] = {};
  int lineCount = 0;
  int cursorLine = 0;
  int cursorColumn = 0;
  int tabWidth = 4;
};

ScreenLogState& GetScreenLogState();
void ResetScreenLog();

int GetScreenLogEnabled();
int SetScreenLogEnabled(int on);  // 0

}  // namespace qor
