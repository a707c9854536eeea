// The main window: its menu, accelerators, caption, restrictions, and the
// print and preview commands, on the running program.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "AppFixture.h"
#include "GameView.h"
#include "Instructions.h"
#include "Printing.h"
#include "QtPorts.h"

namespace tessaform {
namespace {

using testing::GameSnapshot;
using testing::RunningApp;

QString Notice(const GameState& s) {
    return QString(kTitleNotice) + QString::fromStdString(SystemClock().FormatLocal(s.titleTime)) +
           kTitleVersion;
}

QMenu* MenuAt(RunningApp& run, int index) {
    return run.Frame().MenuBar().actions().at(index)->menu();
}

TEST(Menu, HoldsExactlyTheItemsInOrder) {
    RunningApp run;
    const QList<QAction*> top = run.Frame().MenuBar().actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&Help");

    struct Item {
        bool separator;
        QString text;
        QKeySequence keys;
    };
    const std::vector<Item> file = {{true, "", {}},
                                    {false, "&Print...\tCtrl+P", QKeySequence("Ctrl+P")},
                                    {false, "Print Pre&view", {}},
                                    {true, "", {}},
                                    {false, "E&xit", {}}};
    const QList<QAction*> items = MenuAt(run, 0)->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(file.size()));
    for (std::size_t i = 0; i < file.size(); ++i) {
        const QAction* action = items[static_cast<qsizetype>(i)];
        EXPECT_EQ(action->isSeparator(), file[i].separator) << i;
        EXPECT_EQ(action->text(), file[i].text) << i;
        EXPECT_EQ(action->shortcut(), file[i].keys) << i;
    }
    const QList<QAction*> help = MenuAt(run, 1)->actions();
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0]->text(), "&About Tessaform...");
    EXPECT_TRUE(help[0]->shortcut().isEmpty());
}

TEST(Menu, TheLeadingSeparatorShowsAsALineOfItsOwn) {
    RunningApp run;
    QMenu* file = MenuAt(run, 0);
    file->popup(run.Frame().mapToGlobal(QPoint(0, 40)));
    ASSERT_TRUE(testing::WaitFor([&] { return file->isVisible(); }));
    const QRect separator = file->actionGeometry(file->actions().at(0));
    const QRect print = file->actionGeometry(file->actions().at(1));
    file->close();
    EXPECT_GE(separator.height(), 5);
    EXPECT_GE(print.top(), separator.bottom());
}

TEST(Menu, OpensByKeyboardAndByMouse) {
    RunningApp run;
    QMenu* file = MenuAt(run, 0);
    QMenu* help = MenuAt(run, 1);
    QTest::keyClick(&run.Frame(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(testing::WaitFor([&] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_Escape);
    QTest::keyClick(file, Qt::Key_Escape);
    ASSERT_TRUE(testing::WaitFor([&] { return !file->isVisible(); }));

    QTest::keyClick(&run.Frame(), Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(testing::WaitFor([&] { return help->isVisible(); }));
    help->close();
    ASSERT_TRUE(testing::WaitFor([&] { return !help->isVisible(); }));

    QMenuBar& bar = run.Frame().MenuBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(bar.actions().at(0)).center());
    EXPECT_TRUE(testing::WaitFor([&] { return file->isVisible(); }));
    file->close();
}

TEST(Accelerators, CtrlNStartsAnEmptyDocumentAndRepaintsWhileTheGameGoesOn) {
    RunningApp run;
    const GameSnapshot before(run.State());
    QTest::keyClick(&run.Frame(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(testing::WaitFor([&] { return run.titles.size() >= 2; }));
    EXPECT_EQ(run.titles[0], "Untitled");
    EXPECT_EQ(run.titles[1], Notice(run.State()));
    EXPECT_EQ(GameSnapshot(run.State()), before);
    EXPECT_TRUE(run.Frame().isVisible());
}

TEST(Accelerators, CtrlOOpensAFileReadsNothingAndRepaints) {
    RunningApp run;
    QTemporaryDir dir;
    const QString path = dir.filePath("not-a-game.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("whatever is in here stays out of the game\n");
    file.close();
    const GameSnapshot before(run.State());

    testing::WhenModalOpens([&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        // Typed as a player would: selecting waits for the dialog's directory listing,
        // which a loaded machine may not have finished yet.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::keyClick(&run.Frame(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(testing::WaitFor([&] { return run.titles.size() >= 2; }));
    EXPECT_EQ(run.titles[0], "not-a-game.txt");
    EXPECT_EQ(run.titles[1], Notice(run.State()));
    EXPECT_EQ(run.Doc().PathName(), path);
    EXPECT_EQ(GameSnapshot(run.State()), before);
}

TEST(Accelerators, CtrlOCancelledChangesNothing) {
    RunningApp run;
    testing::WhenModalOpens([](QWidget& modal) { modal.close(); });
    QTest::keyClick(&run.Frame(), Qt::Key_O, Qt::ControlModifier);
    QTest::qWait(50);
    EXPECT_TRUE(run.titles.isEmpty());
    EXPECT_TRUE(run.Doc().PathName().isEmpty());
}

TEST(Accelerators, SaveEditingAndPaneKeysDoNothing) {
    RunningApp run;
    const GameSnapshot before(run.State());
    const QString caption = run.Frame().windowTitle();
    testing::ModalWatcher watcher;
    const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_S, Qt::ControlModifier},    {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier},    {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},    {Qt::Key_Backspace, Qt::AltModifier},
        {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_Insert, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_F6, Qt::NoModifier},
        {Qt::Key_F6, Qt::ShiftModifier},
    };
    for (const auto& [key, modifiers] : keys) {
        QTest::keyClick(&run.Frame(), key, modifiers);
    }
    QTest::qWait(50);
    EXPECT_TRUE(watcher.opened.empty());
    EXPECT_TRUE(run.titles.isEmpty());
    EXPECT_EQ(run.Frame().windowTitle(), caption);
    EXPECT_EQ(GameSnapshot(run.State()), before);
    EXPECT_TRUE(run.Frame().isVisible());
}

TEST(Accelerators, AltF4EndsTheProgram) {
    RunningApp run;
    QTest::keyClick(&run.Frame(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(testing::WaitFor([&] { return !run.Frame().isVisible(); }));
}

TEST(Menu, ExitEndsTheProgram) {
    RunningApp run;
    MenuAt(run, 0)->actions().at(4)->trigger();
    EXPECT_FALSE(run.Frame().isVisible());
}

TEST(Caption, UntitledUntilTheFirstRepaintThenTheNoticeWithItsTime) {
    testing::SilentSound sound;
    CTessaformApp app(&sound);
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.MainFrame();
    EXPECT_EQ(frame.windowTitle(), "Tessaform - Untitled");
    EXPECT_EQ(frame.CaptionText(), frame.windowTitle());

    const GameState& s = frame.View().Game().State();
    ASSERT_TRUE(testing::WaitFor([&] { return s.titleTime != 0; }));
    EXPECT_EQ(frame.windowTitle(), "Tessaform - " + Notice(s));
    EXPECT_EQ(frame.CaptionText(), frame.windowTitle());
    frame.close();
}

TEST(Window, FillsTheScreenWithoutAFrameAndKeepsItsSize) {
    RunningApp run;
    CMainFrame& frame = run.Frame();
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frame.geometry(), frame.screen()->availableGeometry());
    EXPECT_EQ(frame.minimumSize(), frame.size());
    EXPECT_EQ(frame.maximumSize(), frame.size());
    // The view is what is left under the caption and the menu bar.
    EXPECT_EQ(run.State().clientRect.right, frame.width());
    EXPECT_GE(run.State().clientRect.right, 641);
}

TEST(Window, PressesOnTheCaptionDoNothing) {
    RunningApp run;
    CMainFrame& frame = run.Frame();
    const QRect before = frame.geometry();
    QWidget* caption = frame.menuWidget()->childAt(10, 2);
    ASSERT_NE(caption, nullptr);
    QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(10, 2));
    QTest::mouseMove(caption, QPoint(200, 150));
    QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseDClick(caption, Qt::LeftButton, {}, QPoint(10, 2));
    testing::ModalWatcher watcher;
    QTest::mouseClick(caption, Qt::RightButton, {}, QPoint(10, 2));
    QTest::qWait(50);
    EXPECT_EQ(frame.geometry(), before);
    EXPECT_TRUE(watcher.opened.empty());
    EXPECT_TRUE(QApplication::activePopupWidget() == nullptr);
}

TEST(Printing, CtrlPPrintsTheOnePageThroughThePrintDialog) {
    RunningApp run;
    QTemporaryDir dir;
    const QString path = dir.filePath("rules.pdf");
    run.Frame().Printer().setOutputFormat(QPrinter::PdfFormat);
    run.Frame().Printer().setOutputFileName(path);
    int highestPage = 0;
    testing::WhenModalOpens([&](QWidget& modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        highestPage = dialog->maxPage();
        dialog->accept();
    });
    QTest::keyClick(&run.Frame(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(highestPage, 1);
    const QString text = testing::PdfText(path).simplified();
    EXPECT_TRUE(text.contains(QString(kInstructionLines[0]).simplified())) << text.toStdString();
    EXPECT_TRUE(text.contains(QString(kInstructionLines[37]).simplified()));
    // Laid out in the printer's own units.
    EXPECT_EQ(run.State().printAreaWidth,
              run.Frame().Printer().pageRect(QPrinter::DevicePixel).toRect().width());
}

TEST(Printing, PreviewShowsTheOnePage) {
    RunningApp run;
    int pages = -1;
    testing::WhenModalOpens([&](QWidget& modal) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&modal);
        ASSERT_NE(preview, nullptr);
        pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
        preview->close();
    });
    MenuAt(run, 0)->actions().at(2)->trigger();
    EXPECT_EQ(pages, 1);
    ASSERT_NE(run.Frame().Printing().CurrentPrintFont(), nullptr);
    EXPECT_GT(run.State().printLineHeight, 0);
}

TEST(Printing, NeitherDialogNorPreviewOpensWhileTheViewIsTooNarrow) {
    RunningApp run;
    run.State().clientRect.right = 640;
    testing::ModalWatcher watcher;
    QTest::keyClick(&run.Frame(), Qt::Key_P, Qt::ControlModifier);
    MenuAt(run, 0)->actions().at(1)->trigger();
    MenuAt(run, 0)->actions().at(2)->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(watcher.opened.empty());
    EXPECT_EQ(run.Frame().Printing().CurrentPrintFont(), nullptr);
}

}  // namespace
}  // namespace tessaform
