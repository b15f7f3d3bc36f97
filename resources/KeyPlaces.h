// Where the pictures leave room for the key names the game letters at run time, from the
// player's bindings: the title's legend (a blank plate per player and action) and the line of
// keys under each upgrade menu. The forge paints around these places; the game fills them.
#pragma once

namespace skyrift::keyplaces {

// The title's legend: six action columns, each as wide as its name needs, to the right of the
// players' names, one row of plates per player. Rectangles are left, top, right, bottom
// (exclusive).
constexpr int kLegendLeft = 124, kLegendRight = 776, kLegendTop = 566, kLegendBottom = 714;
constexpr int kColumns = 6;
constexpr int kFirstColumn = kLegendLeft + 104;
constexpr int kColumnWidths[kColumns] = {96, 84, 70, 104, 92, 92};
constexpr int kPlateHalfHeight = 15;
constexpr int kActionRow = 588;             // the actions' names, centred on this row
constexpr int kPlayerRows[2] = {628, 676};  // the centres of each player's plates

constexpr int ColumnCentre(int column) {
  int left = kFirstColumn;
  for (int i = 0; i < column; ++i) left += kColumnWidths[i];
  return left + kColumnWidths[column] / 2;
}
constexpr int PlateWidth(int column) {
  return kColumnWidths[column] - 8;
}

// The upgrade menus' line of keys, centred on this row across the screen.
constexpr int kMenuHintTop = 526, kMenuHintBottom = 554;

}  // namespace skyrift::keyplaces
