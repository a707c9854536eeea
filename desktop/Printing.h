// Printing the instructions: the page's layout in device units, and the one-page printer.
#pragma once

#include <QString>
#include <functional>

#include "DeviceContext.h"
#include "GameState.h"
#include "Rect.h"

class QPainter;
class QPrinter;

namespace tessaform {

// The text block is this many character widths wide, and the smaller page edge
// holds this many half pitches.
inline constexpr int kPrintColumns = 79;
inline constexpr int kPrintHalfPitches = 86;

// Where everything on the instructions page goes, in the printer's device units.
// Every division drops its fraction, so the page is the same on every run.
struct PageLayout {
    int right = 0;
    int areaWidth = 0;
    int lineHeight = 0;  // half the line pitch
    int charWidth = 0;
    int textLeft = 0;
    int textRight = 0;
    FontSpec printFont;  // each page makes its own

    int TitleY() const { return 2 * lineHeight; }
    // Pitches 2 and 3 stay empty below the title.
    int EntryY(int entry) const { return (entry + 4) * 2 * lineHeight; }
    // The title is centred in the text block.
    int TitleX(int titleWidth) const { return (textLeft + textRight - titleWidth) / 2; }
    // Every entry starts where the first one, centred on the page, starts.
    int EntriesX(int firstEntryWidth) const { return (right - firstEntryWidth) / 2; }
};

// The pitch follows the smaller page edge but the font the width, so on a
// landscape page the lines come closer than the font is tall.
PageLayout LayOutPage(const Rect& drawRect);

struct PrintInfo {
    int minPage = 1;
    int maxPage = 0;  // set by OnPreparePrinting
    Rect drawRect;    // the usable area of the page, in device units
};

// The instructions page: the title notice of the last repaint and the 38 lines.
class InstructionsPrinter {
public:
    InstructionsPrinter(GameState& state, std::function<QString()> documentTitle);

    // One page. False while the view is narrower than the game needs: then there
    // is nothing to print and no dialog or preview should open.
    bool OnPreparePrinting(PrintInfo& info) const;
    // Only text goes on paper, in the printer's units.
    void OnPrint(QPainter& painter, const PrintInfo& info);

    // The document's title without its last three characters: the caption's
    // closing " of" does not belong on paper.
    QString PrintedTitle() const;

private:
    GameState& state_;
    std::function<QString()> documentTitle_;
};

// Prints the one page on a printer, a PDF file or a preview, in the device's
// units, with the printable area as the drawing rectangle. False when the
// printer cannot be started, such as a file that cannot be written.
bool PrintInstructions(InstructionsPrinter& printing, QPrinter& printer);

}  // namespace tessaform
