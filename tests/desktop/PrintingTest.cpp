// The printed instructions: the page's arithmetic, and the page that Ctrl+P
// prints as pdftotext reads it back.

#include <gtest/gtest.h>

#include <QFile>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "AppFixture.h"
#include "Instructions.h"
#include "Printing.h"
#include "ProjectNotice.h"

namespace tessaform::testing {

// On a landscape page the pitch follows the height and the font the width, so
// lines overlap; the title centres in the text block, the entries on the page;
// every division drops its fraction; the font is Arial Black of weight 500.
TEST(PageLayout, LandscapeTakesThePitchFromTheHeightAndTheFontFromTheWidth) {
    const PageLayout p = LayOutPage({0, 0, 6361, 4801});
    EXPECT_EQ(std::tuple(p.lineHeight, p.charWidth, p.printFont, p.textLeft, p.textRight,
                         p.TitleX(101), p.EntriesX(101)),
              std::tuple(55, 80, FontSpec{"Arial Black", 144, 500, false}, 20, 6340, 3129, 3130));
}

// The lines that Ctrl+P prints to an A4 page without margins, as pdftotext reads them back
// from the top of the page down, with their boxes in points; the view is repainted
// `viewWidth` wide while the print dialog is open.
struct PdfLine {
    double left, top, right;
    QString text;
};
static std::vector<PdfLine> PrintedPage(RunningApp& run, int viewWidth) {
    QTemporaryDir dir;
    QPrinter& printer = run.Frame().Printer();
    printer.setOutputFileName(dir.filePath("rules.pdf"));  // a PDF, by its name
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&run.Frame()));
    OnNextModal([&run, viewWidth](QWidget& dialog) {
        EXPECT_EQ(qobject_cast<QPrintDialog*>(&dialog)->maxPage(), 1);
        run.State().clientRect.right = viewWidth;
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    QTest::keyClick(&run.Frame(), Qt::Key_P, Qt::ControlModifier);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox-layout", printer.outputFileName(), "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(90000) && pdftotext.exitCode() == 0);
    static const QRegularExpression line(
        R"re(<line xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([\s\S]*?)</line>)re");
    static const QRegularExpression tags(R"(\s*<[^>]*>\s*)");
    std::vector<PdfLine> lines;
    for (const QRegularExpressionMatch& m : line.globalMatch(pdftotext.readAllStandardOutput())) {
        lines.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).replace(tags, " ").simplified()});
    }
    std::stable_sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.top < b.top; });
    return lines;
}

// The maker's notice ends the page and must not take back what the licence grants: it
// holds the licence's copyright line, names the licence as LICENSE names itself, and
// says where the package puts it and how to reach the developers, as configured.
TEST(Printing, TheNoticeThenTheEntriesAtOnePitchFromOneLeftEdgeFrom641PixelsThenTheLicence) {
    QFile licence(TESSAFORM_LICENSE);
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList licenceLines = QString(licence.readAll()).split('\n');
    RunningApp run;
    const std::vector<PdfLine> lines = PrintedPage(run, 641);
    // pdftotext leaves out what falls off the page, so a line too wide for it goes missing.
    ASSERT_EQ(lines.size(), 35u) << "the notice and the entries that are not blank";
    // The caption's closing " of" stays off the paper.
    EXPECT_EQ(lines[0].text + " of", run.app.Document()->Title().simplified());
    // A4 is 9917 units of 1/1200 inch across: 79 columns of 125, a pitch of 230.
    const double pitch = 230 * 72 / 1200.0, middle = 9917 * 72 / 1200.0 / 2;
    EXPECT_NEAR(lines[0].top, pitch, 1.0);
    EXPECT_NEAR((lines[0].left + lines[0].right) / 2, middle, 0.1) << "the notice centred";
    EXPECT_NEAR((lines[1].left + lines[1].right) / 2, middle, 0.1) << "the first entry centred";
    for (std::size_t i = 1, entry = 0; i < lines.size(); ++i, ++entry) {
        entry += QString(kInstructionLines[entry]).trimmed().isEmpty();  // one empty pitch
        EXPECT_EQ(lines[i].text, QString(kInstructionLines[entry]).simplified());
        EXPECT_NEAR(lines[i].top - lines[0].top, (entry + 3.0) * pitch, 0.05);
        EXPECT_NEAR(lines[i].left, lines[1].left, 0.05);
        EXPECT_LT(lines[i].right, 2 * middle);
    }
    QString notice;
    std::for_each(lines.end() - 5, lines.end(), [&](const PdfLine& l) { notice += l.text + ' '; });
    const QString said[] = {licenceLines.filter(QRegularExpression("^Copyright ")).value(0),
                            QString(licenceLines[0]).replace("License", "licence"),
                            TESSAFORM_LICENCE_FILE, TESSAFORM_HOME_PAGE, TESSAFORM_REPORT_ADDRESS};
    for (const QString& text : said) {
        EXPECT_TRUE(!text.isEmpty() && notice.contains(text, Qt::CaseInsensitive))
            << text.toStdString() << " is not in: " << notice.toStdString();
    }
    // Neither a reservation of the rights the licence grants nor a ban on passing it on.
    EXPECT_FALSE(notice.toLower().contains(QRegularExpression("reserved|permission")))
        << notice.toStdString();
    // The view may have been repainted too narrow while the dialog was open.
    EXPECT_TRUE(PrintedPage(run, 640).empty());
}

}  // namespace tessaform::testing
