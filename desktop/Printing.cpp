// Lays out and prints the instructions page: the title notice and the rules below it.
#include "Printing.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "ImageSurface.h"
#include "Instructions.h"
#include "Layout.h"

namespace tessaform {

namespace {

constexpr int kPrintFontWeight = 500;

}  // namespace

PageLayout LayOutPage(const Rect& drawRect) {
    PageLayout page;
    page.right = drawRect.right;
    page.areaWidth = drawRect.right - drawRect.left;
    page.lineHeight = std::min(drawRect.right, drawRect.bottom) / kPrintHalfPitches;
    page.charWidth = page.areaWidth / kPrintColumns;
    page.printFont = FontSpec{"Arial Black", (9 * page.charWidth) / 5, kPrintFontWeight, false};
    page.textLeft = (drawRect.right - kPrintColumns * page.charWidth) / 2;
    page.textRight = page.textLeft + kPrintColumns * page.charWidth;
    return page;
}

InstructionsPrinter::InstructionsPrinter(GameState& state, std::function<QString()> documentTitle)
    : state_(state), documentTitle_(std::move(documentTitle)) {}

bool InstructionsPrinter::OnPreparePrinting(PrintInfo& info) const {
    info.maxPage = 1;
    return state_.clientRect.right >= kMinimumClientWidth;
}

QString InstructionsPrinter::PrintedTitle() const {
    const QString title = documentTitle_ ? documentTitle_() : QString();
    return title.left(std::max<qsizetype>(title.size() - 3, 0));
}

void InstructionsPrinter::OnPrint(DeviceContext& dc, const PrintInfo& info) {
    GameState& s = state_;
    // The view may have been repainted narrower since printing was agreed.
    if (s.clientRect.right < kMinimumClientWidth) {
        return;
    }
    const PageLayout page = LayOutPage(info.drawRect);
    s.printAreaWidth = page.areaWidth;
    s.printLineHeight = page.lineHeight;
    s.printCharWidth = page.charWidth;

    dc.SelectFont(page.printFont);

    s.printTextLeft = page.textLeft;
    s.printTextRight = page.textRight;
    const std::string title = PrintedTitle().toStdString();
    s.printTextX = page.TitleX(dc.TextWidth(title));
    dc.TextOut(s.printTextX, page.TitleY(), title);

    s.printTextX = page.EntriesX(dc.TextWidth(s.instructionLines[0]));
    for (int i = 0; i < kInstructionLineCount; ++i) {
        dc.TextOut(s.printTextX, page.EntryY(i), s.instructionLines[i]);
    }
    // A printing context starts with the default font and is left with it.
    dc.SelectFont(kDefaultFont);
}

bool PrintInstructions(InstructionsPrinter& printing, QPrinter& printer) {
    const auto painter = std::make_shared<QPainter>();
    if (!painter->begin(&printer)) {
        return false;
    }
    // The painter's origin is the top left of the printable area.
    const QRect usable = printer.pageRect(QPrinter::DevicePixel).toRect();
    PrintInfo info;
    info.maxPage = 1;
    info.drawRect = {0, 0, usable.width(), usable.height()};
    PainterDeviceContext dc(painter);
    printing.OnPrint(dc, info);
    return true;
}

}  // namespace tessaform
