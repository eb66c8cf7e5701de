#pragma once
// The status set shown in the main window (OS-free). The two tables, the 32
// active check boxes and the two panels are views of this model.
#include <array>
#include <string>

namespace vak {

constexpr int kEntryCount = 32;
constexpr int kRowsPerGrid = 16;
constexpr int kAwayItem = 33;  // tag of AwayEd / item number in the editor
constexpr int kNaItem = 34;    // tag of NaEd

struct StatusEntry {
  std::string title;    // column 1
  std::string message;  // column 2
  bool active = false;  // the entry's active check box
};

struct StatusModel {
  std::array<StatusEntry, kEntryCount> entries{};  // entry n at [n - 1]
  std::array<int, kEntryCount> state{};            // entry state list, slot n at [n - 1]
  std::string away;                                // caption of AwayEd
  std::string na;                                  // caption of NaEd

  StatusEntry& entry(int n) { return entries.at(static_cast<std::size_t>(n - 1)); }
  const StatusEntry& entry(int n) const { return entries.at(static_cast<std::size_t>(n - 1)); }
  int& stateOf(int n) { return state.at(static_cast<std::size_t>(n - 1)); }
  int stateOf(int n) const { return state.at(static_cast<std::size_t>(n - 1)); }
};

// Entry n lives in StringGrid1 (1) row n for n = 1..16, in StringGrid2 (2) row n - 16 for 17..32.
inline int gridOfEntry(int n) { return n <= kRowsPerGrid ? 1 : 2; }
inline int rowOfEntry(int n) { return n <= kRowsPerGrid ? n : n - kRowsPerGrid; }
inline int entryOf(int grid, int row) { return grid == 1 ? row : row + kRowsPerGrid; }

// Top of entry n's row (and of its check box and edit button) on the tab page.
inline int entryRowTop(int n) { return 40 + 18 * (rowOfEntry(n) - 1); }

}  // namespace vak
