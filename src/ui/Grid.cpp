#include "ui/Grid.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"

namespace vak {

std::string oneLineView(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n')
      shown += "\xB6 ";
    else
      shown += text[i];
  }
  return shown;
}

namespace {
constexpr int kFirstDataRow = 1;
constexpr int kFirstDataCol = 1;
constexpr int kLastDataCol = Grid::kCols - 1;
constexpr int kRowPitch = Grid::kRowHeight + 1;  // a row and its line

// Accessibility ids: row r is the part r + 1, its cell in column c the part
// cellId(r, c), which an event names directly.
constexpr long kCellIds = 0x100;
long rowId(int row) { return row + 1; }
long cellId(int row, int col) { return kCellIds + row * 0x10 + col; }
bool isCellId(long id) { return id >= kCellIds; }
int rowOfId(long id) { return isCellId(id) ? static_cast<int>((id - kCellIds) / 0x10) : static_cast<int>(id - 1); }
int colOfId(long id) { return static_cast<int>((id - kCellIds) % 0x10); }

}  // namespace

void Grid::create(HWND parent, int id, int x, int y, int width, int height, CellAccess cell) {
  cell_ = std::move(cell);
  Window::create(L"VakGrid", 0, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                 L"", x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Grid::makeEditor() {
  // Made at the first edit: most runs never edit in the tables, and each
  // window made at start-up delays the first showing.
  // Multi-line, so a cell's text can hold line breaks; the editor grows with
  // its lines.
  if (edit_) return;
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0, 10, 10,
                          hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!edit_) return;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(windowDpi(hwnd_))), FALSE);
  SetWindowSubclass(edit_, &Grid::editProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void Grid::setHeading(int col, const std::string& text) {
  headings_.at(static_cast<size_t>(col)) = text;
  refresh();
}

std::string Grid::cell(int row, int col) const {
  if (row < kFirstDataRow || row >= kRows || col < kFirstDataCol || col > kLastDataCol) return {};
  return cell_(row, col);
}

RECT Grid::cellRectAt(int row, int col, int dpi) const {
  // Design pixels scaled to the DPI; the 1-pixel lines stay 1 pixel.
  int x = 0;
  for (int c = 0; c < col; ++c) x += widths_[static_cast<size_t>(c)] + 1;
  const int y = row * kRowPitch;
  return RECT{MulDiv(x, dpi, 96), MulDiv(y, dpi, 96), MulDiv(x + widths_[static_cast<size_t>(col)], dpi, 96),
              MulDiv(y + kRowHeight, dpi, 96)};
}

RECT Grid::switchRectAt(int row, int dpi) const {
  // A check box of 13 design pixels, in the middle of the row's fixed cell.
  const RECT cell = cellRectAt(row, 0, dpi);
  const int size = MulDiv(13, dpi, 96);
  const int left = cell.left + (cell.right - cell.left - size) / 2;
  const int top = cell.top + (cell.bottom - cell.top - size) / 2;
  return RECT{left, top, left + size, top + size};
}

void Grid::toggle(int row) {
  if (row < kFirstDataRow || row > lastRow() || !onToggle) return;
  runHandler([&] { onToggle(row); });
  const RECT r = switchRect(row);
  InvalidateRect(hwnd_, &r, FALSE);
  notifyAccessible(EVENT_OBJECT_STATECHANGE, hwnd_, cellId(row, 0));
}

int Grid::lastRow() const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return lastRowIn(client.bottom, windowDpi(hwnd_));
}

int Grid::lastRowIn(int clientBottom, int dpi) const {
  int row = kRows - 1;
  while (row > kFirstDataRow && cellRectAt(row, 1, dpi).bottom > clientBottom) --row;
  return row;
}

bool Grid::hitTest(int x, int y, int& row, int& col) const {
  const int dpi = windowDpi(hwnd_);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      RECT rc = cellRectAt(r, c, dpi);
      if (x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom) {
        row = r;
        col = c;
        return true;
      }
    }
  return false;
}

void Grid::select(int row, int col) {
  if (row < kFirstDataRow || row > lastRow() || col < kFirstDataCol || col > kLastDataCol) return;
  if (editing()) endEdit(true);
  const bool moved = row != row_ || col != col_;
  row_ = row;
  col_ = col;
  refresh();
  if (moved) notifyFocus();
}

void Grid::notifyFocus() {
  // A screen reader follows the selected cell.
  if (GetFocus() == hwnd_) notifyAccessible(EVENT_OBJECT_FOCUS, hwnd_, cellId(row_, col_));
}

void Grid::move(int dRow, int dCol, bool wrap) {
  int row = row_, col = col_ + dCol;
  if (wrap) {
    if (col > kLastDataCol) {
      col = kFirstDataCol;
      ++row;
    } else if (col < kFirstDataCol) {
      col = kLastDataCol;
      --row;
    }
  }
  row += dRow;
  if (row < kFirstDataRow) row = kFirstDataRow;
  if (row > lastRow()) row = lastRow();
  if (col < kFirstDataCol) col = kFirstDataCol;
  if (col > kLastDataCol) col = kLastDataCol;
  select(row, col);
}

void Grid::beginEdit(const std::wstring* initial, bool caretAtEnd) {
  if (row_ > lastRow()) return;  // a row the grid does not show
  makeEditor();
  if (!edit_) return;  // no window to be had: the cell stays as it is
  // Sized first, so a text with line breaks fits in when it is set.
  SetWindowTextW(edit_, L"");
  fitEditor();
  ShowWindow(edit_, SW_SHOW);
  if (initial) {
    SetWindowTextW(edit_, initial->c_str());
    const int len = static_cast<int>(initial->size());
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(len), len);
  } else {
    SetWindowTextW(edit_, widen(cell_(row_, col_)).c_str());
    if (caretAtEnd) {
      const int len = GetWindowTextLengthW(edit_);
      SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(len), len);
    } else {
      SendMessageW(edit_, EM_SETSEL, 0, -1);
    }
  }
  fitEditor();
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  SetFocus(edit_);
}

void Grid::fitEditor() {
  // One row per line of the text, from the cell down as far as the grid
  // reaches (then upwards).
  RECT rc = cellRect(row_, col_);
  RECT client{};
  GetClientRect(hwnd_, &client);
  HDC dc = GetDC(edit_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(edit_, dc);
  const int lines = std::max<int>(1, static_cast<int>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0)));
  const int cellHeight = rc.bottom - rc.top - 1;
  int height = std::max<int>(cellHeight, lines * tm.tmHeight + 2);
  height = std::min<int>(height, static_cast<int>(client.bottom) - 2);
  int top = rc.top + 1;
  if (top + height > client.bottom) top = std::max<int>(0, static_cast<int>(client.bottom) - height);
  SetWindowPos(edit_, HWND_TOP, rc.left + 1, top, rc.right - rc.left - 1, height, SWP_NOACTIVATE);
}

void Grid::endEdit(bool commit) {
  if (!editing() || committing_) return;
  committing_ = true;
  if (commit) setCell(row_, col_, getText(edit_));
  const bool hadFocus = GetFocus() == edit_;
  ShowWindow(edit_, SW_HIDE);
  if (hadFocus) SetFocus(hwnd_);
  committing_ = false;
  refresh();
}

void Grid::setCell(int row, int col, const std::string& text) {
  std::string& target = cell_(row, col);
  if (text == target) return;
  target = text;
  if (onEdited) runHandler([&] { onEdited(row, col); });
  notifyAccessible(EVENT_OBJECT_NAMECHANGE, hwnd_, cellId(row, col));
}

LRESULT CALLBACK Grid::editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* grid = reinterpret_cast<Grid*>(data);
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_KEYDOWN: {
      const bool shift = GetKeyState(VK_SHIFT) < 0;
      const bool ctrl = GetKeyState(VK_CONTROL) < 0;
      switch (wp) {
        case VK_RETURN:
          if (ctrl) break;  // Ctrl+Enter: a line break inside the cell
          grid->endEdit(true);
          return 0;
        case VK_ESCAPE:
          grid->endEdit(false);
          return 0;
        case VK_TAB:
          grid->endEdit(true);
          grid->move(0, shift ? -1 : 1, true);
          return 0;
        case VK_UP:
        case VK_DOWN:
          grid->endEdit(true);
          grid->move(wp == VK_UP ? -1 : 1, 0, false);
          return 0;
        default:
          break;
      }
      break;
    }
    case WM_CHAR:
      if (wp == VK_RETURN || wp == VK_ESCAPE || wp == VK_TAB) return 0;
      if (wp == 0x0A) {  // Ctrl+Enter
        SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r\n"));
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      grid->endEdit(true);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void Grid::paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  const int dpi = windowDpi(hwnd_);
  HGDIOBJ oldFont = SelectObject(dc, uiFont(dpi));
  SetBkMode(dc, TRANSPARENT);
  const bool focused = GetFocus() == hwnd_;
  const int last = lastRowIn(client.bottom, dpi);
  // The fixed heading row and column first, then the cells, then the lines.
  RECT heading = cellRectAt(0, kCols - 1, dpi);
  heading.left = 0;
  FillRect(dc, &heading, GetSysColorBrush(COLOR_BTNFACE));
  RECT fixedColumn = cellRectAt(kRows - 1, 0, dpi);
  fixedColumn.top = 0;
  FillRect(dc, &fixedColumn, GetSysColorBrush(COLOR_BTNFACE));
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      RECT rc = cellRectAt(r, c, dpi);
      if (rc.top >= client.bottom) break;
      const bool fixed = r == 0 || c == 0;
      const bool selected = !fixed && r == row_ && c == col_;
      if (fixed) {
        RECT edge = rc;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
      } else if (selected) {
        FillRect(dc, &rc, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
      }
      if (c == 0 && r >= kFirstDataRow && r <= last && switchOf)
        DrawnParts::shared().draw(dc, hwnd_, switchOf(r) ? PartLook::BoxOn : PartLook::BoxOff, switchRectAt(r, dpi));
      const std::wstring text =
          r == 0 ? widen(headings_[static_cast<size_t>(c)]) : c == 0 ? std::wstring() : widen(oneLineView(cell_(r, c)));
      if (text.empty()) continue;
      SetTextColor(dc, GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      RECT tr = rc;
      tr.left += 2;
      tr.right -= 1;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  // 1-pixel lines right of and below each cell: one line per row and per column.
  HBRUSH line = GetSysColorBrush(COLOR_BTNSHADOW);
  const RECT lastCell = cellRectAt(kRows - 1, kCols - 1, dpi);
  for (int r = 0; r < kRows; ++r) {
    const RECT rc = cellRectAt(r, 0, dpi);
    const RECT below{0, rc.bottom, lastCell.right + 1, rc.bottom + 1};
    FillRect(dc, &below, line);
  }
  for (int c = 0; c < kCols; ++c) {
    const RECT rc = cellRectAt(0, c, dpi);
    const RECT right{rc.right, 0, rc.right + 1, lastCell.bottom + 1};
    FillRect(dc, &right, line);
  }
  SelectObject(dc, oldFont);
}

LRESULT Grid::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;
  if (paintMessage(hwnd_, msg, wp, painted, [this](HDC dc) { paint(dc); })) return painted;
  if (accessible_.handle(hwnd_, msg, wp, lp, painted)) return painted;
  switch (msg) {
    case WM_SETFOCUS:
      refresh();
      notifyFocus();
      return 0;
    case WM_KILLFOCUS:
      refresh();
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      // Tab moves between the cells; past the last (or before the first) it leaves the grid.
      auto* m = reinterpret_cast<MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        const bool atEnd = back ? (row_ == kFirstDataRow && col_ == kFirstDataCol)
                                : (row_ >= lastRow() && col_ == kLastDataCol);
        if (!atEnd) code |= DLGC_WANTTAB;
      }
      if (m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_LBUTTONDOWN: {
      int r = 0, c = 0;
      const bool hadFocus = GetFocus() == hwnd_;
      SetFocus(hwnd_);
      if (!hitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)), r, c) || r == 0) return 0;
      if (c == 0) {
        // The row's switch: toggled, and the row becomes the selected one.
        if (switchOf && r <= lastRow()) {
          select(r, col_);
          toggle(r);
        }
        return 0;
      }
      if (hadFocus && r == row_ && c == col_)
        beginEdit();
      else
        select(r, c);
      return 0;
    }
    case WM_KEYDOWN:
      switch (wp) {
        case VK_LEFT: move(0, -1, false); return 0;
        case VK_RIGHT: move(0, 1, false); return 0;
        case VK_UP: move(-1, 0, false); return 0;
        case VK_DOWN: move(1, 0, false); return 0;
        case VK_HOME: select(row_, kFirstDataCol); return 0;
        case VK_END: select(row_, kLastDataCol); return 0;
        case VK_PRIOR: select(kFirstDataRow, col_); return 0;
        case VK_NEXT: select(lastRow(), col_); return 0;
        case VK_TAB: move(0, GetKeyState(VK_SHIFT) < 0 ? -1 : 1, true); return 0;
        case VK_F2:
        case VK_RETURN: beginEdit(nullptr, true); return 0;
        default: break;
      }
      break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      DrawnParts::shared().clear();
      refresh();
      break;
    case WM_SIZE:
      // A shortened grid: the rows it cuts off are no longer selected or edited.
      if (row_ > lastRow()) {
        if (editing()) endEdit(true);
        row_ = lastRow();
      }
      refresh();
      break;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == edit_ && HIWORD(wp) == EN_CHANGE && editing()) fitEditor();
      return 0;
    case WM_CHAR:
      if (row_ > lastRow()) return 0;
      if (wp == L' ' && onToggle) {
        toggle(row_);
        return 0;
      }
      if (wp >= 0x20 && wp != 0x7F) {
        std::wstring first(1, static_cast<wchar_t>(wp));
        beginEdit(&first);
        return 0;
      }
      return 0;
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- accessibility

std::vector<long> Grid::children(long parent) {
  std::vector<long> ids;
  if (parent == 0) {
    for (int r = 0; r <= lastRow(); ++r) ids.push_back(rowId(r));
  } else if (!isCellId(parent) && rowOfId(parent) <= lastRow()) {
    for (int c = 0; c < kCols; ++c) ids.push_back(cellId(rowOfId(parent), c));
  }
  return ids;
}

long Grid::parentOf(long id) { return isCellId(id) ? rowId(rowOfId(id)) : 0; }

bool Grid::describe(long id, AccessiblePart& part) {
  if (id == 0) {
    part.role = ROLE_SYSTEM_TABLE;
    return true;
  }
  const int row = rowOfId(id);
  if (row < 0 || row > lastRow() || (isCellId(id) && colOfId(id) >= kCols)) return false;
  const std::string entry = row > 0 && rowName ? rowName(row) : std::string();
  if (!isCellId(id)) {
    part.role = ROLE_SYSTEM_ROW;
    part.name = entry;
    part.rect = cellRect(row, 0);
    part.rect.right = cellRect(row, kCols - 1).right;
    return true;
  }
  const int col = colOfId(id);
  part.rect = cellRect(row, col);
  if (row == 0) {
    part.role = ROLE_SYSTEM_COLUMNHEADER;
    part.name = heading(col);
  } else if (col == 0) {
    if (!switchOf) {
      part.role = ROLE_SYSTEM_CELL;
      return true;
    }
    // The row's switch, named after its column like the buttons after their caption.
    const bool on = switchOf(row);
    part.role = ROLE_SYSTEM_CHECKBUTTON;
    part.name = heading(0);
    part.description = entry + ": " + cell(row, 1);
    part.state = on ? STATE_SYSTEM_CHECKED : 0;
    part.defaultAction = on ? T("Deaktivieren") : T("Aktivieren");
    part.rect = switchRect(row);
  } else {
    part.role = ROLE_SYSTEM_CELL;
    part.name = part.value = cell(row, col);
    part.description = entry + ", " + heading(col);
    part.state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (row == row_ && col == col_) {
      part.state |= STATE_SYSTEM_SELECTED;
      if (GetFocus() == hwnd_) part.state |= STATE_SYSTEM_FOCUSED;
    }
    part.defaultAction = "Bearbeiten";
  }
  return true;
}

void Grid::doDefaultAction(long id) {
  if (!isCellId(id) || rowOfId(id) < kFirstDataRow) return;
  const int row = rowOfId(id), col = colOfId(id);
  if (col == 0) {
    toggle(row);
  } else {
    // As F2: the cell's editor with the caret after its text.
    SetFocus(hwnd_);
    select(row, col);
    beginEdit(nullptr, true);
  }
}

bool Grid::setValue(long id, const std::string& value) {
  if (!isCellId(id) || rowOfId(id) < kFirstDataRow || colOfId(id) < kFirstDataCol) return false;
  const int row = rowOfId(id), col = colOfId(id);
  if (editing() && row == row_ && col == col_) endEdit(false);
  setCell(row, col, value);
  refresh();
  return true;
}

bool Grid::selectPart(long id, long flags) {
  if (!isCellId(id) || rowOfId(id) < kFirstDataRow || colOfId(id) < kFirstDataCol) return false;
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(hwnd_);
  select(rowOfId(id), colOfId(id));
  return true;
}

long Grid::focusedPart() { return GetFocus() == hwnd_ ? cellId(row_, col_) : 0; }

long Grid::selectedPart() { return cellId(row_, col_); }

}  // namespace vak
