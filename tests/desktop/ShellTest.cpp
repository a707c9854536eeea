// The main window on the running program: menu, commands and caption; the about box and the
// program's icon that it shows.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <ctime>
#include <iomanip>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

#include "AppFixture.h"
#include "AppIcon.h"
#include "CAboutDlg.h"
#include "Picture.h"
#include "Resources.h"

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

// The caption is the designed one before the window first shows, not the document's default.
TEST(MainWindow, ItsCaptionBeforeItFirstShows) {
    CTessaformDoc document;
    SilentSound sound;
    const CMainFrame frame(document, &sound);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(frame.windowTitle().startsWith(QString("Tessaform - ") + kTitleNotice))
        << frame.windowTitle().toStdString();
    EXPECT_EQ(frame.CaptionText(), frame.windowTitle());
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

constexpr QRgb kM = 0xffff00ff, kB = 0xff0000ff, kY = 0xffffff00, kR = 0xffff0000, kG = 0xff00ff00;

TEST(AboutBox, ShowsItsTextsInFullTheLargeIconAndADefaultOk) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Tessaform");
    EXPECT_EQ(about.VersionLabel().text(), "Tessaform Version P504");
    EXPECT_EQ(about.NoticeLabel().text(), "(C) 2026 the Tessaform developers");
    for (QLabel* label : {&about.VersionLabel(), &about.NoticeLabel(), &about.IconLabel()}) {
        // Each label in the box and clear of OK; a text's advance and the font's height within
        // its label, where the box cuts them.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
        EXPECT_TRUE(about.rect().contains(label->geometry()));
        EXPECT_FALSE(label->geometry().intersects(about.OkButton().geometry()));
    }
    EXPECT_EQ(about.IconLabel().pixmap().toImage().pixel(16, 20), kG) << "the large icon's cross";
    EXPECT_EQ(about.OkButton().text(), "OK");
    EXPECT_TRUE(about.OkButton().isDefault());
    EXPECT_TRUE(about.rect().contains(about.OkButton().geometry()));
    OnNextModal([](QWidget& d) { qobject_cast<CAboutDlg*>(&d)->OkButton().click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

// A blue disc holding a yellow square holding a red triangle holding a green cross, on magenta.
TEST(Icon, BothSizesNestTheFourShapesSymmetrically) {
    const int large = kLargeIconId, small = kSmallIconId;
    const std::tuple<int, int, int, QRgb> points[] = {
        {large, 0, 0, kM},   {large, 16, 5, kB},  {large, 16, 6, kY},  {large, 16, 7, kR},
        {large, 16, 20, kG}, {large, 16, 25, kY}, {large, 16, 29, kB}, {large, 8, 18, kY},
        {large, 11, 18, kR}, {large, 12, 18, kG}, {small, 0, 0, kM},   {small, 8, 1, kB},
        {small, 8, 3, kY},   {small, 8, 5, kR},   {small, 8, 9, kG}};
    for (const int id : {large, small}) {
        const Picture p = DecodeBitmap(FindResource(kIconType, id)).value_or(Picture{});
        for (const auto& [icon, x, y, colour] : points) {
            EXPECT_TRUE(icon != id || p.At(x, y) == colour) << id << " at " << x << "," << y;
        }
        EXPECT_EQ(std::set(p.pixels.begin(), p.pixels.end()), (std::set{kM, kB, kY, kR, kG}));
        const QImage shown = IconPixmap(id).toImage();  // symmetric left to right
        EXPECT_TRUE(shown == shown.mirrored(true, false)) << id;
    }
}

}  // namespace tessaform::testing
