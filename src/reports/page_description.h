// A printout as the printer is told to draw it, without a toolkit: lines of
// text in a font size, with pieces placed at print columns, and horizontal
// rules. One renderer (in the Qt skin) draws a description on a printer, in
// a print preview or into a PDF file, breaking pages where they are full.
#pragma once

#include <string>
#include <vector>

namespace vst {

// A piece of text on a line. `column` is a print column counted from 1 at
// the left margin, one column the average character width of the line's
// font; 0 places the piece directly after the previous one.
struct PrintPiece {
  int column = 0;
  std::string text;
};

struct PrintLine {
  enum class Kind { Text, Rule };
  Kind kind = Kind::Text;
  double pointSize = 11;           // font size of a text line (an empty line too)
  std::vector<PrintPiece> pieces;  // empty: an empty line
};

struct PageDescription {
  std::string title;  // the document name a print job carries
  std::vector<PrintLine> lines;

  // Builders: a text line, an empty line, a rule across the page under the
  // previous line.
  PageDescription& text(double pointSize, std::vector<PrintPiece> pieces);
  PageDescription& empty(double pointSize);
  PageDescription& rule();
};

// Every text of the description in order, one line each (rules as "----"),
// for tests and for a plain-text view of a printout.
std::string PlainText(const PageDescription& page);

}  // namespace vst
