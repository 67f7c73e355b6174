// A printout as the printer is told to draw it, without a toolkit: lines of
// text in a font size, with pieces placed at print columns, and horizontal
// rules. One renderer (in the Qt skin) draws a description on a printer, in
// a print preview or into a PDF file. Every text stays inside the page's
// printable area: a piece that does not fit before the next column (the
// last one: before the right margin) wraps onto further lines at its own
// column, and the lines below move down; a line that no longer fits starts a
// new page, which begins with the column heading in force.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/design_record.h"

namespace vst {

// A piece of text on a line. `column` is a print column counted from 1 at
// the left margin, one column the average character width of the line's
// font; 0 places the piece directly after the previous one (a wrapped text
// of such a piece continues under its own first character).
struct PrintPiece {
  int column = 0;
  std::string text;
};

struct PrintLine {
  enum class Kind { Text, Rule };
  Kind kind = Kind::Text;
  double pointSize = 11;           // font size of a text line (an empty line too)
  std::vector<PrintPiece> pieces;  // empty: an empty line
  // Part of a column heading: a run of heading lines is drawn where it
  // stands and again at the top of every later page, until the next run.
  bool heading = false;
};

struct PageDescription {
  std::string title;  // the document name a print job carries
  std::vector<PrintLine> lines;
  bool landscape = false;  // pages turned sideways (a wide table)

  // Builders: a text line, an empty line, a rule across the page under the
  // previous line.
  PageDescription& text(double pointSize, std::vector<PrintPiece> pieces);
  PageDescription& empty(double pointSize);
  PageDescription& rule();
  // Marks the lines from `first` to the last one added as a column heading.
  PageDescription& headingFrom(std::size_t first);
};

// Every text of the description in order, one line each (rules as "----"),
// for tests and for a plain-text view of a printout.
std::string PlainText(const PageDescription& page);

// The paper a printout takes when no printer has a default of its own:
// Letter in an inch-pound session, A4 in SI.
enum class Paper { Letter, A4 };
Paper SessionPaper(UnitSystem units);

}  // namespace vst
