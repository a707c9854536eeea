// The main window on the running program: menu, commands and caption.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "AppFixture.h"

namespace tessaform::testing {

// Every item of the menu bar as "menu/item", or "menu/-" for a separator, in order.
static std::vector<std::pair<QString, QAction*>> MenuItems(CMainFrame& frame) {
    std::vector<std::pair<QString, QAction*>> items;
    for (const QAction* menu : frame.MenuBar().actions()) {
        for (QAction* a : menu->menu()->actions()) {
            items.emplace_back(menu->text() + "/" + (a->isSeparator() ? "-" : a->text()), a);
        }
    }
    return items;
}

// What a command of the shell must leave alone.
static auto GameOf(const GameState& s) {
    return std::tuple(s.blockArrangement, s.blockStatus, s.blockClicks, s.gameStartTime,
                      s.gameIndex, s.gameOver, s.matchScore, s.setScores);
}

TEST(Commands, EachDoesItsOwnThingAndLeavesTheGameAlone) {
    const struct {
        const char* keysOrItem;  // keys, or "menu/item"
        int viewWidth = 641;
        const char* dialog = "";
        const char* titleBeforeRepaint = nullptr;  // none when nothing repaints
        bool chooseFile = false, closes = false;
    } commands[] = {
        {"Ctrl+N", 641, "", "Untitled"},
        {"Ctrl+O", 641, "QFileDialog"},
        {"Ctrl+O", 641, "QFileDialog", "app_tests", true},
        {"Ctrl+P", 641, "QPrintDialog"},
        {"Ctrl+P", 640},
        {"&File/Print Pre&view", 641, "QPrintPreviewDialog"},
        {"&File/Print Pre&view", 640},
        {"&Help/&About Tessaform...", 641, "tessaform::CAboutDlg"},
        {"&File/E&xit", 641, "", nullptr, false, true},
        {"Alt+F4", 641, "", nullptr, false, true},
        {"Ctrl+S; Ctrl+Z; Ctrl+X; Ctrl+C; Ctrl+V; Alt+Backspace; Shift+Del; Ctrl+Ins; Shift+Ins; "
         "F6; Shift+F6"},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(std::string(c.keysOrItem) + " at " + std::to_string(c.viewWidth));
        RunningApp run;
        run.State().clientRect.right = c.viewWidth;
        const auto game = GameOf(run.State());
        std::string opened;
        OnNextModal([&](QWidget& dialog) {
            opened = dialog.metaObject()->className();
            if (c.chooseFile) {  // typed as a player would; nothing is read from the file
                dialog.findChild<QLineEdit*>("fileNameEdit")->setText(qApp->applicationFilePath());
            }
            QMetaObject::invokeMethod(&dialog, c.chooseFile ? "accept" : "close");
        });
        for (const auto& [path, item] : MenuItems(run.Frame())) {
            if (path == c.keysOrItem) {
                item->trigger();
            }
        }
        const QString keys = QString(c.keysOrItem).contains('/') ? "" : c.keysOrItem;
        for (const QKeySequence& key : QKeySequence::listFromString(keys)) {
            QTest::keySequence(&run.Frame(), key);
        }
        QCoreApplication::processEvents();  // the repaint it asked for, if any
        EXPECT_EQ(opened, c.dialog);
        const QStringList repainted = {c.titleBeforeRepaint, run.app.Document()->Title()};
        EXPECT_EQ(run.titles, c.titleBeforeRepaint ? repainted : QStringList{});
        EXPECT_EQ(run.Frame().isVisible(), !c.closes);
        EXPECT_EQ(GameOf(run.State()), game);
    }
}

// The chrome: the menu, the caption of the last repaint, and the icon.
TEST(MainWindow, MenuInOrderCaptionOfTheLastRepaintIconInBothSizes) {
    RunningApp run;
    const auto items = MenuItems(run.Frame());
    QStringList paths;
    for (const auto& item : items)
        paths << item.first;
    EXPECT_EQ(paths, (QStringList{"&File/-", "&File/&Print...\tCtrl+P", "&File/Print Pre&view",
                                  "&File/-", "&File/E&xit", "&Help/&About Tessaform..."}));
    // Qt hides a separator that opens a menu unless told otherwise.
    const auto* file = qobject_cast<QMenu*>(items.at(0).second->parent());
    EXPECT_FALSE(file->actionGeometry(items.at(0).second).isEmpty());
    // Both the window's title and the caption strip it draws tell the last repaint's time.
    std::ostringstream time;
    time << std::put_time(std::localtime(&run.State().titleTime), "%c");
    for (const QString& shown : {run.Frame().windowTitle(), run.Frame().CaptionText()}) {
        EXPECT_TRUE(shown.contains(QString::fromStdString(time.str()))) << shown.toStdString();
    }
    EXPECT_EQ(run.Frame().windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
}

}  // namespace tessaform::testing
