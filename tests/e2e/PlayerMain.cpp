// tessaform-player: plays the game in progress on $DISPLAY to the end, as a player would.
// It reads the twelve blocks from a screenshot, matches every open block to the master
// in one or two moves each, in an order where no move makes two open blocks equal,
// and clicks the arrows with xdotool, checking each result on screen.

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "Checks.h"
#include "Player.h"

using namespace tessaform::e2e;

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::cerr << "tessaform-player: set DISPLAY to the screen the game runs on\n";
        return 2;
    }
    const QString target = QString::fromLocal8Bit(display);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    try {
        Desktop desktop(target);
        DigitReader digits;
        std::optional<Layout> layout;
        desktop.Await("a board", 30, [&](const Shot& shot) {
            layout = FindLayout(shot.image);
            return layout.has_value();
        });
        Table table = ReadTable(Screen(desktop.Capture().image, *layout, digits));
        for (int k = 0; k < kBlocks; ++k) {
            std::cout << "block " << k << ": " << table.code[static_cast<std::size_t>(k)] << "\n";
        }
        const auto moves = PlanMatches(table, table.OpenBlocks(), 0);
        if (!moves) {
            std::cerr << "tessaform-player: no order of moves avoids a collision\n";
            return 1;
        }
        for (const Move& move : *moves) {
            std::cout << "block " << move.block << ", arrow " << move.arrow << "\n";
        }
        PlayMoves(desktop, *layout, digits, table, *moves);
        std::cout << "all blocks matched with " << moves->size() << " moves, click cost "
                  << ClickCost(table) << "\n";
    } catch (const Abort& abort) {
        std::cerr << "tessaform-player: " << abort.what() << "\n";
        return 1;
    }
    return 0;
}
