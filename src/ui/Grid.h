#pragma once
// A small string grid: fixed heading row 0 and fixed column 0, cells edited in
// place. Rows are 17 design pixels high with 1-pixel lines (scaled by the
// window's DPI); the cells' texts are not kept here but reached through an
// accessor, so the grid is a view of the status set. Rows that the grid's
// height cuts off cannot be selected or edited.
//
// For screen readers the grid is a table of rows and cells, each row's
// switch a check box (see Accessible.h); they follow the selected cell.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "ui/Accessible.h"
#include "ui/DrawnParts.h"
#include "ui/Window.h"

namespace vak {

// A text for a one-line view: each line break (CR LF, CR or LF) shown as a pilcrow.
std::string oneLineView(const std::string& text);

class Grid : public Window, private AccessibleParts {
 public:
  static constexpr int kRows = 17;
  static constexpr int kCols = 3;
  static constexpr int kRowHeight = 17;

  // cell(row, col) for rows 1..16 and columns 1..2: the text of that cell.
  using CellAccess = std::function<std::string&(int row, int col)>;

  void create(HWND parent, int id, int x, int y, int width, int height, CellAccess cell);

  void setHeading(int col, const std::string& text);
  const std::string& heading(int col) const { return headings_.at(static_cast<size_t>(col)); }

  std::string cell(int row, int col) const;
  int selectedRow() const { return row_; }
  int selectedCol() const { return col_; }
  void select(int row, int col);

  // The last data row that the grid's height shows in full.
  int lastRow() const;

  // In-place editing of the selected cell: with its text selected, with the
  // caret after it (caretAtEnd), or replaced by a first typed character.
  void beginEdit(const std::wstring* initial = nullptr, bool caretAtEnd = false);
  void endEdit(bool commit);
  bool editing() const { return edit_ != nullptr && IsWindowVisible(edit_); }
  HWND editor() const { return edit_; }

  // Runs after an in-place edit changed a cell.
  std::function<void(int row, int col)> onEdited;
  // Each row's switch, drawn as a check box in column 0 when given: on or off.
  std::function<bool(int row)> switchOf;
  // Space on a selected cell (not editing) or a click on a row's switch: the
  // row's switch is toggled. Only for the rows the grid shows.
  std::function<void(int row)> onToggle;
  // What a data row stands for, for screen readers ("Statusmeldung 5").
  std::function<std::string(int row)> rowName;

  void refresh() { InvalidateRect(hwnd_, nullptr, TRUE); }

  // Top-left of a cell in client coordinates.
  RECT cellRect(int row, int col) const { return cellRectAt(row, col, windowDpi(hwnd_)); }
  // Where the switch of a row is drawn, in client coordinates.
  RECT switchRect(int row) const { return switchRectAt(row, windowDpi(hwnd_)); }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void paint(HDC dc);
  // The same for a DPI asked once: asking costs a round trip to the window
  // system, and a paint needs hundreds of rectangles.
  RECT cellRectAt(int row, int col, int dpi) const;
  RECT switchRectAt(int row, int dpi) const;
  int lastRowIn(int clientBottom, int dpi) const;
  bool hitTest(int x, int y, int& row, int& col) const;
  void move(int dRow, int dCol, bool wrap);
  void toggle(int row);
  // A cell's new text, as the in-place editor gives it.
  void setCell(int row, int col, const std::string& text);
  void notifyFocus();

  // The table for accessibility clients: rows 0 (headings) .. lastRow() are
  // the parts 1.., their cells the parts cellId(row, col).
  std::vector<long> children(long parent) override;
  long parentOf(long id) override;
  bool describe(long id, AccessiblePart& part) override;
  void doDefaultAction(long id) override;
  bool setValue(long id, const std::string& value) override;
  bool selectPart(long id, long flags) override;
  long focusedPart() override;
  long selectedPart() override;
  // Sizes the in-place editor to the lines of its text.
  void fitEditor();
  void makeEditor();
  static LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  CellAccess cell_;
  std::array<std::string, kCols> headings_{};
  std::array<int, kCols> widths_{20, 116, 141};
  int row_ = 1, col_ = 1;
  HWND edit_ = nullptr;
  bool committing_ = false;
  AccessibleServer accessible_{*this};
};

}  // namespace vak
