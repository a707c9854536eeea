// tessaform-e2e: plays the real game as a player would, on a private X screen.
//   tessaform-e2e --game PATH --sounds DIR --screen WIDTHxHEIGHT --out DIR
// Exit status 0 when every check held; the last line counts passes and failures.

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "Suite.h"

int main(int argc, char** argv) {
    // The suite's own fonts and images need no display; the game gets its own.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    tessaform::e2e::SuiteOptions options;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& value = args[i + 1];
        if (args[i] == "--game") {
            options.game = value;
        } else if (args[i] == "--sounds") {
            options.sounds = value;
        } else if (args[i] == "--out") {
            options.out = value;
        } else if (args[i] == "--screen") {
            const QStringList size = value.split('x');
            options.width = size.value(0).toInt();
            options.height = size.value(1).toInt();
        }
    }
    if (options.game.isEmpty() || options.sounds.isEmpty() || options.out.isEmpty() ||
        options.width <= 0 || options.height <= 0) {
        std::cerr
            << "usage: tessaform-e2e --game PATH --sounds DIR --screen WIDTHxHEIGHT --out DIR\n";
        return 2;
    }
    return tessaform::e2e::Suite(options).Run();
}
