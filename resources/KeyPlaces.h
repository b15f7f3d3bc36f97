// Where the pictures leave room for the key names the game letters at run time, from the
// player's bindings: the title's legend (a blank plate per player and action) and the line of
// keys under each upgrade menu. The forge paints around these places; the game fills them.
#pragma once

namespace skyrift::keyplaces {

// A rectangle of the screen: left, top, right, bottom (exclusive).
struct Place {
  int left, top, right, bottom;
};

// The title's legend: six action columns, each as wide as its name needs, to the right of the
// players' names, one row of plates per player.
constexpr int kLegendLeft = 124, kLegendRight = 776, kLegendTop = 566, kLegendBottom = 714;
constexpr int kColumns = 6;
constexpr int kFirstColumn = kLegendLeft + 104;
constexpr int kColumnWidths[kColumns] = {96, 84, 70, 104, 92, 92};
constexpr int kPlateHalfHeight = 15;
constexpr int kActionRow = 588;             // the actions' names, centred on this row
constexpr int kPlayerRows[2] = {628, 676};  // the centres of each player's plates

constexpr int ColumnLeft(int column) {
  int left = kFirstColumn;
  for (int i = 0; i < column; ++i) left += kColumnWidths[i];
  return left;
}
constexpr int ColumnCentre(int column) {
  return ColumnLeft(column) + kColumnWidths[column] / 2;
}
constexpr int PlateWidth(int column) {
  return kColumnWidths[column] - 8;
}
// Where a player's key is lettered on its plate in a column: inside the plate's sides.
constexpr Place PlateLettering(int player, int column) {
  const int x = ColumnCentre(column), y = kPlayerRows[player - 1];
  return {x - PlateWidth(column) / 2 + 3, y - kPlateHalfHeight, x + PlateWidth(column) / 2 - 3,
          y + kPlateHalfHeight};
}

// The upgrade menus' line of keys, centred on this row across the screen.
constexpr int kMenuHintTop = 526, kMenuHintBottom = 554;

// The keys as shipped are shown as the forge lettered them: it paints each of these screens a
// second time with those keys in, and cuts the places below out of that painting into a small
// picture of their own, which the game lays over the blank places of keys still bound as
// shipped. A place holds all that the lettering changes there (the forge checks it as it
// builds), so with every key as shipped the screen is exactly that painting.
struct Cut {
  Place screen;
  int pictureX, pictureY;  // its top-left corner in the cut picture
};

// A player's plate in a column: the column's whole width (a long shipped name's plate is wider
// than a blank one), its rim and shadow above and below. The cut picture holds player 1's row of
// plates over player 2's.
constexpr int kCutHalfHeight = kPlateHalfHeight + 3;
constexpr Cut LegendCut(int player, int column) {
  const int left = ColumnLeft(column), y = kPlayerRows[player - 1];
  return {{left, y - kCutHalfHeight, left + kColumnWidths[column], y + kCutHalfHeight},
          left - kFirstColumn,
          (player - 1) * 2 * kCutHalfHeight};
}

// An upgrade menu's line of keys.
constexpr Cut kMenuKeysCut = {{0, kMenuHintTop, 900, kMenuHintBottom}, 0, 0};

}  // namespace skyrift::keyplaces
