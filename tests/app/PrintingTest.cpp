// The instructions page: its arithmetic, what it draws in which order, the font
// it keeps, when it refuses, and the page as a PDF reader sees it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "GameView.h"
#include "Instructions.h"
#include "Printing.h"

namespace tessaform {
namespace {

using ::testing::ElementsAre;

// Remembers what was drawn; every character is 10 units wide.
class RecordingContext : public DeviceContext {
public:
    struct Text {
        int x, y;
        std::string text;
        FontSpec font;
    };

    void SelectPen(Rgb) override {}
    void SelectBrush(Rgb) override {}
    void SelectFont(const FontSpec& font) override {
        font_ = font;
        selected.push_back(font);
    }
    void SetTextColor(Rgb) override {}
    void SetTransparentBackground() override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(const Rect&) override {}
    void FillRect(const Rect&, Rgb) override {}
    void SetPixel(int, int, Rgb) override {}
    void BitBlt(int, int, int, int, const Picture&) override {}
    void DrawText(std::string_view, const Rect&, unsigned) override {}
    void TextOut(int x, int y, std::string_view text) override {
        texts.push_back({x, y, std::string(text), font_});
    }
    int TextWidth(std::string_view text) override { return 10 * static_cast<int>(text.size()); }

    std::vector<Text> texts;
    std::vector<FontSpec> selected;

private:
    FontSpec font_;
};

constexpr const char* kNotice =
    "Tessaform  (C) the makers -- Mon Jan  5 10:00:00 2026 -- Version P504 of";

struct PrintBench {
    PrintBench() {
        state.clientRect = {0, 0, 800, 556};
        SetInstructionLines(state);
    }
    PrintInfo Page(Rect r) {
        PrintInfo info;
        info.drawRect = r;
        return info;
    }
    GameState state;
    QString title = kNotice;
    InstructionsPrinter printer{state, [this] { return title; }};
};

TEST(PageLayout, PortraitPageOfTheWorkedExample) {
    const PageLayout page = LayOutPage({0, 0, 4800, 6360});
    EXPECT_EQ(page.lineHeight, 55);
    EXPECT_EQ(page.charWidth, 60);
    EXPECT_EQ(page.font.height, 108);
    EXPECT_EQ(page.font.family, "Arial Black");
    EXPECT_EQ(page.font.weight, 500);
    EXPECT_EQ(page.textLeft, 30);
    EXPECT_EQ(page.textRight, 4770);
    EXPECT_EQ(page.TitleY(), 110);
    EXPECT_EQ(page.EntryY(0), 440);
    EXPECT_EQ(page.EntryY(37), 4510);
}

TEST(PageLayout, LandscapeTakesThePitchFromTheHeightAndTheFontFromTheWidth) {
    const PageLayout page = LayOutPage({0, 0, 6360, 4800});
    EXPECT_EQ(2 * page.lineHeight, 110);
    EXPECT_EQ(page.font.height, 144);
    // The last line starts 82/86 of the way down.
    EXPECT_EQ(page.EntryY(37), 82 * (4800 / 86));
}

TEST(PageLayout, CentringDropsFractions) {
    const PageLayout page = LayOutPage({0, 0, 4801, 6360});
    EXPECT_EQ(page.textLeft, 30);  // (4801 - 4740) / 2 = 30.5
    EXPECT_EQ(page.TitleX(101), 2349);
    EXPECT_EQ(page.EntriesX(100), 2350);
}

TEST(InstructionsPage, TitleThenThe38EntriesAtTheirPitchesFromOneLeftEdge) {
    PrintBench bench;
    RecordingContext dc;
    bench.printer.OnPrint(dc, bench.Page({0, 0, 4800, 6360}));

    ASSERT_EQ(dc.texts.size(), 39u);
    const std::string title = std::string(kNotice).substr(0, std::string(kNotice).size() - 3);
    EXPECT_EQ(dc.texts[0].text, title);
    EXPECT_EQ(dc.texts[0].y, 110);
    EXPECT_EQ(dc.texts[0].x, (30 + 4770 - 10 * static_cast<int>(title.size())) / 2);
    const int entriesX = (4800 - 10 * static_cast<int>(bench.state.instructionLines[0].size())) / 2;
    for (int i = 0; i < kInstructionLineCount; ++i) {
        const auto& line = dc.texts[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(line.text, kInstructionLines[i]) << i;
        EXPECT_EQ(line.y, (i + 4) * 110) << i;
        EXPECT_EQ(line.x, entriesX) << i;
    }
    for (const auto& text : dc.texts) {
        EXPECT_EQ(text.font, (FontSpec{"Arial Black", 108, 500, false}));
    }
    // The context is left with the font it had.
    EXPECT_EQ(dc.selected.back(), kDefaultFont);

    const GameState& s = bench.state;
    EXPECT_THAT((std::vector{s.printAreaWidth, s.printLineHeight, s.printCharWidth, s.printTextLeft,
                             s.printTextRight, s.printTextX}),
                ElementsAre(4800, 55, 60, 30, 4770, entriesX));
}

TEST(InstructionsPage, PrintingTwiceMakesAFreshFontAndKeepsOnlyThatOne) {
    const int aliveBefore = PrintFont::Alive();
    PrintBench bench;
    RecordingContext dc;
    bench.printer.OnPrint(dc, bench.Page({0, 0, 4800, 6360}));
    const int firstSerial = bench.printer.CurrentPrintFont()->Serial();
    bench.printer.OnPrint(dc, bench.Page({0, 0, 6360, 4800}));

    ASSERT_NE(bench.printer.CurrentPrintFont(), nullptr);
    EXPECT_GT(bench.printer.CurrentPrintFont()->Serial(), firstSerial);
    EXPECT_EQ(bench.printer.CurrentPrintFont()->Spec().height, 144);
    EXPECT_EQ(PrintFont::Alive(), aliveBefore + 1);
}

TEST(InstructionsPage, NoFontBeforeTheFirstPageAndNoneLeftWithThePrinter) {
    const int aliveBefore = PrintFont::Alive();
    {
        PrintBench bench;
        EXPECT_EQ(bench.printer.CurrentPrintFont(), nullptr);
        RecordingContext dc;
        bench.printer.OnPrint(dc, bench.Page({0, 0, 4800, 6360}));
    }
    EXPECT_EQ(PrintFont::Alive(), aliveBefore);
}

TEST(InstructionsPage, OnePageAndOnlyWhileTheViewIsWideEnoughForTheGame) {
    PrintBench bench;
    PrintInfo info;
    bench.state.clientRect.right = 641;
    EXPECT_TRUE(bench.printer.OnPreparePrinting(info));
    EXPECT_EQ(info.minPage, 1);
    EXPECT_EQ(info.maxPage, 1);

    bench.state.clientRect.right = 640;
    EXPECT_FALSE(bench.printer.OnPreparePrinting(info));
}

TEST(InstructionsPage, StaysEmptyWhenTheViewWasRepaintedTooNarrowMeanwhile) {
    PrintBench bench;
    bench.state.clientRect.right = 640;
    RecordingContext dc;
    bench.printer.OnPrint(dc, bench.Page({0, 0, 4800, 6360}));
    EXPECT_TRUE(dc.texts.empty());
    EXPECT_EQ(bench.state.printLineHeight, 0);
    EXPECT_EQ(bench.printer.CurrentPrintFont(), nullptr);
}

TEST(InstructionsPage, TitleLosesTheCaptionsClosingOf) {
    PrintBench bench;
    bench.title = QString(kTitleNotice) + "Mon Jan  5 10:00:00 2026" + kTitleVersion;
    EXPECT_TRUE(bench.printer.PrintedTitle().endsWith("Version P504"));
    EXPECT_FALSE(bench.printer.PrintedTitle().endsWith(" "));
    bench.title = "ab";
    EXPECT_EQ(bench.printer.PrintedTitle(), "");
}

// A PDF's text as one string of words, so line breaks do not matter.
QString Words(const QString& text) {
    return text.simplified();
}

TEST(InstructionsPdf, ReadsBackAsTheTitleThenThe38LinesInOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("instructions.pdf");
    PrintBench bench;
    bench.title = "Tessaform  (C) the makers -- Mon Jan  5 10:00:00 2026 -- Version P504 of";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(PrintInstructions(bench.printer, printer));

    const QString text = Words(testing::PdfText(path));
    ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
    qsizetype at = text.indexOf(Words(bench.printer.PrintedTitle()));
    EXPECT_EQ(at, 0) << text.toStdString();
    for (int i = 0; i < kInstructionLineCount; ++i) {
        const QString line = Words(kInstructionLines[i]);
        if (line.isEmpty()) {
            continue;
        }
        const qsizetype found = text.indexOf(line, at);
        EXPECT_GT(found, at) << "entry " << i << " missing or out of order";
        at = std::max(at, found);
    }
}

// The title the game really prints must fit the page, or its ends are cut off.
TEST(InstructionsPdf, TheGamesTitleFitsOnAPortraitPage) {
    PrintBench bench;
    bench.title = QString(kTitleNotice) + "Wed Sep 30 23:59:59 2026" + kTitleVersion;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTemporaryDir dir;
    printer.setOutputFileName(dir.filePath("title.pdf"));
    ASSERT_TRUE(PrintInstructions(bench.printer, printer));

    const QString text = Words(testing::PdfText(dir.filePath("title.pdf")));
    EXPECT_TRUE(text.startsWith(Words(bench.printer.PrintedTitle()))) << text.toStdString();
}

}  // namespace
}  // namespace tessaform
