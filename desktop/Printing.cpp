// Lays out and prints the instructions page: the title notice and the rules below it.
#include "Printing.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <utility>

#include "Instructions.h"
#include "Layout.h"
#include "QtFonts.h"

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

void InstructionsPrinter::OnPrint(QPainter& painter, const PrintInfo& info) {
    GameState& s = state_;
    // The view may have been repainted narrower since printing was agreed.
    if (s.clientRect.right < kMinimumClientWidth) {
        return;
    }
    const PageLayout page = LayOutPage(info.drawRect);
    s.printAreaWidth = page.areaWidth;
    s.printLineHeight = page.lineHeight;
    s.printCharWidth = page.charWidth;
    s.printTextLeft = page.textLeft;
    s.printTextRight = page.textRight;

    // Measured at the printer's resolution, so that a page lays out alike on any printer; each
    // line drawn from its top left.
    painter.setFont(ResolveFont(page.printFont));
    const auto metrics = painter.fontMetrics();
    painter.translate(0, metrics.ascent());
    const QString title = PrintedTitle();
    s.printTextX = page.TitleX(metrics.horizontalAdvance(title));
    painter.drawText(s.printTextX, page.TitleY(), title);
    const auto entry = [&](int i) { return QString::fromStdString(s.instructionLines[i]); };
    s.printTextX = page.EntriesX(metrics.horizontalAdvance(entry(0)));
    for (int i = 0; i < kInstructionLineCount; ++i) {
        painter.drawText(s.printTextX, page.EntryY(i), entry(i));
    }
}

bool PrintInstructions(InstructionsPrinter& printing, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The painter's origin is the top left of the printable area.
    const QRect usable = printer.pageRect(QPrinter::DevicePixel).toRect();
    PrintInfo info;
    info.maxPage = 1;
    info.drawRect = {0, 0, usable.width(), usable.height()};
    printing.OnPrint(painter, info);
    return true;
}

}  // namespace tessaform
